#!/usr/bin/env bash
# Checks that scripts/packages.txt names, directly or through what its
# packages pull in, the Debian package of everything a configuration finds,
# so that a fresh machine that installs the list finds it too:
#  - this build's configuration, against the packages the test command
#    installs (scripts/install-deps.sh without purposes);
#  - the demo's release configuration (made here as scripts/demo.sh makes
#    it), against the "build" packages alone.
# What a configuration found is read from its CMakeCache.txt: the files of
# find_file, find_library and find_program (FILEPATH and PATH entries), the
# directories of find_package's configuration files (<Package>_DIR), and
# pkg-config's include directories and libraries. dpkg -S names the owner
# of each; a file that no package owns was installed by other means and is
# only noted (a fresh machine finds the listed package's copy instead).
# Exits 77 (skipped) where dpkg or apt-cache keeps no record.
#
# Usage: check_demo_packages.sh SOURCE_DIR BUILD_DIR WORK_DIR CMAKE GENERATOR
set -euo pipefail
source_dir=$1 build_dir=$2 work=$3 cmake=$4 generator=$5

if ! command -v dpkg >/dev/null || ! command -v apt-cache >/dev/null; then
  echo "no dpkg or apt-cache here: nothing to check against"
  exit 77
fi

# The packages of the given purposes and all they depend on, as installed,
# and those that every Debian system has (priority required: apt, dpkg,
# coreutils, ...; a minimal root is made of them).
closure() {
  local listed
  mapfile -t listed < <("$source_dir/scripts/install-deps.sh" --list "$@")
  {
    apt-cache depends --recurse --installed --no-recommends --no-suggests \
      --no-conflicts --no-breaks --no-replaces --no-enhances "${listed[@]}" |
      sed -n 's/^<\{0,1\}\([^ <>]*\)>\{0,1\}$/\1/p'
    dpkg-query -W -f='${Package} ${Priority}\n' | sed -n 's/ required$//p'
  } | sort -u
}

# What a configuration found, one path a line: files, and the directories
# of package configurations and pkg-config's include directories (a list's
# later items are taken as either).
found_in() {
  sed -n -e 's/^[^#/][^:]*_DIR:PATH=\(\/.*\)$/dir \1/p' \
    -e 's/^[^#/][^:]*:\(FILEPATH\|PATH\)=\(\/.*\)$/\2/p' \
    -e 's/^[^#/][^:]*_INCLUDE_DIRS:INTERNAL=\(\/.*\)$/dir \1/p' \
    -e 's/^[^#/][^:]*_\(LINK_LIBRARIES\|EXECUTABLE\):INTERNAL=\(\/.*\)$/\2/p' "$1" |
    sed 's/;/\ndir /g' | sort -u | while read -r path; do
    case $path in
      "dir $source_dir"/* | "dir $build_dir"/* | "dir $work"/*) ;;
      "$source_dir"/* | "$build_dir"/* | "$work"/*) ;;
      "dir "*) if [ -e "${path#dir }" ]; then echo "${path#dir }"; fi ;;
      *) if [ -f "$path" ]; then echo "$path"; fi ;;
    esac
  done | sort -u
}

# check CACHE PURPOSE...: every path CACHE found is owned by one of the
# packages of the purposes, or what they pull in.
status=0
check() {
  local cache=$1 pulled found path owner package ok line
  shift
  pulled=$(closure "$@")
  mapfile -t found < <(found_in "$cache")
  [ "${#found[@]}" -gt 0 ] || { echo "nothing found in $cache"; status=1; return; }
  echo "== $cache against the packages of: $*"
  # The owners, comma-separated, of every path at once ("owners: path");
  # a link that belongs to no package (an alternative) is asked about
  # through what it points at.
  local -A owners=()
  while IFS= read -r line; do
    owners[${line#*: }]=${line%%: /*}
  done < <(dpkg -S "${found[@]}" 2>/dev/null || true)
  for path in "${found[@]}"; do
    owner=${owners[$path]:-}
    if [ -z "$owner" ]; then
      line=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null | head -1 || true)
      owner=${line%%: /*}
    fi
    if [ -z "$owner" ]; then
      echo "note     $path: installed by no Debian package"
      continue
    fi
    ok=0
    for package in ${owner//,/ }; do
      grep -qx "${package%%:*}" <<<"$pulled" && ok=1 && break
    done
    if [ "$ok" -eq 1 ]; then
      echo "ok       $path ($owner)"
    else
      echo "MISSING  $path: $owner, not among those packages (scripts/packages.txt) or what they pull in"
      status=1
    fi
  done
}

check "$build_dir/CMakeCache.txt" build test fuzz reference packages

# The demo's options; Doxygen is kept out, since the reference is no part of
# the demo's build (without it there is no docs target, nothing fails).
rm -rf "$work"
"$cmake" -S "$source_dir" -B "$work" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
  -DORVIK_BUILD_TESTS=OFF -DORVIK_GTK_BROWSER=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Doxygen=ON \
  >"$work.log" 2>&1 ||
  { cat "$work.log"; exit 1; }
check "$work/CMakeCache.txt" build
exit "$status"
