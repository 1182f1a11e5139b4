#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the images in resources/images again (after a change to their drawing).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target dialmeter-make-images
QT_QPA_PLATFORM=offscreen build/bin/dialmeter-make-images resources/images
