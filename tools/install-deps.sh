#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building the program needs and this machine lacks,
# and the extra packages named as arguments (the test scripts add what their tests need).
# Needs root (or sudo).
set -euo pipefail

# What building and running the program needs. fonts-liberation: fonts with the widths of the
# Windows fonts the windows were laid out for; qt6-translations-l10n: Qt's own texts in French.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev libyaml-dev fonts-liberation qt6-translations-l10n "$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
