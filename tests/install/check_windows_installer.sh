#!/usr/bin/env bash
# Checks the Windows installer under Wine, in a fresh prefix of its own (Wine's menu builder off:
# nothing is written into the Linux home): a silent install lays down the package's files, the
# Start-menu shortcut and the entry in the list of installed programs; a reinstall keeps an
# unchanged catalogue as the installer's own, an edited one through a reinstall and an upgrade
# (with the new catalogue beside it as liste.dat.new); an older version is refused; the silent
# uninstall of the list of programs leaves the prefix as it was but for the edited liste.dat; the
# installed program shows its window.
# Usage: check_windows_installer.sh BUILD_DIR PACKAGE_FOLDER SETUP_EXE WORK_DIR
# with WINE and WINESERVER naming Wine's loader and server, and DISPLAY a running X display.
set -euo pipefail
build_dir=$1 package=$2 setup_exe=$3 work=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/virtual-display.sh"
fail() {
  echo "FAIL: $*"
  exit 1
}
app_pid=""
# shellcheck disable=SC2086 # no id when the program was not started
trap 'stop_processes $app_pid; "$WINESERVER" -k 2>/dev/null || true' EXIT

export WINEPREFIX=$work/installer-prefix WINEDEBUG=-all WINEPATH=
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine() { "$WINE" "$@"; }
settle() { "$WINESERVER" -w; } # every Wine process ended, the registry saved to user.reg

user_dir=$WINEPREFIX/drive_c/users/$(id -un)
program_dir=$user_dir/AppData/Local/Programs/Sacotin
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Sacotin.lnk"
catalogue=$program_dir/liste.dat
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")

# Every file and folder of the prefix, and every registry key and value of the user.
snapshot() {
  (cd "$WINEPREFIX" && find . -path ./dosdevices -prune -o -print | LC_ALL=C sort)
  grep -v '^#time=' "$WINEPREFIX/user.reg" | sed 's/^\(\[.*\]\) [0-9]*$/\1/'
}
# A value of the program's uninstall key, unescaped.
uninstall_value() {
  sed -n '/^\[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\Sacotin\]/,/^$/p' \
    "$WINEPREFIX/user.reg" | sed -n "s/^\"$1\"=//p" | sed -e 's/^"\(.*\)"$/\1/' -e 's/\\\(.\)/\1/g'
}
install() {
  local status=0
  wine "$1" /S || status=$?
  settle
  return "$status"
}

wine wineboot -i >/dev/null 2>&1
settle
snapshot >"$work/before.txt"

install "$setup_exe" || fail "the silent install failed"
while read -r file; do
  cmp -s "$package/$file" "$program_dir/$file" || fail "installed $file differs from the package's"
done < <(cd "$package" && find . -type f)
[ -f "$program_dir/uninstall.exe" ] || fail "no uninstall.exe"
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
shortcut_texts=$(strings -a "$shortcut"; strings -a -el "$shortcut")
grep -q 'Programs\\Sacotin\\Sacotin.exe$' <<<"$shortcut_texts" ||
  fail "the shortcut does not lead to Sacotin.exe"
# The shell link's flags (offset 20): HasIconLocation.
(($(od -An -tu4 -j20 -N4 "$shortcut") & 0x40)) || fail "the shortcut has no icon"
[ "$(uninstall_value DisplayName)" = Sacotin ] || fail "no entry in the list of programs"
[ "$(uninstall_value DisplayVersion)" = "$version" ] || fail "the entry's version is not $version"
[ "$(uninstall_value Publisher)" = "Jean Martin" ] || fail "the entry names no publisher"
[[ "$(uninstall_value DisplayIcon)" == *'\Sacotin.exe,0' ]] || fail "the entry shows no icon"
[[ "$(uninstall_value EstimatedSize)" == dword:* ]] || fail "the entry gives no size"
uninstall=$(uninstall_value QuietUninstallString)
[[ "$uninstall" == '"'*'\uninstall.exe" /S '* ]] || fail "no silent uninstall command: $uninstall"

install "$setup_exe" || fail "installing the same version again failed"
[ ! -e "$catalogue.new" ] || fail "an unchanged liste.dat was taken for the player's"

printf '9999\r\nNom=Objet du joueur\r\n' >>"$catalogue"
cp "$catalogue" "$work/edited.dat"
install "$setup_exe" || fail "the reinstall failed"
cmp -s "$catalogue" "$work/edited.dat" || fail "a reinstall replaced the edited liste.dat"
cmp -s "$catalogue.new" "$package/liste.dat" || fail "a reinstall put no liste.dat.new beside it"

next_version=$version.1
bash "$root/tools/make-windows-installer.sh" "$build_dir" "$package" "$work/next-setup.exe" \
  "$next_version"
rm "$catalogue.new"
install "$work/next-setup.exe" || fail "the upgrade to $next_version failed"
[ "$(uninstall_value DisplayVersion)" = "$next_version" ] || fail "the upgrade kept the old version"
cmp -s "$catalogue" "$work/edited.dat" || fail "the upgrade replaced the edited liste.dat"
cmp -s "$catalogue.new" "$package/liste.dat" || fail "the upgrade put no liste.dat.new beside it"
if install "$setup_exe"; then fail "version $version was installed over $next_version"; fi
[ "$(uninstall_value DisplayVersion)" = "$next_version" ] || fail "the refused downgrade changed the entry"

# The list of programs' silent command: "<uninstall.exe>" /S _?=<folder>.
uninstall_exe=${uninstall#\"} uninstall_exe=${uninstall_exe%%\"*}
read -ra uninstall_args <<<"${uninstall#\"*\" }"
wine "$uninstall_exe" "${uninstall_args[@]}" || fail "the silent uninstall failed"
settle
cmp -s "$catalogue" "$work/edited.dat" || fail "the uninstall removed the edited liste.dat"
[ "$(find "$program_dir" -mindepth 1)" = "$catalogue" ] || fail "the uninstall left more than liste.dat"
rm "$catalogue"
rmdir "$program_dir" "$(dirname "$program_dir")"
snapshot >"$work/after.txt"
diff -u "$work/before.txt" "$work/after.txt" || fail "the uninstall left the prefix changed"

install "$setup_exe" || fail "the install after the uninstall failed"
(cd "$work" && exec "$WINE" "$program_dir/Sacotin.exe") >"$work/installed.out" 2>&1 &
app_pid=$!
[ -n "$(wait_for_window Sacotin "$app_pid" 60)" ] || fail "the installed Sacotin.exe showed no window"
echo "installed, kept the edited liste.dat through a reinstall, an upgrade and the uninstall," \
  "refused a downgrade, left the prefix as it was, and the installed program shows its window"
