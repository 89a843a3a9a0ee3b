#!/usr/bin/env bash
# The main job, from a fresh machine: installs what the demo needs and is
# missing, builds the libraries and the orvikfile program, and shows the
# library at work on files that it makes in a scratch directory. Set-up says
# one line per step; its output goes to build/demo-setup.log, shown when a
# step fails.
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p build
log=$PWD/build/demo-setup.log
: >"$log"

# Runs one set-up step with its output in the log.
setup() {
  local what=$1
  shift
  printf '%s ... ' "$what"
  if "$@" >>"$log" 2>&1; then
    echo done
  else
    echo failed
    tail -n 30 "$log"
    exit 1
  fi
}

# Only what a release build of the libraries and orvikfile takes, the
# "build" packages of scripts/packages.txt: no test, benchmark or GTK
# packages. The folder browser, which the demo does not show, is left out
# whether GTK is there or not, so that the build is the same on every
# machine (the test demo_packages configures it so too).
setup "installing the build's Debian packages (scripts/packages.txt)" scripts/install-deps.sh build
setup "configuring build/release" \
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF \
  -DORVIK_GTK_BROWSER=OFF
setup "building the libraries and orvikfile" cmake --build build/release -j "$(nproc)"
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
step records pack utf8.rec "café, naïve (UTF-8)"
step records dump --json --utf8 utf8.rec
head -c 30 notes.rec >cut.rec
step records dump cut.rec

echo
echo "== lines as FILE_ReadStr reads them"
printf 'alpha\r\nbeta\n\ngamma without a line end' >lines.txt
step lines lines.txt
step lines --max 4 lines.txt
step lines missing.txt
printf 'from a pipe\n' | step lines -
step records dump lines.txt

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
