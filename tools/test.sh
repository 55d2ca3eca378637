#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the same tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer, and with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

# Everything the stages below need, in one go (so that apt reads its lists once): GoogleTest and
# Google Benchmark; Openbox on a virtual display, Qt's Wayland platform and Debian's Wayland
# compositors with what drives them for the keyboard checks; the validators, dpkg-shlibdeps,
# lintian, patchelf and the accessibility bus for the install checks; clang for the fuzzers and
# ThreadSanitizer; MinGW-w64, Wine and NSIS for the Windows stage.
bash tools/install-deps.sh libgtest-dev libgmock-dev libbenchmark-dev python3 xvfb x11-utils \
  xdotool openbox qt6-wayland xwayland mutter kwin-wayland sway wtype plasma-wayland-protocols \
  libwayland-dev libwayland-bin python3-dbus desktop-file-utils appstream dpkg-dev lintian \
  patchelf binutils dbus-x11 at-spi2-core python3-pyatspi clang libclang-rt-14-dev \
  g++-mingw-w64-x86-64-posix googletest wine64 imagemagick unzip zip nsis
python3 tools/make_demo_data.py --check

cmake --preset default
cmake --build --preset default
ctest --preset default
bash tools/test-desktop.sh build/default
bash tools/test-install.sh

cmake --preset asan
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan
# Every thread of the program's making, under ThreadSanitizer: the core's and the windows' tests.
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
bash tools/fuzz.sh 40
bash tools/bench-smoke.sh build/default
bash tools/test-windows.sh
