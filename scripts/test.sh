#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test, twice: in a normal build and in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target
# for a minute, and the Windows layer's test (cross-built, under Wine). Installs
# what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

jobs=$(nproc)
run_suite() { # build folder, extra cmake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_suite build
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/scripts/lsan.supp" \
  run_suite build-asan -DDIALMETER_SANITIZE=ON
bash scripts/fuzz.sh 60
bash tests/windows/run
