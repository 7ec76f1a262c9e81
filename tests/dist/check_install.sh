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

expected="bin/pellox
share/applications/org.pellox.Pellox.desktop
share/doc/Pellox/LICENSE
share/icons/hicolor/128x128/apps/org.pellox.Pellox.png
share/icons/hicolor/16x16/apps/org.pellox.Pellox.png
share/icons/hicolor/22x22/apps/org.pellox.Pellox.png
share/icons/hicolor/24x24/apps/org.pellox.Pellox.png
share/icons/hicolor/256x256/apps/org.pellox.Pellox.png
share/icons/hicolor/32x32/apps/org.pellox.Pellox.png
share/icons/hicolor/48x48/apps/org.pellox.Pellox.png
share/icons/hicolor/64x64/apps/org.pellox.Pellox.png
share/icons/hicolor/scalable/apps/org.pellox.Pellox.svg
share/man/man6/pellox.6
share/metainfo/org.pellox.Pellox.metainfo.xml"
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
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pellox" --version)
[ "$version" = "Pellox 0.1" ] || { echo "installed pellox --version said: $version"; exit 1; }
echo "installed tree: ok"
