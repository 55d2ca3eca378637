#!/usr/bin/env bash
# Builds Qt Base 6.4.2 for 64-bit Windows with Debian's MinGW-w64, from Debian's own qt6-base
# source package, and installs it where the windows-cross preset looks for it:
#   ${XDG_CACHE_HOME:-~/.cache}/sacotin/qt-6.4.2-windows-mingw64
# Does nothing when that folder already holds a Qt. About half an hour on 2 cores (see the README);
# needs root for the packages and the deb-src entry (or sudo). The project's CI uses a prebuilt
# copy instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

qt_name=qt-6.4.2-windows-mingw64
cache_dir=${XDG_CACHE_HOME:-$HOME/.cache}/sacotin
install_dir=$cache_dir/$qt_name
if [ -f "$install_dir/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  echo "Qt for Windows is already there: $install_dir"
  exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
started=$SECONDS
step() { echo "== build-qt-windows ($(((SECONDS - started) / 60)) min): $*"; }

# Debian's source packages: deb-src entries for the archives apt already takes binary packages
# from (one-line and deb822 formats alike). A stock Debian 12 has no /etc/apt/sources.list at
# all, only sources.list.d/debian.sources: a list file that is missing is no failure.
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  step "adding deb-src entries for apt's own archives"
  lists=$({ cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
    sed -n 's/^deb \(.*\)/deb-src \1/p')
  sources=$({ cat /etc/apt/sources.list.d/*.sources 2>/dev/null || true; } |
    sed 's/^Types: deb$/Types: deb-src/')
  [ -z "$lists" ] || echo "$lists" |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/sacotin-deb-src.list >/dev/null
  [ -z "$sources" ] || echo "$sources" |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/sacotin-deb-src.sources >/dev/null
  "${sudo_cmd[@]}" apt-get update -q
fi
step "installing MinGW-w64 and Qt's host tools"
bash tools/install-deps.sh dpkg-dev xz-utils g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 qt6-base-dev

work=$(mktemp -d "${TMPDIR:-/tmp}/sacotin-qt.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
step "downloading Debian's qt6-base source package"
apt-get source --download-only qt6-base
tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qtbase-everywhere-src-6.4.2*' | head -n 1)
[ -n "$source_dir" ] || { echo "qt6-base 6.4.2 sources not found" >&2; exit 1; }

# The toolchain Qt is configured with; it is installed with Qt and chain-loaded by its
# qt.toolchain.cmake.
cat >"$work/mingw-w64-x86_64-toolchain.cmake" <<'TOOLCHAIN'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN

# Only what Sacotin and its tests use. tabletevent needs wintab.h, which Debian's source lacks;
# dynamicgl does not build without OpenGL.
features_off=(sql network dbus opengl dynamicgl printsupport concurrent xml vulkan icu tabletevent
              system_zlib system_pcre2 system_harfbuzz system_freetype system_png system_jpeg)
feature_flags=()
for feature in "${features_off[@]}"; do feature_flags+=("-DFEATURE_$feature=OFF"); done

staging=$work/$qt_name
step "configuring Qt for Windows"
cmake -S "$source_dir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64-x86_64-toolchain.cmake" \
  -DCMAKE_INSTALL_PREFIX="$staging" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF \
  -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF "${feature_flags[@]}"
step "building Qt for Windows (the long part: about half an hour on 2 cores)"
cmake --build "$work/build"
step "installing it"
cmake --install "$work/build"
rm -rf "$staging/doc"
cp "$work/mingw-w64-x86_64-toolchain.cmake" "$staging/lib/cmake/Qt6/"
# Relocatable: the chain-loaded toolchain is found beside Qt's own toolchain file.
sed -i 's|^set(__qt_initially_configured_toolchain_file .*|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64-toolchain.cmake")|' \
  "$staging/lib/cmake/Qt6/qt.toolchain.cmake"

mkdir -p "$cache_dir"
rm -rf "$install_dir"
mv "$staging" "$install_dir"
step "Qt for Windows installed in $install_dir"
cd "$root"
