#!/usr/bin/env bash
# Installs a build into a scratch prefix, as a player does with `cmake --install`, and checks
# the tree they get: the program with its catalogue in a folder of its own, the bin/ link that
# starts it, a desktop entry, icon and AppStream metainfo that the validators accept, and the
# manual page; then that installing again leaves a catalogue the player edited alone.
# Usage: check_install_tree.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
id=test.sacotin.Sacotin
program=$prefix/lib/sacotin/Sacotin

[ -x "$program" ] && [ -f "$program" ] || fail "no program at lib/sacotin/Sacotin"
cmp -s "$prefix/lib/sacotin/liste.dat" "$(dirname "$0")/../../demo/liste.dat" ||
  fail "lib/sacotin/liste.dat is not the catalogue"
[ -L "$prefix/bin/sacotin" ] || fail "bin/sacotin is not a link"
[ "$(readlink -f "$prefix/bin/sacotin")" = "$(readlink -f "$program")" ] ||
  fail "bin/sacotin does not lead to the program"
case "$(readlink "$prefix/bin/sacotin")" in
  /*) fail "bin/sacotin is an absolute link: a moved prefix would break it" ;;
esac

desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop entry rejected"
grep -qx 'Exec=sacotin' "$desktop" || fail "desktop entry does not start bin/sacotin"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry names another icon"
grep -qx 'Categories=Game;RolePlaying;' "$desktop" || fail "desktop entry is not in Game"
icon=$prefix/share/icons/hicolor/32x32/apps/$id.png
# A PNG whose header says 32 x 32.
[ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "icon is no PNG"
[ "$(od -An -j16 -N8 -tu1 "$icon" | tr -s ' ')" = " 0 0 0 32 0 0 0 32" ] || fail "icon is not 32x32"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "AppStream metainfo rejected"
gzip -t "$prefix/share/man/man6/sacotin.6.gz" || fail "no manual page"

# The player adds an item; installing again (an upgrade) keeps it and puts the new catalogue
# beside it.
catalogue=$prefix/lib/sacotin/liste.dat
printf '60000\r\nNom=Objet du joueur\r\n' >>"$catalogue"
edited=$(md5sum <"$catalogue")
cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(md5sum <"$catalogue")" = "$edited" ] || fail "a second install replaced the edited liste.dat"
cmp -s "$catalogue.new" "$(dirname "$0")/../../demo/liste.dat" || fail "no liste.dat.new beside it"

# Started through the link, from another folder, the program comes up and stays up.
cd "$prefix"
status=0
WINEPREFIX=$prefix QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/sacotin" >/dev/null 2>&1 ||
  status=$?
[ "$status" -eq 124 ] || fail "bin/sacotin ended with status $status instead of staying up"
echo "install tree: ok"
