#!/usr/bin/env bash
# The Debian packages and the static build, as a host meets them:
#  1. builds the API reference (Doxygen's warnings are errors) and the
#     packages (cpack), runs lintian on them (errors and warnings
#     fail: a copyright file in each, the manual page compressed, binaries
#     stripped, ...), checks their dependencies, unpacks them into
#     a scratch root and builds both example hosts there through
#     find_package(OrvikFILE), and the C host through pkg-config;
#  2. builds the libraries static, installs them, builds the C host through
#     find_package and through a plain `pkg-config --libs`, and checks that
#     no host links an Orvik shared library.
# Release builds without tests, in build/package and build/static.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
jobs=$(nproc)
work=$top/build/package-check
scripts/install-deps.sh build reference packages
rm -rf "$work"
mkdir -p "$work/scratch"

step() { echo "-- $*"; }
fail() { echo "package-test: $*" >&2; exit 1; }
configure() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF "$@" >/dev/null
}
# Builds an example host against a prefix and runs it in the scratch directory.
build_host() {
  local example=$1 prefix=$2 out=$work/$1-$3
  cmake -S "examples/$example" -B "$out" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$out" >/dev/null
  "$out/orvik_${example}" "$work/scratch" | tail -1
}

step "packages"
configure build/package -DCMAKE_INSTALL_PREFIX=/usr
cmake --build build/package -j "$jobs" >/dev/null
# The API reference that the packages carry; Doxygen's warnings fail it.
cmake --build build/package --target docs
rm -rf build/package/packages
(cd build/package && cpack -G DEB >/dev/null)
step "lintian"
lintian --fail-on error,warning --no-tag-display-limit build/package/packages/*.deb ||
  fail "lintian finds errors or warnings in the packages"
version=$(sed -n 's/^#define ORVIK_FILE_VERSION_STRING "\(.*\)"/\1/p' \
  build/package/include/OrvikFILE_Version.h)
root=$work/root
# The program's package last: the hosts must build without it.
for deb in build/package/packages/*.deb; do
  echo "   $(basename "$deb"): $(dpkg-deb -f "$deb" Depends)"
  [[ $(basename "$deb") == orvikfile_* ]] || dpkg-deb -x "$deb" "$root"
done
depends() { dpkg-deb -f build/package/packages/"$1"_"$version"_*.deb Depends; }
depends liborvikfile-lib1 | grep -q 'libc6' || fail "liborvikfile-lib1 does not depend on libc6"
depends liborvikfile-lib1 | grep -q 'libstdc++6' || fail "liborvikfile-lib1 does not depend on libstdc++6"
for package in liborvikfile-dev orvikfile; do
  depends $package | grep -q "liborvikfile-lib1 (= $version)" ||
    fail "$package does not depend on liborvikfile-lib1 $version"
done
if ls build/package/packages/liborvikfile-gtk_* >/dev/null 2>&1; then
  depends liborvikfile-gtk | grep -q 'libgtk-3-0' || fail "liborvikfile-gtk does not depend on GTK"
fi
libdir=$(dirname "$(find "$root" -name 'libOrvikFILE_Lib.so.1' | head -1)")
[ -f "$root/usr/share/doc/OrvikFILE/html/index.html" ] || fail "no API reference in the packages"

step "hosts built against the unpacked library packages"
export LD_LIBRARY_PATH=$libdir
build_host host "$root/usr" package
build_host cpp_host "$root/usr" package
dpkg-deb -x build/package/packages/orvikfile_"$version"_*.deb "$root"
"$root/usr/bin/orvikfile" --version | grep -qx "orvikfile $version" || fail "orvikfile --version"
if command -v pkg-config >/dev/null; then
  export PKG_CONFIG_PATH=$libdir/pkgconfig
  # shellcheck disable=SC2046
  g++ -std=c++17 examples/host/main.cpp $(pkg-config --cflags --libs orvikfile) -o "$work/host-pc"
  "$work/host-pc" "$work/scratch" | tail -1
fi
unset LD_LIBRARY_PATH

step "static build"
configure build/static -DBUILD_SHARED_LIBS=OFF -DORVIK_BUILD_TOOLS=OFF
cmake --build build/static -j "$jobs" >/dev/null
cmake --install build/static --prefix "$work/static" >/dev/null
build_host host "$work/static" static
build_host cpp_host "$work/static" static
# The host's machine finds utf8proc itself: no path of this machine's.
if grep -q '/libutf8proc' "$work"/static/lib*/cmake/OrvikFILE/OrvikFILETargets*.cmake; then
  fail "the static CMake package names this machine's libutf8proc"
fi
if command -v pkg-config >/dev/null; then
  mkdir -p "$work/host-static-pc"
  # shellcheck disable=SC2046
  g++ -std=c++17 examples/host/main.cpp \
    $(PKG_CONFIG_PATH=$(echo "$work"/static/lib*/pkgconfig) pkg-config --cflags --libs orvikfile) \
    -o "$work/host-static-pc/orvik_host"
  "$work/host-static-pc/orvik_host" "$work/scratch" | tail -1
fi
for host in host-static/orvik_host cpp_host-static/orvik_cpp_host host-static-pc/orvik_host; do
  [ -e "$work/$host" ] || continue
  if readelf -d "$work/$host" | grep NEEDED | grep -q Orvik; then
    fail "$host links an Orvik shared library"
  fi
done
echo "package-test: ok"
