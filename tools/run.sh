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

# The first display number from 99 up that no X server holds.
display=99
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
  display=$((display + 1))
done

xvfb_pid=""
app_pid=""
runtime_dir=""
stop_all() {
  # Ends what this script started; a process killed here reports its signal, not a failure.
  local pid
  for pid in $app_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ -n "$runtime_dir" ]; then rm -rf "$runtime_dir"; fi
}
trap stop_all EXIT

Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  xwininfo -root >/dev/null 2>&1 && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done

# Qt wants a private runtime folder; give it one rather than a warning.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  runtime_dir=$(mktemp -d)
  export XDG_RUNTIME_DIR="$runtime_dir"
fi
QT_QPA_PLATFORM=xcb "$program" &
app_pid=$!

# Wait (at most 30 s) until the main window is on screen.
window=""
for _ in $(seq 300); do
  if ! kill -0 "$app_pid" 2>/dev/null; then
    wait "$app_pid" && status=0 || status=$?
    app_pid=""
    echo "Sacotin ended before its window showed (exit status $status)" >&2
    exit 1
  fi
  info=$(xwininfo -name Sacotin 2>/dev/null || true)
  if grep -q "Map State: IsViewable" <<<"$info"; then
    window=$(awk '/Window id:/ {print $4; exit}' <<<"$info")
    break
  fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Sacotin's window did not show within 30 seconds" >&2
  exit 1
fi

# Start-up lists the accounts and loads the first character's items; give it time to paint.
sleep 2
mkdir -p "$(dirname "$screenshot")"
import -window "$window" "$screenshot"
echo "Screenshot of the main window: $screenshot"
