#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source and script file of the repository starts with its licence line:
# C++, CMake and Python files on line 1, scripts right after their "#!" line.
#   scripts/spdx.sh        names each file that lacks it and fails
#   scripts/spdx.sh --add  adds it to those files, changing nothing else
set -euo pipefail
cd "$(dirname "$0")/.."
licence='SPDX-License-Identifier: GPL-3.0-or-later'
add=no
[ "${1:-}" = --add ] && add=yes

# The line a file should hold, and after which line (0: first), or nothing when
# the file is neither source nor script.
expected_line() { # file
  case $1 in
    *.cpp | *.h | *.h.in) echo "0 // $licence" ;;
    *.py | *.cmake | CMakeLists.txt | */CMakeLists.txt) echo "0 # $licence" ;;
    *) [ "$(head -c 2 "$1" | tr -d '\0')" = '#!' ] && echo "1 # $licence" ;;
  esac
  return 0
}

# The files git knows or would add: those another branch brings are checked too.
git rev-parse --is-inside-work-tree >/dev/null 2>&1 || { echo "SKIP: not a git checkout"; exit 77; }
missing=0
while IFS= read -r -d '' file; do
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  expected=$(expected_line "$file")
  [ -n "$expected" ] || continue
  after=${expected%% *} line=${expected#* }
  [ "$(sed -n "$((after + 1))p" "$file")" = "$line" ] && continue
  if [ $add = yes ]; then
    if [ "$after" -eq 0 ]; then
      sed -i "1i\\$line" "$file"
    else
      sed -i "${after}a\\$line" "$file"
    fi
  else
    echo "$file: line $((after + 1)) is not \"$line\""
    missing=$((missing + 1))
  fi
done < <(git ls-files -z --cached --others --exclude-standard)
[ "$missing" -eq 0 ] || { echo "$missing files lack their licence line (scripts/spdx.sh --add adds it)"; exit 1; }
