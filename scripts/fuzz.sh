#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang (in build-fuzz/) and runs each for the
# given number of seconds (60 by default), two at a time. Each starts from its
# seeds in tests/fuzz/seeds and keeps what it finds in build-fuzz/corpus. A crash
# leaves its input in build-fuzz/artifacts and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
seconds=${1:-60}
targets=(fuzz_duration fuzz_ini fuzz_journal fuzz_storepath)

CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDIALMETER_FUZZ=ON \
  -DDIALMETER_TESTS=OFF -DDIALMETER_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

mkdir -p build-fuzz/artifacts
run() { # target
  mkdir -p "build-fuzz/corpus/$1"
  if build-fuzz/fuzz/"$1" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="build-fuzz/artifacts/$1-" -print_final_stats=1 \
      "build-fuzz/corpus/$1" "tests/fuzz/seeds/$1" >"build-fuzz/$1.log" 2>&1; then
    echo "$1: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/$1.log" | grep -o '[0-9]*$') runs in ${seconds} s, no crash"
  else
    echo "$1: FAILED"; tail -n 40 "build-fuzz/$1.log"; return 1
  fi
}
failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  run "${targets[i]}" & first=$!
  run "${targets[i + 1]}" || failed=1
  wait "$first" || failed=1
done
exit "$failed"
