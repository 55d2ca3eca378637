#!/usr/bin/env bash
# Tests the Windows program under Wine:
#   1. cross-builds Sacotin.exe and its tests for 64-bit Windows (preset windows-cross, Qt for
#      Windows as cmake/windows-cross.cmake finds it) and the Linux tests (preset default);
#   2. makes a fresh Wine prefix whose registry Wine itself writes from
#      tests/data/registry/conformance-tree.utf8.reg (regedit) and
#      tests/support/write_raw_strings_win32.cpp (string values regedit can't write);
#   3. runs every core and GUI test of the Windows build under Wine (Qt's offscreen platform;
#      the registry conformance tests read the prefix through advapi32), then the tests that
#      need real windows on a virtual X display;
#   4. lets Wine save the prefix's user.reg, runs the same conformance tests of the Linux build
#      on it and compares the listings both runs printed;
#   5. packages the program (tools/package-windows.sh), unzips it alone into a fresh folder and
#      starts Sacotin.exe from another folder on the virtual display: its main window must
#      appear, titled "Sacotin", and stay up; a screenshot is kept;
#   6. checks the installer in a fresh prefix (tests/install/check_windows_installer.sh).
# Ends with the line "windows: N passed, M failed" and a non-zero status when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/install-deps.sh g++-mingw-w64-x86-64-posix googletest wine64 xvfb x11-utils \
  imagemagick unzip zip libgtest-dev libgmock-dev libbenchmark-dev python3

# The places cmake/windows-cross.cmake takes Qt for Windows from. With none of them (a checkout
# alone, without ../shared), the recipe builds it once into the cache.
cached_qt=${XDG_CACHE_HOME:-$HOME/.cache}/sacotin/qt-6.4.2-windows-mingw64
if [ -z "${SACOTIN_QT_WINDOWS:-}" ] && [ ! -f "$cached_qt/lib/cmake/Qt6/qt.toolchain.cmake" ] &&
  [ ! -f "$root/../shared/toolchains/qt-6.4.2-windows-mingw64.tar.xz" ]; then
  echo "== No Qt for Windows yet: building it with tools/build-qt-windows.sh, once (it is kept in"
  echo "   $cached_qt). This takes about half an hour on 2 cores."
  qt_started=$SECONDS
  bash tools/build-qt-windows.sh
  echo "== Qt for Windows built in $(((SECONDS - qt_started) / 60)) minutes"
fi

started=$SECONDS
windows_dir=${SACOTIN_WINDOWS_BUILD_DIR:-$root/build/windows-cross}
native_dir=${SACOTIN_NATIVE_BUILD_DIR:-$root/build/default}
cmake --preset windows-cross -B "$windows_dir" >/dev/null
cmake --build "$windows_dir"
cmake --preset default -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target sacotin_tests
windows_tests=$windows_dir/tests/sacotin_tests.exe
native_tests=$native_dir/tests/sacotin_tests
qt_dir=$(realpath "$(sed -n 's/^Qt6_DIR:PATH=//p' "$windows_dir/CMakeCache.txt")/../../..")

cxx=$(command -v x86_64-w64-mingw32-g++-posix)
# The loader and server of Debian's wine64 package (no need for the wrapper scripts).
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

