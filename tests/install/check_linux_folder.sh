#!/usr/bin/env bash
# Checks the Linux folder (tools/package-linux.sh) as a player gets it: unpacked into a folder
# whose path holds blanks and accents, its program started from another folder on the demo data
# shows, through its own libraries and plug-ins, what the build's program shows (read as a
# screen reader reads it), on X11 and on Wayland (GNOME's compositor, headless) natively with
# QT_QPA_PLATFORM=wayland; started there with nothing set, it prints nothing. No Qt, ICU,
# libyaml or Wayland library and no Qt plug-in comes from outside the folder; no file in it needs
# a glibc newer than 2.35 or a libstdc++ newer than GCC 12's.
# Usage: check_linux_folder.sh ARCHIVE BUILT_PROGRAM
set -euo pipefail
archive=$(realpath "$1") built=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid="" bus_pid="" app_pid=""
source "$root/tools/virtual-display.sh"
# shellcheck disable=SC2086 # empty ids are left out
trap 'stop_processes $app_pid $bus_pid $xvfb_pid; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

downloads="$work/Dossier d'Élodie/Téléchargements"
mkdir -p "$downloads" "$work/ailleurs"
tar -C "$downloads" -xzf "$archive"
folder=$(find "$downloads" -mindepth 1 -maxdepth 1 -type d)
[ -x "$folder/Sacotin" ] && [ -f "$folder/liste.dat" ] && [ -f "$folder/LISEZMOI.txt" ] ||
  fail "the folder lacks Sacotin, liste.dat or LISEZMOI.txt"
iconv -f UTF-8 -t UTF-8 "$folder/LISEZMOI.txt" >/dev/null || fail "LISEZMOI.txt is not UTF-8"

# The newest version of the symbols named with that prefix that a file needs ("" for none),
# and whether a version is within another.
newest() { objdump -T "$2" 2>/dev/null | { grep -o "$1[0-9.]*" || true; } | sort -uV | tail -n 1; }
within() { [ -z "$1" ] || [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | tail -n 1)" = "$2" ]; }
while read -r file; do
  version=$(newest GLIBC_ "$file")
  within "$version" GLIBC_2.35 || fail "$file needs $version"
  version=$(newest GLIBCXX_ "$file")
  within "$version" GLIBCXX_3.4.30 || fail "$file needs $version (newer than GCC 12's libstdc++)"
done < <(find "$folder" -type f \( -name Sacotin -o -name '*.so*' \))

start_virtual_display
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 WINEPREFIX=$root/demo/wine-prefix
unset QT_QPA_PLATFORM QT_PLUGIN_PATH LD_LIBRARY_PATH
# Reads the main window of a program started from another folder, while it runs.
shows() {
  (cd "$work/ailleurs" && exec "$1") >"$work/program.out" 2>&1 &
  app_pid=$!
  /usr/bin/python3 "$here/read_main_window.py" || { cat "$work/program.out" >&2; return 1; }
}
eval "$(dbus-launch --sh-syntax)"
bus_pid=$DBUS_SESSION_BUS_PID
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus_pid="$bus_pid $!"

shows "$folder/Sacotin" >"$work/folder.txt" || fail "the folder's program showed no inventory"
# The libraries and plug-ins the program took from the folder, or from outside it: the mapped
# files' paths, which may hold blanks (all that follows the fifth field).
loaded_by() {
  sed -E 's/^([^ ]+ +){5}//' "/proc/$1/maps" |
    grep -E 'libQt6|libicu|libyaml|libwayland|/plugins/' | sort -u
}
expect_from_folder() {
  local outside
  outside=$(grep -v -F "$folder/" <<<"$1" || true)
  [ -z "$outside" ] || fail "loaded from outside the folder: $outside"
}
loaded=$(loaded_by "$app_pid")
stop_processes "$app_pid"
expect_from_folder "$loaded"
grep -q 'libqxcb.so' <<<"$loaded" || fail "the folder's xcb plug-in was not loaded"
shows "$built" >"$work/built.txt" || fail "the build's program showed no inventory"
stop_processes "$app_pid"
app_pid=""
diff -u "$work/built.txt" "$work/folder.txt" || fail "the folder's program shows another inventory"

# On Wayland: GNOME's compositor, headless, with its XWayland display.
stop_processes $bus_pid $xvfb_pid
bus_pid="" xvfb_pid=""
unset DISPLAY
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix  # Xwayland's sockets
cat >"$work/wayland.sh" <<SESSION
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
cd "$work/ailleurs"
QT_QPA_PLATFORM=wayland "$folder/Sacotin" >"$work/wayland.out" 2>&1 &
app=\$!
/usr/bin/python3 "$here/read_main_window.py" >"$work/wayland.txt" &&
  sed -E 's/^([^ ]+ +){5}//' /proc/\$app/maps >"$work/wayland.maps"
kill \$app
env -u QT_QPA_PLATFORM "$folder/Sacotin" >"$work/chosen.out" 2>&1 &
app=\$!
/usr/bin/python3 "$here/read_main_window.py" >/dev/null
kill \$app
SESSION
dbus-run-session -- mutter --headless --wayland --virtual-monitor 1280x800 -- \
  bash "$work/wayland.sh" >"$work/mutter.log" 2>&1 || true
if [ ! -s "$work/wayland.maps" ]; then
  cat "$work/wayland.out" >&2
  fail "with QT_QPA_PLATFORM=wayland no window showed"
fi
diff -u "$work/built.txt" "$work/wayland.txt" ||
  fail "on Wayland the folder's program shows another inventory"
loaded=$(grep -E 'libQt6|libicu|libyaml|libwayland|/plugins/' "$work/wayland.maps" | sort -u)
expect_from_folder "$loaded"
for plugin in libqwayland-generic.so libxdg-shell.so; do
  grep -q "$plugin" <<<"$loaded" || fail "natively on Wayland, the folder's $plugin was not loaded"
done
[ ! -s "$work/chosen.out" ] ||
  fail "in a Wayland session with nothing set, it printed: $(cat "$work/chosen.out")"
echo "the folder's program shows $(($(wc -l <"$work/folder.txt") - 1)) items of the first" \
  "character through its own libraries and plug-ins, on X11 and natively on Wayland"
