#!/usr/bin/env bash
# Checks the Linux folder (tools/package-linux.sh) as a player gets it: unpacked into a folder
# whose path holds blanks and accents, its program started from another folder on the demo data
# shows, through its own libraries and plug-ins, what the build's program shows (read as a
# screen reader reads it); no Qt, ICU or libyaml library and no Qt plug-in comes from outside the
# folder; no file in it needs a glibc newer than 2.35 or a libstdc++ newer than GCC 12's.
# Usage: check_linux_folder.sh ARCHIVE BUILT_PROGRAM
set -euo pipefail
archive=$(realpath "$1") built=$(realpath "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$(dirname "$0")
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
# The mapped files' paths, which may hold blanks: all that follows the fifth field.
loaded=$(sed -E 's/^([^ ]+ +){5}//' "/proc/$app_pid/maps" | grep -E 'libQt6|libicu|libyaml|/plugins/' |
  sort -u)
stop_processes "$app_pid"
outside=$(grep -v -F "$folder/" <<<"$loaded" || true)
[ -z "$outside" ] || fail "loaded from outside the folder: $outside"
grep -q 'libqxcb.so' <<<"$loaded" || fail "the folder's xcb plug-in was not loaded"
shows "$built" >"$work/built.txt" || fail "the build's program showed no inventory"
stop_processes "$app_pid"
app_pid=""
diff -u "$work/built.txt" "$work/folder.txt" || fail "the folder's program shows another inventory"
echo "the folder's program shows $(($(wc -l <"$work/folder.txt") - 1)) items of the first" \
  "character through its own libraries and plug-ins"
