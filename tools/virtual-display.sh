# Functions for the scripts that show Sacotin's windows on a virtual X display (sourced).

# Starts Xvfb on the first display from :99 up that no X server holds, exports DISPLAY and sets
# xvfb_pid; fails when the server does not come up within 10 seconds. -noreset: by default the
# server resets whenever its last client leaves (the readiness probe, a short-lived tool), and
# refuses the connections that arrive meanwhile.
start_virtual_display() {
  local display=99
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1920x1080x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && return 0
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

# stop_processes PID...: ends each process started by the script (the program, Xvfb) and waits for
# it; a process ended here reports its signal, not a failure.
stop_processes() {
  local pid
  for pid in "$@"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
}

# wait_for_window TITLE PID SECONDS: prints the id of the viewable window of that title as soon
# as there is one, waiting at most SECONDS while the process PID lives; prints nothing otherwise.
wait_for_window() {
  local title=$1 pid=$2 seconds=$3 info
  for _ in $(seq $((seconds * 10))); do
    kill -0 "$pid" 2>/dev/null || return 0
    info=$(xwininfo -name "$title" 2>/dev/null || true)
    if grep -q "Map State: IsViewable" <<<"$info"; then
      awk '/Window id:/ {print $4; exit}' <<<"$info"
      return 0
    fi
    sleep 0.1
  done
}
