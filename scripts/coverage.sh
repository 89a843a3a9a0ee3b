#!/usr/bin/env bash
# Line and branch coverage of src/ by the test suite: an instrumented Debug
# build in build/coverage, the whole suite, then gcovr's summary. Branches
# that only a thrown exception takes, and branches the compiler proves
# unreachable, are left out of the count (gcovr's --exclude-throw-branches
# and --exclude-unreachable-branches). The GTK browser module is counted
# apart: its dialog runs only on a display, in one end-to-end test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh build test coverage

build=build/coverage
# Counters are updated atomically: several tests start threads.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="--coverage -fprofile-update=atomic" -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage -DCMAKE_MODULE_LINKER_FLAGS=--coverage \
  -DORVIK_INSTALL=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
find "$build" -name "*.gcda" -delete
rm -f "$build"/CMakeFiles/*/CompilerIdCXX/*.gcno  # the compiler check is no source of ours
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure >/dev/null

summary() {
  gcovr --root . --object-directory "$build" --exclude-throw-branches \
    --exclude-unreachable-branches "$@"
}
echo "== src/, the GTK module apart"
summary --filter 'src/' --exclude 'src/afx/gtk_browser.cpp' --print-summary --txt "$build/coverage-src.txt"
echo "== the GTK module"
summary --filter 'src/afx/gtk_browser.cpp' --print-summary --txt "$build/coverage-gtk.txt"
