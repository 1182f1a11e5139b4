#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the meter and runs it, installing whatever is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target dialmeter dialmeter-store
exec build/bin/dialmeter "$@"
