#!/usr/bin/env bash
# The installed tree: `cmake --install` into a temporary prefix puts exactly
# the expected files in place, the desktop entry and the AppStream metainfo
# validate, and the installed program answers without a display.
# check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

expected="games/pellox
share/applications/org.pellox.Pellox.desktop
share/doc/pellox/changelog.gz
share/doc/pellox/copyright
share/icons/hicolor/128x128/apps/org.pellox.Pellox.png
share/icons/hicolor/16x16/apps/org.pellox.Pellox.png
share/icons/hicolor/22x22/apps/org.pellox.Pellox.png
share/icons/hicolor/24x24/apps/org.pellox.Pellox.png
share/icons/hicolor/256x256/apps/org.pellox.Pellox.png
share/icons/hicolor/32x32/apps/org.pellox.Pellox.png
share/icons/hicolor/48x48/apps/org.pellox.Pellox.png
share/icons/hicolor/64x64/apps/org.pellox.Pellox.png
share/icons/hicolor/scalable/apps/org.pellox.Pellox.svg
share/man/man6/pellox.6.gz
share/metainfo/org.pellox.Pellox.metainfo.xml
share/pellox/skins/night-shift/night-shift.ini"
# The Night Shift skin: every picture and sound the skin file names.
night_pictures="imAM imBask0 imBask1 imBask2 imBask3 imBckgrnd imBell imButtA imButtB imButtS
imButtT imButtX imChuckL1 imChuckL2 imChuckL3 imChuckL4 imChuckR1 imChuckR2
imChuckR3 imChuckR4 imColon imD1000_D imD1000_DL imD1000_DR imD1000_M
imD1000_U imD1000_UL imD1000_UR imD100_D imD100_DL imD100_DR imD100_M
imD100_U imD100_UL imD100_UR imD10_D imD10_DL imD10_DR imD10_M imD10_U
imD10_UL imD10_UR imD1_D imD1_DL imD1_DR imD1_M imD1_U imD1_UL imD1_UR
imEggDL1 imEggDL2 imEggDL3 imEggDL4 imEggDL5 imEggDR1 imEggDR2 imEggDR3
imEggDR4 imEggDR5 imEggUL1 imEggUL2 imEggUL3 imEggUL4 imEggUL5 imEggUR1
imEggUR2 imEggUR3 imEggUR4 imEggUR5 imErr1 imErr2 imErr3 imErrL imErrLf
imErrR imErrRf imGameA imGameB imHare imPM imWolf0 imWolf1"
for name in $night_pictures; do
  expected+=$'\n'"share/pellox/skins/night-shift/pictures/$name.bmp"
done
for name in UL UR DL DR Basket Crack Chuck GO; do
  expected+=$'\n'"share/pellox/skins/night-shift/sounds/$name.wav"
done
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(echo "$expected" | LC_ALL=C sort)" ]; then
  echo "installed files differ from the expected ones:"
  diff <(echo "$expected" | LC_ALL=C sort) <(echo "$actual") || true
  exit 1
fi
[ -d "$prefix/share/pellox/skins" ] || { echo "no share/pellox/skins folder"; exit 1; }

desktop-file-validate "$prefix/share/applications/org.pellox.Pellox.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/org.pellox.Pellox.metainfo.xml" >/dev/null
for size in 16 32 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/org.pellox.Pellox.png" | grep -q "$size x $size, 8-bit/color RGBA" ||
    { echo "the $size px icon is not a $size x $size RGBA PNG"; exit 1; }
done
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/games/pellox" --version | head -n 1)
[ "$version" = "Pellox $(sed -n 's/^project(Pellox VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" ] || { echo "installed pellox --version said: $version"; exit 1; }
# The installed skin is complete where it lies: the game would launch it.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/games/pellox" \
  --check-skin "$prefix/share/pellox/skins/night-shift/night-shift.ini" >/dev/null ||
  { echo "the installed Night Shift skin does not pass --check-skin"; exit 1; }
echo "installed tree: ok"
