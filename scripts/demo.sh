#!/usr/bin/env bash
# The main job, from a fresh machine: installs what is missing, builds the
# libraries and the orvikfile program, and shows the library at work on files
# that it makes in a scratch directory.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
orvikfile=$PWD/build/release/tools/orvikfile

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Shows a command line, runs it, and shows a failure's exit status; the demo
# goes on either way, since failures are part of what it shows.
step() {
  printf '\n$ orvikfile'
  printf ' %q' "$@"
  printf '\n'
  local status=0
  "$orvikfile" "$@" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "[exit status $status]"
  fi
}

echo "== counted string records"
step records pack notes.rec "first note" "" "tab	inside" "caf$(printf '\xe9') (Latin-1)"
od -A d -t x1 notes.rec | head -3
step records dump notes.rec
step records dump --json notes.rec
head -c 30 notes.rec >cut.rec
step records dump cut.rec

echo
echo "== lines as FILE_ReadStr reads them"
printf 'alpha\r\nbeta\n\ngamma without a line end' >lines.txt
step lines lines.txt
step lines --max 4 lines.txt
step lines missing.txt

echo
echo "== path names, in the library's own form"
step path join "$PWD" "  notes.txt  "
step path join "c:/Program Files/Orvik" 'data\\report.txt'
step path suffix report.txt
step path suffix report.txt html
step path shrink 'C:\PROGRAM FILES\ORVIK\DATA\2026\REPORT.TXT' 32
step path shrink 'C:\PROGRAM FILES\ORVIK\DATA\2026\REPORT.TXT' 0
step home

echo
echo "== names"
step exists notes.rec
step mkdir archive
step mkdir archive
step rm cut.rec
step rm cut.rec
