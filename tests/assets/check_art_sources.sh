#!/usr/bin/env bash
# The drawing scripts draw exactly the committed SVG sources: the sprite table,
# the start screen's picture list, the drawing library and its three writers
# still agree with what the build renders.
# Usage: check_art_sources.sh SOURCE_ROOT
set -euo pipefail
src=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
status=0

check() {  # writer script, folder of the sources it draws
  local writer=$1 folder=$2 drawn=$out/$2 f
  mkdir -p "$drawn"
  python3 -B "$src/$writer" "$drawn"
  for f in "$src/$folder"/*.svg; do
    if [ ! -e "$drawn/${f##*/}" ]; then
      echo "$writer draws no $folder/${f##*/}"; status=1
    elif ! cmp -s "$f" "$drawn/${f##*/}"; then
      echo "$writer draws $folder/${f##*/} otherwise than committed"; status=1
    fi
  done
  for f in "$drawn"/*.svg; do
    [ -e "$src/$folder/${f##*/}" ] || { echo "$writer draws $folder/${f##*/}, which is not committed"; status=1; }
  done
}

check assets/sprites/generate.py assets/sprites
check assets/skins/night-shift/generate.py assets/skins/night-shift/svg
check assets/startscreen/pictures/generate.py assets/startscreen/pictures
[ $status = 0 ] && echo "every picture source is what its script draws"
exit $status
