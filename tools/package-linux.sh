#!/usr/bin/env bash
# Builds the program alone (preset app) and writes the folder that runs on any current Linux
# desktop without installing anything (Fedora, Arch, SteamOS's desktop mode, older Ubuntus):
#   build/app/Sacotin-<version>-linux-x86_64.tar.gz, one folder Sacotin-<version>-linux-x86_64/
#   with the program Sacotin, liste.dat, LISEZMOI.txt, and in lib/ and plugins/ every library
#   and Qt plug-in it needs that a desktop may lack or hold in another version (Qt's platforms for
#   X11 and for Wayland, with what Wayland's loads: its shell integration and its title bar).
#   Only what every desktop has is left to the system: glibc, libstdc++, X11 and xcb's core with
#   the X session management libraries (SM, ICE), GL, fontconfig, freetype, harfbuzz, D-Bus and
#   GLib. The program finds its libraries beside it ($ORIGIN) and
#   Qt its plug-ins and French texts through qt.conf: no script, no environment variable.
# Prints the archive's path. SACOTIN_APP_BUILD_DIR chooses another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/install-deps.sh patchelf binutils qt6-translations-l10n qt6-wayland

build_dir=${SACOTIN_APP_BUILD_DIR:-$root/build/app}
cmake --preset app -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target Sacotin

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
name=Sacotin-$version-linux-x86_64
staging=$build_dir/package-linux
folder=$staging/$name
rm -rf "$staging"
mkdir -p "$folder"/{lib,plugins/platforms,plugins/imageformats,translations,licences} \
  "$folder"/plugins/{wayland-shell-integration,wayland-decoration-client}

qt_plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null ||
  echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
cp "$build_dir/Sacotin" "$folder/"
cp "$qt_plugins"/platforms/{libqxcb.so,libqwayland-generic.so,libqoffscreen.so} \
  "$folder/plugins/platforms/"
# What Qt's Wayland platform loads: the desktop shell's protocol, and its own title bar where the
# compositor draws none (GNOME).
cp "$qt_plugins/wayland-shell-integration/libxdg-shell.so" "$folder/plugins/wayland-shell-integration/"
cp "$qt_plugins/wayland-decoration-client/libbradient.so" "$folder/plugins/wayland-decoration-client/"
cp "$qt_plugins/imageformats/libqjpeg.so" "$folder/plugins/imageformats/"  # the picture
cp /usr/share/qt6/translations/qtbase_fr.qm "$folder/translations/"
cp demo/liste.dat "$folder/"
cp "$build_dir/docs/LISEZMOI.txt" "$folder/"
cp resources/fonts/OFL.txt "$folder/licences/fonts-OFL.txt"
printf '[Paths]\nPrefix = .\nPlugins = plugins\nTranslations = translations\n' >"$folder/qt.conf"

# What every desktop has: these and what they need are taken from the system.
system_library() {
  case "$1" in
    linux-vdso.so.* | ld-linux-*.so.* | libc.so.* | libm.so.* | libdl.so.* | libpthread.so.* | \
      librt.so.* | libstdc++.so.* | libgcc_s.so.* | \
      libX11.so.* | libX11-xcb.so.* | libXau.so.* | libXdmcp.so.* | libxcb.so.* | libSM.so.* | \
      libICE.so.* | libXext.so.* | libXrender.so.* | \
      libGL.so.* | libGLX.so.* | libOpenGL.so.* | libEGL.so.* | libGLdispatch.so.* | \
      libfontconfig.so.* | libfreetype.so.* | libharfbuzz.so.* | libdbus-1.so.* | \
      libglib-2.0.so.* | libgthread-2.0.so.*) return 0 ;;
  esac
  return 1
}

# Where the system keeps each library, by its name.
system_libraries=$(ldconfig -p)
library_path() { awk -v lib="$1" '$1 == lib && /x86-64/ {print $NF; exit}' <<<"$system_libraries"; }

# The libraries the program and its plug-ins need, followed through what they need in turn,
# down to the system's.
bundle() {
  local needed path
  for needed in $(objdump -p "$1" | awk '$1 == "NEEDED" {print $2}'); do
    system_library "$needed" && continue
    [ -e "$folder/lib/$needed" ] && continue
    path=$(library_path "$needed")
    [ -n "$path" ] || { echo "not found: $needed (needed by $1)" >&2; exit 1; }
    cp -L "$path" "$folder/lib/$needed"
    bundle "$folder/lib/$needed"
  done
}
bundle "$folder/Sacotin"
for plugin in "$folder"/plugins/*/*.so; do bundle "$plugin"; done

# Each bundled library's licence, from its Debian package.
for library in "$folder"/lib/*; do
  package=$(dpkg -S "$(realpath "$(library_path "$(basename "$library")")")" 2>/dev/null |
    head -n 1 | cut -d: -f1 || true)
  [ -n "$package" ] && [ -f "/usr/share/doc/$package/copyright" ] &&
    cp "/usr/share/doc/$package/copyright" "$folder/licences/$package.txt"
done

strip --strip-unneeded "$folder/Sacotin" "$folder"/lib/* "$folder"/plugins/*/*.so
patchelf --set-rpath '$ORIGIN/lib' "$folder/Sacotin"
for library in "$folder"/lib/*; do patchelf --set-rpath '$ORIGIN' "$library"; done
for plugin in "$folder"/plugins/*/*.so; do patchelf --set-rpath '$ORIGIN/../../lib' "$plugin"; done

# Same content, same archive: fixed times, sorted names, owner root.
find "$staging" -exec touch -h -d '2001-12-16 00:00:00' {} +
archive=$build_dir/$name.tar.gz
tar -C "$staging" --sort=name --owner=0 --group=0 --numeric-owner -cf - "$name" | gzip -9n >"$archive"
echo "$archive"
