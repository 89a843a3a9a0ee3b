#!/usr/bin/env bash
# The main job, from a fresh machine: installs what is missing, builds the
# libraries and runs a short tour of them in a scratch directory.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
build/release/orvik_tour "$scratch/tour"
