#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Pellox need.
# Quick and silent when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config python3
  qt6-base-dev qt6-svg-dev libqt6svg6
  libopenal-dev libsdl2-dev
  libarchive-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-dejavu-core
  desktop-file-utils appstream file dpkg-dev
  xvfb x11-apps x11-utils x11-xserver-utils x11-xkb-utils imagemagick xdotool sox libxtst-dev
  qt6-wayland weston
  groff-base qt6-translations-l10n
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
