#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A long run of the model test ("a month in the life"): many seeds, many events
# each. Usage: scripts/model-run.sh [seeds] [events per seed] [first seed] [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-5000}
events=${2:-400}
first=${3:-1}
build=${4:-build}
cmake --build "$build" --target tst_monthinlife >/dev/null
TMPDIR=$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}" ) \
  QTEST_FUNCTION_TIMEOUT=86400000 QT_QPA_PLATFORM=offscreen DIALMETER_MODEL_SEEDS=$seeds DIALMETER_MODEL_EVENTS=$events \
  DIALMETER_MODEL_FIRST_SEED=$first "$build/tests/tst_monthinlife"
