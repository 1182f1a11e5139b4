#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package in build-release/ (a Release build installed under
# /usr), installing whatever is missing. Install it with
#   apt install ./build-release/dialmeter_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DDIALMETER_TESTS=OFF -DDIALMETER_BENCH=OFF >/dev/null
cmake --build build-release -j "$(nproc)"
(cd build-release && cpack)
