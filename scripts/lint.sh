#!/usr/bin/env bash
# Style and static checks over the project's own sources; fails on any
# finding. clang-format checks every C/C++ file against .clang-format;
# clang-tidy checks the .cpp files of src/ and tools/ with .clang-tidy,
# reading the compile commands of a configured build.
#
# Usage: scripts/lint.sh [BUILD_DIR]   (default build/plain; configured here
# when it has no compile_commands.json yet)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/plain}
jobs=$(nproc)

echo "== clang-format"
git ls-files -z --cached --others --exclude-standard -- \
  'include/*.h' 'include/*.hpp' 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' 'tools/*.h' 'tools/*.cpp' \
  'bench/*.h' 'bench/*.cpp' 'fuzz/*.h' 'fuzz/*.cpp' 'examples/*.h' 'examples/*.cpp' |
  xargs -0 clang-format --dry-run --Werror

echo "== clang-tidy"
if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
fi
# Every finding is an error here, whatever .clang-tidy leaves as a warning.
# clang-tidy also counts, on stderr, the warnings it generated and
# suppressed (in system headers, by NOLINT): those counts are dropped, so
# that a clean run prints nothing and a finding shows alone.
tidy() {
  local output status=0
  output=$(clang-tidy -p "$build" --quiet --warnings-as-errors='*' "$@" 2>&1) || status=$?
  grep -Ev '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter=|^Use -system-headers' \
    <<<"$output" || true
  return "$status"
}
export -f tidy
export build
git ls-files -z --cached --others --exclude-standard -- 'src/*.cpp' 'tools/*.cpp' |
  xargs -0 -n 4 -P "$jobs" bash -c 'tidy "$@"' tidy
echo "lint: clean"
