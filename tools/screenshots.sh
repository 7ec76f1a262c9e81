#!/usr/bin/env bash
# Remakes the README's pictures from the built game under Xvfb: the start
# screen in Russian and in English, and a game of Kestrow in Game A. Run it
# whenever the look changes, and commit the pictures it writes.
#
#   tools/screenshots.sh [BUILD_DIR [OUT_DIR]]     (defaults: build, docs)
#
# Needs Xvfb, xdotool and ImageMagick's import (tools/setup-debian.sh installs
# them). The game runs in a fresh home, with no skins and no stored scores.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
out=$(realpath "${2:-$here/docs}")
program=$build/app/pellox
[ -x "$program" ] || { echo "screenshots: no $program: build the game first" >&2; exit 1; }
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is not installed (tools/setup-debian.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
stop_game() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; wait "$game_pid" 2>/dev/null || true; fi
  game_pid=
  # Its windows gone, so that the next search finds the next game's.
  for _ in $(seq 50); do xdotool search --onlyvisible --name '^Pellox ' >/dev/null 2>&1 || break; sleep 0.1; done
}
cleanup() {
  stop_game
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# A display number of Xvfb's own choosing, told through a file. No window
# manager: the start screen is taken without a frame, as in the README.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(cat "$work/display")
xsetroot -solid black 2>/dev/null || true

# Starts the game in a language; sets window to the start screen's id.
window=
start_game() {
  local lang=$1
  rm -rf "$work/home" "$work/start"
  mkdir -p -m 700 "$work/home" "$work/runtime"
  mkdir -p "$work/start"
  (cd "$work/start" && exec env -u WAYLAND_DISPLAY HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" \
      XDG_DATA_HOME="$work/home/data" XDG_DATA_DIRS="$work/none" XDG_CONFIG_HOME="$work/home/config" \
      LANG="$lang.UTF-8" LANGUAGE="${lang%%_*}" LC_ALL= QT_QPA_PLATFORM=xcb ALSOFT_DRIVERS=null \
      "$program" >"$work/game.log" 2>&1 </dev/null) &
  game_pid=$!
  window=$(timeout 15 xdotool search --sync --onlyvisible --name '^Pellox ' | head -n 1) ||
    { echo "screenshots: no start screen within 15 s" >&2; cat "$work/game.log" >&2; exit 1; }
  # The first paint, the skin search and the game window made after it.
  sleep 2
}

shoot_start_screen() {
  local lang=$1 file=$2
  start_game "$lang"
  import -window "$window" "$out/$file"
  echo "wrote $out/$file"
}

shoot_start_screen ru_RU start-screen-ru.png
stop_game
shoot_start_screen en_GB start-screen-en.png

# The game: Enter on the start screen, then Game A held and let go on the
# case. The game window opens at 194, 146 of the screen, its size 883 x 566.
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key --window "$window" Return
sleep 2
xdotool mousemove $((194 + 741 + 18)) $((146 + 76 + 10)) mousedown 1
sleep 0.5
xdotool mouseup 1
# A few eggs on their way down.
sleep 2.5
import -window root -crop 883x566+194+146 +repage "$out/game.png"
echo "wrote $out/game.png"
