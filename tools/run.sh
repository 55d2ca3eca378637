#!/usr/bin/env bash
# Installs what is missing, builds the program alone (preset app: no tests, no benchmarks) and
# starts it: on the demo data (the Wine prefix in demo/wine-prefix and the catalogue
# demo/liste.dat, which the build copies beside the program), or on the Wine prefix that
# WINEPREFIX names when it is set.
#
# Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) it runs Sacotin on a virtual X
# display instead, saves a screenshot of the main window and prints the PNG's path.
# SACOTIN_SCREENSHOT=<file.png> chooses where that screenshot goes.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

headless=0
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && headless=1

if [ "$headless" -eq 1 ]; then
  # The virtual display, xwininfo to find the window, ImageMagick's import for the screenshot.
  bash tools/install-deps.sh xvfb x11-utils imagemagick fonts-dejavu-core
else
  bash tools/install-deps.sh
fi

cmake --preset app
cmake --build --preset app

export WINEPREFIX="${WINEPREFIX-$repo/demo/wine-prefix}"
program="$repo/build/app/Sacotin"

if [ "$headless" -eq 0 ]; then
  echo "Starting Sacotin with WINEPREFIX=$WINEPREFIX"
  exec "$program"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): running Sacotin on a virtual X display."
screenshot="${SACOTIN_SCREENSHOT:-$repo/build/app/sacotin-demo.png}"

xvfb_pid=""
app_pid=""
runtime_dir=""
source tools/virtual-display.sh
stop_all() {
  # shellcheck disable=SC2086 # empty ids are left out
  stop_processes $app_pid $xvfb_pid
  if [ -n "$runtime_dir" ]; then rm -rf "$runtime_dir"; fi
}
trap stop_all EXIT
start_virtual_display

# Qt wants a private runtime folder; give it one rather than a warning.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  runtime_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR="$runtime_dir"
fi
QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

# Wait (at most 30 s) until the main window is on screen.
window=$(wait_for_window Sacotin "$app_pid" 30)
if [ -z "$window" ]; then
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid" && status=0 || status=$?
    app_pid=""
    echo "Sacotin ended before its window showed (exit status $status)" >&2
  else
    echo "Sacotin's window did not show within 30 seconds" >&2
  fi
  exit 1
fi

# Start-up lists the accounts and loads the first character's items; give it time to paint.
sleep 2
mkdir -p "$(dirname "$screenshot")"
import -window "$window" "$screenshot"
echo "Screenshot of the main window: $screenshot"