work=$(mktemp -d /tmp/sacotin-wine.XXXXXX)
export WINEPREFIX=$work/prefix
# No Wine debug output, no Mono or Gecko set-up.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WAYLAND_DISPLAY
# Code page 1252 for Wine and for the Linux reader alike.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
xvfb_pid=""
app_pid=""
source tools/virtual-display.sh
cleanup() {
  # shellcheck disable=SC2086 # empty ids are left out
  stop_processes $app_pid $xvfb_pid
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# The test programs find Qt's DLLs and MinGW's runtime through WINEPATH; Qt finds its plug-ins
# from the folder of Qt6Core.dll.
runtime_dir=$(dirname "$("$cxx" -print-file-name=libstdc++-6.dll)")
export WINEPATH="$(windows_path "$qt_dir/bin");$(windows_path "$runtime_dir");$(windows_path /usr/x86_64-w64-mingw32/lib)"

passed=0 failed=0 skipped=0
# A test's own result line carries its duration: "[       OK ] Suite.Name (3 ms)".
count() { grep -cE "^\[ *$1 *\] .* \([0-9]+ ms\)$" "$2" || true; }
# Adds a GoogleTest run's results; a run that crashed or never started counts as a failure.
tally() {
  local output=$1 status=$2
  # Every result, and under a skip or a failure the lines that give its reason.
  grep -E -A1 '^\[ *(OK|FAILED|SKIPPED) *\]|^\[==========\]|^[^ ]*:[0-9]+: (Failure|Skipped)$' \
    "$output" | grep -vE '^(--|\[ RUN +\].*)$' || true
  passed=$((passed + $(count OK "$output")))
  failed=$((failed + $(count FAILED "$output")))
  skipped=$((skipped + $(count SKIPPED "$output")))
  if [ "$status" -ne 0 ] && [ "$(count FAILED "$output")" -eq 0 ]; then
    echo "the run ended with status $status"
    failed=$((failed + 1))
  fi
  if [ "$(count OK "$output")" -eq 0 ]; then
    echo "the run passed no test"
    failed=$((failed + 1))
  fi
}
run_windows_tests() {
  local name=$1
  shift
  local status=0
  SACOTIN_REGISTRY_CONFORMANCE=1 "$wine" "$windows_tests" "$@" >"$work/$name.out" 2>&1 || status=$?
  tr -d '\r' <"$work/$name.out" >"$work/$name.txt"
  tally "$work/$name.txt" "$status"
}

# A virtual X display for the whole run: Wine's desktop, started with the prefix, draws there
# (one started without a display would never show a window).
start_virtual_display

echo "== Wine prefix with the conformance tree ($WINEPREFIX)"
"$cxx" -O1 -Wall -Wextra -static -o "$work/write_raw_strings.exe" \
  tests/support/write_raw_strings_win32.cpp
"$wine" wineboot -i >/dev/null 2>&1
{
  printf '\xff\xfe'
  iconv -f UTF-8 -t UTF-16LE tests/data/registry/conformance-tree.utf8.reg
} >"$work/conformance-tree.reg"
"$wine" regedit /S "$(windows_path "$work/conformance-tree.reg")"
"$wine" "$work/write_raw_strings.exe"

echo "== Core and GUI tests of the Windows build, under Wine (offscreen)"
run_windows_tests windows -platform offscreen
echo "Not built for Windows (they read a Wine prefix's user.reg with the Linux reader, or use"
echo "named pipes, /dev or /proc; the same window code runs in every test above):"
sed 's/^/  skipped: /' "$windows_dir/tests/linux-only-tests.txt"

echo "== Windows tests that need real windows, on the virtual X display"
# Windows' dark mode asked for: Qt 6.4's Windows style keeps its light palette all the same, so
# the windows' colours must be exactly the layout's.
"$wine" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
  /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null
fonts_and_images='DialogsTest.EveryTextHasTheLayoutsFontAtThisScaling'
# Where the keyboard goes as Help, About and the modes open (the window manager's part).
keyboard='HelpWindowTest.OkButtonHoldsTheFocusAndEnterPressesIt:AboutWindowTest.EnterAndEscapePressOk'
keyboard+=':SearchModeSwitchTest.EachModeShowsItsFrameCaptionAndMenuItem'
run_windows_tests windows-real -platform windows \
  --gtest_filter="WindowsProgram.*:ColourSchemeTest.LightSchemeKeepsTheLayoutColours:$fonts_and_images:$keyboard"

echo "== The same windows at 150 % display scaling (144 dpi): fonts, images and layout"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
run_windows_tests windows-144dpi -platform windows \
  --gtest_filter="$fonts_and_images:InventoryLayoutTest.*:AboutWindowTest.*:HelpWindowTest.*"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null

echo "== Registry conformance tests of the Linux build, on the prefix's user.reg"
"$wineserver" -w # Wine saves user.reg when its server stops.
linux_status=0
SACOTIN_REGISTRY_CONFORMANCE=1 QT_QPA_PLATFORM=offscreen "$native_tests" \
  --gtest_filter='RegistryConformance.*' >"$work/linux.txt" 2>&1 || linux_status=$?
tally "$work/linux.txt" "$linux_status"

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

echo "== The package, unzipped alone, starts and shows its main window"
packages=$(SACOTIN_WINDOWS_BUILD_DIR=$windows_dir bash tools/package-windows.sh)
zip_file=$(grep -- '-win64\.zip$' <<<"$packages")
setup_exe=$(grep -- '-setup\.exe$' <<<"$packages")
unzip -q "$zip_file" -d "$work/unzipped"
mkdir -p "$work/elsewhere"
screenshot=$windows_dir/sacotin-wine.png
rm -f "$screenshot"
# Nothing of the build may be found: only the folder's own DLLs.
folder=$(basename "$zip_file" -win64.zip)
(cd "$work/elsewhere" && WINEPATH= exec "$wine" "$work/unzipped/$folder/Sacotin.exe") \
  >"$work/program.out" 2>&1 &
app_pid=$!
window=$(wait_for_window Sacotin "$app_pid" 60)
if [ -n "$window" ]; then
  sleep 5 # start-up done and painted; it must still be there
  if kill -0 "$app_pid" 2>/dev/null && xwininfo -id "$window" | grep -q "IsViewable"; then
    import -window "$window" "$screenshot"
    echo "Sacotin.exe shows its window \"Sacotin\" and stays up; screenshot: $screenshot"
    passed=$((passed + 1))
  else
    echo "Sacotin.exe's window went away"
    failed=$((failed + 1))
  fi
else
  echo "Sacotin.exe showed no window titled \"Sacotin\" within 60 s"
  cat "$work/program.out"
  failed=$((failed + 1))
fi

echo "== The installer: install, update and uninstall in a fresh prefix, the catalogue kept"
if WINE=$wine WINESERVER=$wineserver bash tests/install/check_windows_installer.sh "$windows_dir" \
  "$windows_dir/package/$folder" "$setup_exe" "$work"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "Windows tests under Wine took $((SECONDS - started)) s"
echo "windows: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
