#!/usr/bin/env bash
# A long run of the hostile neighbour (tests/afx/hostile_neighbour_test.cpp):
# between the library's calls, a neighbour renames, exchanges, replaces and
# links entries of a mapped drive, over many seeds. The suite
# runs one short seed; this runs ROUNDS rounds (default 500) of each seed
# from FIRST (default 1) to LAST (default 20), plainly and under
# AddressSanitizer with UndefinedBehaviorSanitizer. A failure names the seed
# and round that replay it:
#   ORVIK_HOSTILE_SEED=7 ORVIK_HOSTILE_ROUNDS=500 build/plain/tests/afx_tests --gtest_filter='Hostile*'
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

rounds=${ROUNDS:-500} first=${FIRST:-1} last=${LAST:-20}
for build in plain sanitize; do
  options=()
  [ "$build" = sanitize ] && options=(-DORVIK_SANITIZERS=address,undefined)
  cmake -S . -B "build/$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${options[@]}" >/dev/null
  cmake --build "build/$build" -j "$(nproc)" --target afx_tests
  for seed in $(seq "$first" "$last"); do
    echo "== $build, seed $seed, $rounds rounds"
    ORVIK_HOSTILE_SEED=$seed ORVIK_HOSTILE_ROUNDS=$rounds \
      "build/$build/tests/afx_tests" --gtest_filter='HostileNeighbour.*' --gtest_brief=1
  done
done
