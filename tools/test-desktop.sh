#!/usr/bin/env bash
# Runs the checks that need a real desktop (which window is active, where the keyboard goes, what
# the desktop shows in front) with real windows, on X11 and on Wayland:
#   - X11: Qt's xcb platform on a virtual X display with Openbox;
#   - Wayland, each of Debian's compositors run headless, the program both natively (Qt's wayland
#     platform) and on XWayland (the platform it chooses itself there): GNOME's (mutter), KDE's
#     (KWin) and sway (as a user of its own: sway refuses root).
# In each: the window tests that need a desktop (in process), then tests/desktop/windows_check.py,
# which drives the program with the desktop's own input as a player does and reads it as a screen
# reader does.
# Usage: test-desktop.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$(realpath "$1")

bash tools/install-deps.sh xvfb x11-utils xdotool openbox dbus-x11 at-spi2-core python3-pyatspi \
  python3-dbus qt6-wayland xwayland mutter kwin-wayland sway wtype plasma-wayland-protocols \
  libwayland-dev libwayland-bin gcc

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid=""
wm_pid=""
source tools/virtual-display.sh
# shellcheck disable=SC2086 # empty ids are left out
trap 'stop_processes $wm_pid $xvfb_pid; rm -rf "$work"' EXIT

# What every session runs, readable by sway's user: the program with its catalogue, the tests,
# the checks, the demo data, the menu entry, and our client of KWin's input and window protocols.
mkdir -p "$work/program" "$work/desktop"
cp "$build_dir/Sacotin" "$build_dir/liste.dat" "$work/program/"
cp "$build_dir/tests/sacotin_tests" tests/desktop/*.py \
  resources/linux/test.sacotin.Sacotin.desktop "$work/desktop/"
cp -r demo/wine-prefix "$work/wine-prefix"
protocols=/usr/share/plasma-wayland-protocols
for protocol in fake-input plasma-window-management; do
  wayland-scanner client-header "$protocols/$protocol.xml" \
    "$work/desktop/$protocol-client-protocol.h"
  wayland-scanner private-code "$protocols/$protocol.xml" "$work/desktop/$protocol-protocol.c"
done 2>/dev/null
gcc -O2 -I"$work/desktop" -o "$work/desktop/kwin_desk" tests/desktop/kwin_desk.c \
  "$work/desktop"/*-protocol.c -lwayland-client
chmod -R a+rX "$work"

# The window tests that need a desktop, run in process in each session too.
tests="$work/desktop/sacotin_tests"
tests+=" --gtest_filter=HelpWindowTest.OkButtonHoldsTheFocusAndEnterPressesIt"
tests+=":HelpWindowTest.EscapeDoesNothing:AboutWindowTest.EnterAndEscapePressOk"
tests+=":SearchModeSwitchTest.EachModeShowsItsFrameCaptionAndMenuItem"
entry=$work/desktop/test.sacotin.Sacotin.desktop
# The runs on XWayland, or X11: the platform the program chooses, which prints nothing there.
on_x11="chosen --expect-platform xcb --quiet-start --desktop-entry $entry --tests '$tests'"
# Writes the script a session runs, and prints its path: each run is "PLATFORM OPTIONS...", where
# PLATFORM is the QT_QPA_PLATFORM set for the program, "chosen" (the program chooses) or "no-x11"
# (it chooses without an X display). The script writes what the checks print and their status
# beside itself (the compositors don't all pass them on).
session_script() {
  local session=$1 script=$work/$1.sh
  shift
  {
    echo '#!/bin/bash'
    echo "exec >$work/$session.out 2>&1"
    echo 'status=0'
    echo "export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 WINEPREFIX=$work/wine-prefix"
    echo '/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &'
    local run platform options
    for run in "$@"; do
      read -r platform options <<<"$run"
      case $platform in
        chosen) echo -n 'env -u QT_QPA_PLATFORM ' ;;
        no-x11) echo -n 'env -u QT_QPA_PLATFORM -u DISPLAY ' ;;
        *) echo -n "env QT_QPA_PLATFORM=$platform " ;;
      esac
      echo "/usr/bin/python3 $work/desktop/windows_check.py $session $work/program/Sacotin" \
        "--kwin-desk $work/desktop/kwin_desk $options || status=1"
    done
    echo "echo \$status >$work/$session.status"
  } >"$script"
  chmod 755 "$script"
  echo "$script"
}

# Prints what a session's checks printed, and fails unless they passed.
session_passed() {
  cat "$work/$1.out" 2>/dev/null || echo "$1: the session did not start"
  [ "$(cat "$work/$1.status" 2>/dev/null)" = 0 ]
}

failed=()

# Each session has a runtime folder of its own, as a desktop session has.
new_runtime_dir() {
  export XDG_RUNTIME_DIR=$work/runtime-$1
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
}

echo "== X11, Openbox"
new_runtime_dir x11
start_virtual_display
openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
script=$(session_script x11 "$on_x11 --layout-positions")
dbus-run-session -- bash "$script"
session_passed x11 || failed+=(x11)
stop_processes $wm_pid $xvfb_pid
wm_pid="" xvfb_pid=""
unset DISPLAY

# mutter starts Xwayland, which wants the X sockets' folder writable by all.
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix

# Runs a session's checks in a compositor, started by the given command followed by the path of
# the session's script.
check_in() {
  local session=$1 run=$2 script
  shift 2
  script=$(session_script "$session" "$run")
  "$@" "$script" >"$work/$session.log" 2>&1 || true
  session_passed "$session" || failed+=("$session")
}

echo "== GNOME's compositor (mutter), headless"
new_runtime_dir mutter
mutter=(dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x800 -- bash)
native="wayland --expect-platform wayland --quiet-start --tests '$tests'"
check_in mutter "$native" "${mutter[@]}"
check_in mutter-x11 "$on_x11 --layout-positions" "${mutter[@]}"

echo "== KDE's compositor (KWin), headless"
# A plain copy: the installed binary carries a file capability that a container may refuse.
cp /usr/bin/kwin_wayland "$work/kwin_wayland"
new_runtime_dir kwin
export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1  # lets our client use its fake input
kwin=(dbus-run-session -- "$work/kwin_wayland" --virtual --xwayland --width 1280 --height 800
  --exit-with-session)
check_in kwin "$native --desktop-entry $entry" "${kwin[@]}"
check_in kwin-x11 "$on_x11 --layout-positions" "${kwin[@]}"
unset KWIN_WAYLAND_NO_PERMISSION_CHECKS

echo "== sway, headless, as a user of its own"
user=sacotin-desktop
id "$user" >/dev/null 2>&1 || useradd --system --create-home --shell /bin/bash "$user"
chown -R "$user" "$work"
# Without an X display, the program starts natively; sway places no window where it asks.
script=$(session_script sway \
  "no-x11 --expect-platform wayland --quiet-start --desktop-entry $entry --tests '$tests'" \
  "$on_x11")
cat >"$work/sway.conf" <<CONFIG
xwayland enable
output HEADLESS-1 resolution 1280x800
exec bash -c 'bash $script; swaymsg exit'
CONFIG
runuser -u "$user" -- env XDG_RUNTIME_DIR="$work/runtime-sway" WLR_BACKENDS=headless \
  WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  bash -c 'mkdir -m 700 "$XDG_RUNTIME_DIR" && exec dbus-run-session -- sway -c "$1"' sway \
  "$work/sway.conf" >"$work/sway.log" 2>&1 || true
session_passed sway || failed+=(sway)

if [ ${#failed[@]} -gt 0 ]; then
  echo "desktop checks failed in: ${failed[*]}"
  exit 1
fi
echo "desktop checks passed on X11, mutter, KWin and sway"
