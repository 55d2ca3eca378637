#!/usr/bin/env bash
# Makes the Windows installer of Sacotin from the folder the zip holds, with NSIS:
#   make-windows-installer.sh BUILD_DIR FOLDER SETUP_EXE [VERSION]
# BUILD_DIR is the windows-cross build (its generated/installer.nsi); VERSION, when given,
# replaces the project's own (the tests make a "next release" of the same program with it).
set -euo pipefail
# makensis reads paths from the script's folder: every path made absolute.
build_dir=$(realpath "$1") folder=$(realpath "$2") setup_exe=$(realpath -m "$3") version=${4:-}

bash "$(dirname "$0")/install-deps.sh" nsis

# What the uninstaller removes: every file the installer lays down (liste.dat is decided apart),
# then the folders, deepest first.
file_list=$(mktemp --suffix=.nsh)
trap 'rm -f "$file_list"' EXIT
windows_names() { sed -e 's|^\./||' -e 's|/|\\|g'; }
(
  cd "$folder"
  find . -type f ! -name liste.dat | LC_ALL=C sort | windows_names | sed 's|.*|Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | LC_ALL=C sort -r | windows_names | sed 's|.*|RMDir "$INSTDIR\\&"|'
) >"$file_list"

defines=(-DSOURCE_DIR="$folder" -DFILE_LIST="$file_list" -DOUT_FILE="$setup_exe")
[ -z "$version" ] || defines+=(-DVERSION="$version")
makensis -V2 -WX "${defines[@]}" "$build_dir/generated/installer.nsi"
