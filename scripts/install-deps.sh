#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when missing.
# With the argument "fuzz", also clang and its libFuzzer runtime; with
# "coverage", gcovr.
set -euo pipefail

packages=(
  cmake ninja-build g++ binutils   # the build, and nm for the export check
  libutf8proc-dev                  # Unicode case folding of file names
  libgtest-dev                     # unit tests
  clang-format clang-tidy          # style and static checks (scripts/lint.sh)
  libbenchmark-dev                 # benchmarks (built, not run, by the suite)
  libgtk-3-dev pkg-config          # the folder browser module (GTK 3)
  xvfb xauth xdotool imagemagick   # the browser's end-to-end test on a virtual display
  doxygen                          # the API reference (the docs target)
  dpkg-dev                         # dpkg-shlibdeps, for the Debian packages' dependencies
)
case "${1:-}" in
  fuzz) packages+=(clang-14 libclang-rt-14-dev) ;;  # libFuzzer and the sanitizers for clang
  coverage) packages+=(gcovr) ;;                    # scripts/coverage.sh
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
    missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
