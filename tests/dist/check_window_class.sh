#!/usr/bin/env bash
# The desktop knows the game's windows under X11: the class Qt gives the start
# screen is the desktop entry's StartupWMClass, and the window carries its
# icon at every size the icon theme gets. Skipped (status 77) without Xvfb,
# xdotool or xprop.
# check_window_class.sh PROGRAM DESKTOP_ENTRY "ICON SIZES"
set -euo pipefail
usage='usage: check_window_class.sh PROGRAM DESKTOP_ENTRY "ICON SIZES"'
program=$(realpath "${1:?$usage}")
entry=${2:?$usage}
sizes=${3:?$usage}
for tool in Xvfb xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number of Xvfb's own choosing, told through a file.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$(cat "$work/display")

mkdir -m 700 "$work/runtime" "$work/home"
(cd "$work/home" && HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb "$program" >"$work/game.log" 2>&1) &
game_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pellox .*(version|версия) ' | head -n 1) ||
  { echo "FAIL: no start screen within 10 s"; cat "$work/game.log"; exit 1; }

class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wanted" ] || { echo "FAIL: $entry names no StartupWMClass"; exit 1; }
[ "$class" = "$wanted" ] || { echo "FAIL: the window's class is \"$class\", the desktop entry says \"$wanted\""; exit 1; }

# The icons as the window manager reads them: width, height, then the pixels,
# one after the other (xprop's own icon listing leaves out the largest).
icons=$(xprop -id "$window" -len 4000000 -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr ',' '\n' |
  awk '{ v[NR] = $1 } END { for (i = 1; i + 1 <= NR; i += 2 + v[i] * v[i + 1]) print v[i] "x" v[i + 1] }' |
  sort -n | xargs)
wanted_icons=$(for size in $sizes; do echo "${size}x$size"; done | sort -n | xargs)
[ "$icons" = "$wanted_icons" ] || { echo "FAIL: the window's icon comes at $icons, not at $wanted_icons"; exit 1; }
echo "window class $class, icon sizes $icons: ok"
