#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build, then the same tests
# built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

# GoogleTest and Google Benchmark; the validators, dpkg-shlibdeps and lintian for the install
# tree and the Debian package.
bash tools/install-deps.sh libgtest-dev libgmock-dev libbenchmark-dev python3 desktop-file-utils \
  appstream dpkg-dev lintian
python3 tools/make_demo_data.py --check

cmake --preset default
cmake --build --preset default
ctest --preset default
bash tools/test-desktop.sh build/default

cmake --preset asan
cmake --build --preset asan
ASAN_OPTIONS=detect_leaks=0 ctest --preset asan
bash tools/fuzz.sh 40
bash tools/bench-smoke.sh build/default
bash tools/test-windows.sh
