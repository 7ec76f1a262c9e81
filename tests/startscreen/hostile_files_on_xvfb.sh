#!/usr/bin/env bash
# FIFOs where the game reads its own files at start (the scores file at its
# default place, the organisation's settings file beside it, the language
# file, the gamepad mapping file, the start screen's kept first frame) never
# hold the start screen: under Xvfb it
# paints, and Enter starts the game within 2 s. A FIFO there once blocked the
# window thread in open() for good (before any window for the scores file,
# after the first paint for the mapping file). Skipped (status 77) without
# Xvfb, xdotool or ImageMagick's import.
# hostile_files_on_xvfb.sh PROGRAM
set -euo pipefail
program=$(realpath "${1:?usage: hostile_files_on_xvfb.sh PROGRAM}")
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# shellcheck source=../support/start_xvfb.sh
source "$(dirname "$0")/../support/start_xvfb.sh"
start_xvfb_test
stop_game() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=
  fi
}

start_screens() { xdotool search --onlyvisible --name "$start_screen_title" 2>/dev/null || true; }

# One start with a FIFO at each of the given places under XDG_CONFIG_HOME
# (XDG_CACHE_HOME is its folder cache/).
try_with_fifos() {
  local what=$1
  shift
  rm -rf "$work/config" "$work/home" "$work/runtime"
  mkdir -p "$work/config/Ardwyn" "$work/home"
  mkdir -m 700 "$work/runtime"
  for place in "$@"; do
    mkdir -p "$(dirname "$work/config/$place")"
    mkfifo "$work/config/$place"
  done
  (cd "$work/home" && exec env -u PELLOX_RECORDS HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_CACHE_HOME="$work/config/cache" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb "$program" >"$work/game.log" 2>&1) &
  game_pid=$!

  local window
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$start_screen_title" | head -n 1) ||
    { echo "FAIL ($what): no start screen within 10 s"; cat "$work/game.log"; exit 1; }
  # Painted: the form's green shows left of the intro.
  local painted=
  for _ in $(seq 100); do
    if import -window "$window" -crop 1x1+100+20 txt:- 2>/dev/null | grep -q 'srgb(0,142,0)'; then painted=1; break; fi
    sleep 0.1
  done
  [ -n "$painted" ] || { echo "FAIL ($what): the start screen was not painted within 10 s"; exit 1; }

  # Without a window manager the keys go to the window under the pointer.
  xdotool mousemove --window "$window" 100 20
  xdotool key Return
  local answered=
  for _ in $(seq 40); do
    if [ -z "$(start_screens)" ]; then answered=1; break; fi
    sleep 0.05
  done
  [ -n "$answered" ] || { echo "FAIL ($what): Enter left the start screen up for 2 s"; cat "$work/game.log"; exit 1; }
  kill -0 "$game_pid" 2>/dev/null || { echo "FAIL ($what): the game ended"; cat "$work/game.log"; exit 1; }
  stop_game
  echo "$what: painted, Enter answered"
}

try_with_fifos "a FIFO as the gamepad mapping file" Ardwyn/gamecontrollerdb.txt
try_with_fifos "a FIFO as the scores file" Ardwyn/Kestrow.conf
try_with_fifos "a FIFO as the organisation's settings file" Ardwyn.conf
try_with_fifos "a FIFO as the language file" Ardwyn/Pellox.conf
try_with_fifos "a FIFO as the kept first frame" cache/pellox/start-screen-en-1000.frame \
  cache/pellox/start-screen-ru-1000.frame
