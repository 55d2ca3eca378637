#!/usr/bin/env bash
# Runs the tests that need a desktop's window manager (which window is active, where the keyboard
# goes) with real windows: Qt's xcb platform on a virtual X display with Openbox.
# Usage: test-desktop.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=$1

bash tools/install-deps.sh xvfb x11-utils openbox

xvfb_pid=""
wm_pid=""
source tools/virtual-display.sh
# shellcheck disable=SC2086 # empty ids are left out
trap 'stop_processes $wm_pid $xvfb_pid' EXIT
start_virtual_display
openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Help and About take the keyboard and give it back; each mode's first control takes it.
QT_QPA_PLATFORM=xcb "$build_dir/tests/sacotin_tests" --gtest_filter='HelpWindowTest.OkButtonHoldsTheFocusAndEnterPressesIt:HelpWindowTest.EscapeDoesNothing:AboutWindowTest.EnterAndEscapePressOk:SearchModeSwitchTest.EachModeShowsItsFrameCaptionAndMenuItem'
