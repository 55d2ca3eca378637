#!/usr/bin/env bash
# Tests the Windows build of the registry and catalogue readers under Wine, and checks that the
# Windows registry functions and the user.reg reader see the same game data:
#   1. cross-builds the core tests with MinGW-w64 (preset mingw-core) and the Linux tests
#      (preset default);
#   2. makes a fresh Wine prefix whose registry Wine itself writes from
#      tests/data/registry/conformance-tree.utf8.reg (regedit) and
#      tests/support/write_raw_strings_win32.cpp (string values regedit can't write);
#   3. runs every core test under Wine: the registry conformance tests read through advapi32;
#   4. lets Wine save the prefix's user.reg, then runs the same conformance tests of the Linux
#      build on it;
#   5. compares the listings both runs printed;
#   6. compiles the Windows resource script.
# Ends with the line "N passed, M failed" and a non-zero status when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/install-deps.sh g++-mingw-w64-x86-64-posix googletest wine64

started=$SECONDS
# The build folders of the presets, unless others are given.
mingw_dir=${SACOTIN_MINGW_BUILD_DIR:-$root/build/mingw-core}
native_dir=${SACOTIN_NATIVE_BUILD_DIR:-$root/build/default}
cmake --preset mingw-core -B "$mingw_dir" >/dev/null
cmake --build "$mingw_dir"
cmake --preset default -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target sacotin_tests
mingw_tests=$mingw_dir/tests/sacotin_core_tests.exe
native_tests=$native_dir/tests/sacotin_tests

cxx=$(command -v x86_64-w64-mingw32-g++-posix || command -v x86_64-w64-mingw32-g++)
# The loader and server of Debian's wine64 package (no need for the wrapper scripts).
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

work=$(mktemp -d /tmp/sacotin-wine.XXXXXX)
export WINEPREFIX=$work/prefix
# Console programs only: no display, no Wine debug output, no Mono or Gecko set-up.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
# Code page 1252 for Wine and for the Linux reader alike.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "== Wine prefix with the conformance tree ($WINEPREFIX)"
"$cxx" -O1 -Wall -Wextra -static -o "$work/write_raw_strings.exe" \
  tests/support/write_raw_strings_win32.cpp
"$wine" wineboot -i >/dev/null 2>&1
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE tests/data/registry/conformance-tree.utf8.reg
} >"$work/conformance-tree.reg"
"$wine" regedit /S "Z:${work//\//\\}\\conformance-tree.reg"
"$wine" "$work/write_raw_strings.exe"

echo "== Core tests of the Windows build, under Wine"
windows_status=0
SACOTIN_REGISTRY_CONFORMANCE=1 "$wine" "$mingw_tests" >"$work/windows.out" 2>&1 ||
  windows_status=$?
tr -d '\r' <"$work/windows.out" >"$work/windows.txt"
grep -E '^\[ *(OK|FAILED|SKIPPED) *\]|^\[==========\]|^[^ ]*:[0-9]+: Failure' "$work/windows.txt" ||
  true

echo "== Registry conformance tests of the Linux build, on the prefix's user.reg"
"$wineserver" -w # Wine saves user.reg when its server stops.
linux_status=0
SACOTIN_REGISTRY_CONFORMANCE=1 QT_QPA_PLATFORM=offscreen "$native_tests" \
  --gtest_filter='RegistryConformance.*' >"$work/linux.txt" 2>&1 || linux_status=$?
grep -E '^\[ *(OK|FAILED|SKIPPED) *\]|^\[==========\]|^[^ ]*:[0-9]+: Failure' "$work/linux.txt" ||
  true

# A test's own result line carries its duration: "[       OK ] Suite.Name (3 ms)".
count() { grep -cE "^\[ *$1 *\] .* \([0-9]+ ms\)$" "$2" || true; }
passed=$(($(count OK "$work/windows.txt") + $(count OK "$work/linux.txt")))
failed=$(($(count FAILED "$work/windows.txt") + $(count FAILED "$work/linux.txt")))
skipped=$(($(count SKIPPED "$work/windows.txt") + $(count SKIPPED "$work/linux.txt")))
# A crash or a run that never started counts as a failure of its own.
[ "$windows_status" -eq 0 ] || [ "$(count FAILED "$work/windows.txt")" -gt 0 ] || failed=$((failed + 1))
[ "$linux_status" -eq 0 ] || [ "$(count FAILED "$work/linux.txt")" -gt 0 ] || failed=$((failed + 1))
[ "$(count OK "$work/linux.txt")" -gt 0 ] || { echo "the Linux run ran no conformance test"; failed=$((failed + 1)); }

echo "== Both runs list the same accounts, characters, item numbers and values"
listings() { sed -n '/^---- .* ----$/,/^---- end ----$/p' "$1"; }
listings "$work/windows.txt" >"$work/windows.listing"
listings "$work/linux.txt" >"$work/linux.listing"
if [ -s "$work/windows.listing" ] && diff -u "$work/windows.listing" "$work/linux.listing"; then
  echo "identical ($(wc -l <"$work/windows.listing") lines)"
  passed=$((passed + 1))
else
  echo "the listings differ (or are missing)"
  failed=$((failed + 1))
fi

echo "== The Windows resource script compiles"
windres=$(command -v x86_64-w64-mingw32-windres)
if "$windres" -I resources resources/sacotin.rc -O coff -o "$work/sacotin.res.o"; then
  echo "resources/sacotin.rc: ok"
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "Windows tests under Wine took $((SECONDS - started)) s"
echo "windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
