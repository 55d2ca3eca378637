#!/usr/bin/env bash
# Makes the Debian package of a build (cpack -G DEB) and checks it: its dependencies name the
# libraries, fonts and translations the program needs, and it lays out what `cmake --install`
# does, below /usr.
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
deb=$(find "$out" -maxdepth 1 -name 'sacotin_1.3*_*.deb' | head -n 1)
[ -n "$deb" ] || fail "no package written"

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 fonts-liberation \
  qt6-translations-l10n; do
  grep -qw -- "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

contents=$(dpkg-deb -c "$deb")
for path in ./usr/lib/sacotin/Sacotin ./usr/lib/sacotin/liste.dat \
  ./usr/share/applications/test.sacotin.Sacotin.desktop \
  ./usr/share/icons/hicolor/32x32/apps/test.sacotin.Sacotin.png \
  ./usr/share/metainfo/test.sacotin.Sacotin.metainfo.xml; do
  grep -q " $path\$" <<<"$contents" || fail "the package lacks $path"
done
grep -q ' ./usr/bin/sacotin -> ../lib/sacotin/Sacotin$' <<<"$contents" ||
  fail "the package lacks the link /usr/bin/sacotin"
echo "Debian package: ok ($(basename "$deb"); Depends: $depends)"
