#!/usr/bin/env bash
# Checks the ways a Linux player installs Sacotin, with the README's own commands: the program
# built alone (preset app), `cmake --install` into a scratch prefix, the Debian package cpack
# makes of that build, and the folder that runs without installing (tools/package-linux.sh),
# unpacked and started as a player would.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh desktop-file-utils appstream dpkg-dev lintian patchelf binutils xvfb \
  x11-utils dbus-x11 at-spi2-core python3-pyatspi qt6-wayland xwayland mutter

cmake --preset app
cmake --build --preset app
echo "== cmake --install"
bash tests/install/check_install_tree.sh build/app
echo "== cpack -G DEB"
bash tests/install/check_debian_package.sh build/app
echo "== The folder that runs without installing"
archive=$(bash tools/package-linux.sh | tail -n 1)
bash tests/install/check_linux_folder.sh "$archive" build/app/Sacotin
