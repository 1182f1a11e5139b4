#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The source folders are layers, each using only those below it:
#   store ← language ← metering ← records, outlook ← console ← options, tray ← app, tools
# Folders on one line of that chain do not use each other. Names every include
# of src/ that goes against it, and fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"

rank() { # folder
  case $1 in
    store) echo 0 ;;
    language) echo 1 ;;
    metering) echo 2 ;;
    records | outlook) echo 3 ;;
    console) echo 4 ;;
    options | tray) echo 5 ;;
    app | tools) echo 6 ;;
    *) echo unknown ;;
  esac
}

wrong=0
while IFS= read -r -d '' file; do
  from=${file%%/*}
  from_rank=$(rank "$from")
  if [ "$from_rank" = unknown ]; then
    echo "$file: the folder $from is in no layer"
    wrong=1
    continue
  fi
  while IFS=: read -r line target; do
    to=${target%%/*}
    [ "$to" = "$from" ] && continue
    to_rank=$(rank "$to")
    if [ "$to_rank" = unknown ] || [ "$to_rank" -ge "$from_rank" ]; then
      echo "$file:$line: $from/ may not include $target"
      wrong=1
    fi
  done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]+/' "$file" \
             | sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/')
done < <(find . -path ./CMakeLists.txt -prune -o -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.h.in' \) -printf '%P\0')
exit "$wrong"
