#!/usr/bin/env bash
# Makes the Debian package of a build (cpack -G DEB) and checks it: lintian finds no error or
# warning, its dependencies name the libraries, fonts and translations the program needs, it lays
# out what `cmake --install` does below /usr with the catalogue in /etc/sacotin as a conffile and
# the command in /usr/games, and, installed by dpkg into a scratch root, a catalogue the player
# edited survives a reinstall and an upgrade.
# Usage: check_debian_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
deb=$(find "$out" -maxdepth 1 -name 'sacotin_*_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no package written"

report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $report"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 fonts-liberation \
  qt6-translations-l10n qt6-wayland; do
  grep -qw -- "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/sacotin/Sacotin ./etc/sacotin/liste.dat \
  ./usr/share/applications/test.sacotin.Sacotin.desktop \
  ./usr/share/icons/hicolor/32x32/apps/test.sacotin.Sacotin.png \
  ./usr/share/metainfo/test.sacotin.Sacotin.metainfo.xml ./usr/share/man/man6/sacotin.6.gz \
  ./usr/share/doc/sacotin/copyright ./usr/share/doc/sacotin/changelog.gz; do
  grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
done
grep -q ' ./usr/games/sacotin -> ../lib/sacotin/Sacotin$' <<<"$contents" ||
  fail "the package lacks the link /usr/games/sacotin"
grep -q ' ./usr/lib/sacotin/liste.dat -> /etc/sacotin/liste.dat$' <<<"$contents" ||
  fail "the program's liste.dat does not lead to /etc/sacotin/liste.dat"
[ "$(dpkg-deb -I "$deb" conffiles)" = /etc/sacotin/liste.dat ] || fail "liste.dat is no conffile"

# The same package with a higher version, as the next release would be.
version=$(dpkg-deb -f "$deb" Version)
unpacked=$out/next
dpkg-deb -R "$deb" "$unpacked"
sed -i "s/^Version: .*/Version: $version.1/" "$unpacked/DEBIAN/control"
dpkg-deb -b --root-owner-group "$unpacked" "$out/next.deb" >/dev/null

# dpkg installs into a root of its own (no maintainer scripts, dependencies not checked there).
root=$out/root
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info"
touch "$root/var/lib/dpkg/status"
install_deb() {
  dpkg --root="$root" --force-depends --force-confold --log=/dev/null -i "$1" >/dev/null 2>&1 ||
    fail "dpkg could not install $(basename "$1")"
}
install_deb "$deb"
catalogue=$root/etc/sacotin/liste.dat
[ "$(readlink -f "$root/usr/lib/sacotin/liste.dat")" = "$(readlink -f "$catalogue")" ] ||
  [ "$(readlink "$root/usr/lib/sacotin/liste.dat")" = /etc/sacotin/liste.dat ] ||
  fail "installed, the program's liste.dat does not lead to /etc/sacotin/liste.dat"
printf '60000\r\nNom=Objet du joueur\r\n' >>"$catalogue"
edited=$(md5sum <"$catalogue")
install_deb "$deb"
[ "$(md5sum <"$catalogue")" = "$edited" ] || fail "a reinstall replaced the edited liste.dat"
install_deb "$out/next.deb"
[ "$(md5sum <"$catalogue")" = "$edited" ] || fail "an upgrade replaced the edited liste.dat"
echo "Debian package: ok ($(basename "$deb"); Depends: $depends)"
