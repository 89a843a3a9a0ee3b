#!/usr/bin/env bash
# Configures the release build as scripts/demo.sh does, takes every file the
# configuration found (headers, libraries, the compiler and its tools: the
# PATH and FILEPATH entries of CMakeCache.txt), asks dpkg which package owns
# each, and fails when the "build" packages of scripts/packages.txt, with
# what they depend on, leave one out: a fresh machine that installs only
# those would not find it.
#
# Usage: check_demo_packages.sh SOURCE_DIR WORK_DIR CMAKE GENERATOR
set -euo pipefail
source_dir=$1 work=$2 cmake=$3 generator=$4

# The demo's options; Doxygen is kept out, since the reference is no part of
# the demo's build (without it there is no docs target, nothing fails).
rm -rf "$work"
"$cmake" -S "$source_dir" -B "$work" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
  -DORVIK_BUILD_TESTS=OFF -DORVIK_GTK_BROWSER=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON \
  >"$work.log" 2>&1 ||
  { cat "$work.log"; exit 1; }

mapfile -t listed < <("$source_dir/scripts/install-deps.sh" --list build)
# The listed packages and everything they pull in, as installed here.
closure=$(apt-cache depends --recurse --installed --no-recommends --no-suggests \
  --no-conflicts --no-breaks --no-replaces --no-enhances "${listed[@]}" |
  sed -n 's/^<\{0,1\}\([^ <>]*\)>\{0,1\}$/\1/p' | sort -u)

# Files outside the source and build trees that the configuration found.
mapfile -t found < <(sed -n 's/^[^#/][^:]*:\(FILEPATH\|PATH\)=\(\/.*\)$/\2/p' "$work/CMakeCache.txt" |
  while read -r file; do
    [ -f "$file" ] || continue
    case $file in "$source_dir"/* | "$work"/*) continue ;; esac
    echo "$file"
  done | sort -u)
[ "${#found[@]}" -gt 0 ] || { echo "no file found in $work/CMakeCache.txt"; exit 1; }

status=0
for file in "${found[@]}"; do
  # An alternative or other link belongs to no package; what it points at does.
  owner=$(dpkg -S "$file" 2>/dev/null || dpkg -S "$(readlink -f "$file")" 2>/dev/null || true)
  owner=${owner%%: /*}
  if [ -z "$owner" ]; then
    echo "MISSING  $file: no Debian package owns it"
    status=1
    continue
  fi
  missing=""
  for package in ${owner//,/ }; do
    grep -qx "${package%%:*}" <<<"$closure" || missing+=" ${package%%:*}"
  done
  if [ -n "$missing" ]; then
    echo "MISSING  $file: package$missing, not among the build packages (scripts/packages.txt) or what they pull in"
    status=1
  else
    echo "ok       $file ($owner)"
  fi
done
exit "$status"
