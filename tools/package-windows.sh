#!/usr/bin/env bash
# Builds Sacotin for 64-bit Windows (preset windows-cross) and writes the players' packages:
#   build/windows-cross/Sacotin-<version>-win64.zip, holding one folder Sacotin-<version>/ with
#   Sacotin.exe, liste.dat, LISEZMOI.txt, Qt's DLLs and the plug-ins the program loads, Qt's
#   French translations and MinGW's runtime DLLs, all stripped;
#   build/windows-cross/Sacotin-<version>-setup.exe, the installer of the same files
#   (tools/make-windows-installer.sh).
# Prints the zip's path, then the installer's. SACOTIN_WINDOWS_BUILD_DIR chooses another build
# folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash tools/install-deps.sh g++-mingw-w64-x86-64-posix googletest qt6-translations-l10n zip

build_dir=${SACOTIN_WINDOWS_BUILD_DIR:-$root/build/windows-cross}
cmake --preset windows-cross -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target Sacotin

# The Qt that the build found: Qt6_DIR is <qt>/lib/cmake/Qt6.
qt_dir=$(realpath "$(sed -n 's/^Qt6_DIR:PATH=//p' "$build_dir/CMakeCache.txt")/../../..")
[ -f "$qt_dir/bin/Qt6Core.dll" ] || { echo "no Qt for Windows found for $build_dir" >&2; exit 1; }
cxx=$(command -v x86_64-w64-mingw32-g++-posix)
strip_tool=$(command -v x86_64-w64-mingw32-strip)

# The project's version, as CMakeLists.txt defines it.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
name=Sacotin-$version
staging=$build_dir/package
folder=$staging/$name
rm -rf "$staging"
mkdir -p "$folder"/{platforms,imageformats,styles,translations}

cp "$build_dir/Sacotin.exe" "$folder/"
cp demo/liste.dat "$folder/"
# Windows editors expect CR LF; the mark tells Notepad the text is UTF-8.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "$build_dir/generated/LISEZMOI.txt"; } >"$folder/LISEZMOI.txt"
cp "$qt_dir"/bin/Qt6{Core,Gui,Widgets}.dll "$folder/"
cp "$qt_dir/plugins/platforms/qwindows.dll" "$folder/platforms/"
cp "$qt_dir/plugins/imageformats/qjpeg.dll" "$folder/imageformats/"  # the program's picture
cp "$qt_dir/plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
cp /usr/share/qt6/translations/qtbase_fr.qm "$folder/translations/"
# MinGW's C++ runtime, which Qt's DLLs and the program share.
for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
  cp "$("$cxx" -print-file-name="$dll")" "$folder/"
done
cp /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$folder/"

find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec "$strip_tool" --strip-unneeded {} +

# Same content, same archive: fixed times, sorted names, no extra attributes.
find "$staging" -exec touch -h -d '2001-12-16 00:00:00' {} +
zip_file=$build_dir/$name-win64.zip
rm -f "$zip_file"
(cd "$staging" && find "$name" | LC_ALL=C sort | zip -q -X -D "$zip_file" -@)
echo "$zip_file"

setup_exe=$build_dir/$name-setup.exe
bash tools/make-windows-installer.sh "$build_dir" "$folder" "$setup_exe"
echo "$setup_exe"
