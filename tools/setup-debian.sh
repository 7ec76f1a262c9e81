#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Pellox need
# (with the argument web: those of the game in a web browser).
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

# "web": the browser's build and its tests instead: emscripten, Chromium for
# the tests, and Node.js with npm when there is none.
if [ "${1:-}" = web ]; then
  packages=(emscripten chromium)
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
fi

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
