#!/usr/bin/env bash
# Runs the game on a Wayland compositor without a screen (weston's headless
# back-end) and checks what that compositor shows: the start screen, then the
# game window with its purple see-through (weston's background shows there)
# and every other pixel of the handheld as drawn, its input region exactly the
# handheld (clicks on the purple pass through); then the exit button ends the
# program with status 0.
#
#   tools/wayland/run_on_weston.sh TOUR_PROGRAM OUT_DIR
#
# TOUR_PROGRAM is tests/wayland's pellox_wayland_tour (built as
# build/tests/wayland/pellox_wayland_tour). The screenshots land in OUT_DIR as
# start_screen.png and game.png, the game window's own picture as frame.png,
# the Wayland requests the game sent as wayland.log.
# Exit status 77 (skipped) when weston or Qt's Wayland platform is missing.
set -euo pipefail
tour=${1:?usage: run_on_weston.sh TOUR_PROGRAM OUT_DIR}
out=${2:?usage: run_on_weston.sh TOUR_PROGRAM OUT_DIR}
here=$(cd "$(dirname "$0")" && pwd)

for tool in weston weston-screenshooter; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (Debian: apt-get install weston)"
    exit 77
  fi
done
if ! compgen -G "/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so" >/dev/null; then
  echo "SKIP: Qt's Wayland platform is not installed (Debian: apt-get install qt6-wayland)"
  exit 77
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
rm -f "$out"/*.png
work=$(mktemp -d)
weston_pid=
tour_pid=
cleanup() {
  exec 3>&- 2>/dev/null || true
  [ -n "$tour_pid" ] && kill "$tour_pid" 2>/dev/null || true
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A private runtime folder: the socket, weston's lock and Qt's files stay ours.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=wl-pellox-$$
unset DISPLAY
# One flat background colour, so that see-through pixels are easy to tell, and
# no animations: the screen fades in at start and closed windows fade out.
cat > "$work/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff208040
panel-position=none
startup-animation=none
animation=none
close-animation=none
focus-animation=none
INI
# --use-pixman: the headless back-end renders nothing otherwise; --debug: the
# screenshooter is refused without it.
weston --config="$work/weston.ini" --backend=headless-backend.so --use-pixman --debug \
  --socket="$WAYLAND_DISPLAY" --width=1280 --height=800 --shell=desktop-shell.so \
  >"$work/weston.log" 2>&1 &
weston_pid=$!

fail() {
  echo "FAIL: $*"
  echo "--- the game said:"; cat "$work/tour.out" 2>/dev/null || true
  echo "--- weston said (last lines):"; tail -n 15 "$work/weston.log" || true
  exit 1
}

# Waits until the game has said a line starting with $1 (at most $2 seconds).
await() {
  local deadline=$((SECONDS + $2))
  until grep -q "^$1" "$work/tour.out" 2>/dev/null; do
    grep -q "^error" "$work/tour.out" 2>/dev/null && fail "the game reported an error"
    [ -n "$tour_pid" ] && ! kill -0 "$tour_pid" 2>/dev/null && [ "$1" != "exit status" ] &&
      fail "the game ended before saying \"$1\""
    [ "$SECONDS" -ge "$deadline" ] && fail "no \"$1\" within $2 s"
    sleep 0.05
  done
}

deadline=$((SECONDS + 10))
until [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ]; do
  kill -0 "$weston_pid" 2>/dev/null || fail "weston did not start"
  [ "$SECONDS" -ge "$deadline" ] && fail "weston's socket did not appear"
  sleep 0.05
done

# Screenshot of the whole output into $1. weston-screenshooter writes
# wayland-screenshot-<date>.png into the current folder.
shoot() {
  (cd "$work" && rm -f wayland-screenshot-*.png && timeout 10 weston-screenshooter) ||
    fail "weston-screenshooter failed"
  mv "$work"/wayland-screenshot-*.png "$1"
}

mkfifo "$work/commands"
# WAYLAND_DEBUG: the requests the game sends, among them its input region.
# In a sanitizer build the leaks Qt's Wayland platform leaves at exit are
# suppressed by library name (.ci/lsan.supp), which needs the slow unwinder.
QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0" \
  "$tour" <"$work/commands" >"$work/tour.out" 2>"$out/wayland.log" &
tour_pid=$!
exec 3>"$work/commands"

# The game says a window is shown a moment after it is exposed; on a busy
# machine its first picture may reach the screen later, so a check that fails
# is tried again on a fresh screenshot, twice at most.
checked() {
  local what=$1 attempt
  for attempt in 1 2 3; do
    [ "$attempt" -gt 1 ] && { echo "(trying again in a second)"; sleep 1; }
    take_$what
    python3 "$here/check_screenshots.py" "$what" "$out" && return 0
  done
  fail "the $what screenshot is not what the game draws"
}
take_start_screen() { shoot "$out/start_screen.png"; }
take_game() {
  shoot "$out/game.png"
  echo "frame $out/frame.png" >&3
  await_count "frame saved" "$((++frames_saved))" 10
}
frames_saved=0
# Like await, for the n-th time the line is said.
await_count() {
  local deadline=$((SECONDS + $3))
  until [ "$(grep -c "^$1" "$work/tour.out" 2>/dev/null)" -ge "$2" ]; do
    grep -q "^error" "$work/tour.out" 2>/dev/null && fail "the game reported an error"
    [ "$SECONDS" -ge "$deadline" ] && fail "no \"$1\" within $3 s"
    sleep 0.05
  done
}

await "start screen shown" 20
checked start_screen
echo start >&3
await "game window shown" 20
checked game
echo exit >&3
await "exit status" 10
status=0
wait "$tour_pid" || status=$?
tour_pid=
[ "$status" -eq 0 ] || fail "the game ended with status $status"
cat "$work/tour.out"
echo "PASS: screenshots in $out"
