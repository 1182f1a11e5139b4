#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes the README's screenshots again: runs the desktop test (the meter on Xvfb
# with openbox and a tray host, on a 1024x768 screen) and cuts the console, the
# tray menu and the first start's Options dialog out of its screenshots into
# docs/screenshots, with the period outlook and the chart of the year as the
# window manager frames them.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/deps.sh
install_missing "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build -j "$(nproc)" --target dialmeter dialmeter-store dialmeter-chart dialmeter-test-notifications
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
bash tests/desktop/tst_desktop.sh build/bin/dialmeter build/bin/dialmeter-store "$shots"

mkdir -p docs/screenshots
# The console sits at the top right corner, below the tray; the dialog is centred.
convert "$shots/console-and-icon.png" -crop 300x140+724+0 +repage docs/screenshots/console.png
convert "$shots/menu-outlook.png" -crop 300x170+724+0 +repage docs/screenshots/menu.png
convert "$shots/first-start.png" -crop 476x380+274+186 +repage docs/screenshots/options.png
cp "$shots/outlook.png" docs/screenshots/outlook.png
cp "$shots/chart.png" docs/screenshots/chart.png
echo "Screenshots in docs/screenshots"
