#!/usr/bin/env bash
# Installs the Debian packages of the given purposes (scripts/packages.txt)
# that are missing. Without arguments: all but coverage, what the test
# command needs.
#
# Usage: scripts/install-deps.sh [PURPOSE...]   (build test fuzz coverage
#        reference packages)
#        scripts/install-deps.sh --list PURPOSE...   prints the packages only
set -euo pipefail
cd "$(dirname "$0")/.."

list=0
if [ "${1:-}" = "--list" ]; then
  list=1
  shift
fi
[ "$#" -gt 0 ] || set -- build test fuzz reference packages

# The packages of the purposes asked for, in the list's order.
selected=$(awk -v purposes=" $* " '
  /^[[:space:]]*(#|$)/ { next }
  index(purposes, " " $1 " ") { print $2; found[$1] = 1 }
  END {
    n = split(purposes, asked, " ")
    for (i = 1; i <= n; i++) if (!(asked[i] in found)) {
      print "install-deps: no purpose " asked[i] > "/dev/stderr"; exit 1
    }
  }' scripts/packages.txt)
mapfile -t packages <<<"$selected"
if [ "$list" -eq 1 ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

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
