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

# shellcheck source=../support/start_xvfb.sh
source "$(dirname "$0")/../support/start_xvfb.sh"
start_xvfb_test

mkdir -m 700 "$work/runtime" "$work/home"
(cd "$work/home" && HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb "$program" >"$work/game.log" 2>&1) &
game_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "$start_screen_title" | head -n 1) ||
  { echo "FAIL: no start screen within 10 s"; cat "$work/game.log"; exit 1; }

class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ -n "$wanted" ] || { echo "FAIL: $entry names no StartupWMClass"; exit 1; }
[ "$class" = "$wanted" ] || { echo "FAIL: the window's class is \"$class\", the desktop entry says \"$wanted\""; exit 1; }

# The icons as the window manager reads them: width, height, then the pixels,
# one after the other (xprop's own icon listing leaves out the largest).
# The icon comes just after the start screen's first paint.
wanted_icons=$(for size in $sizes; do echo "${size}x$size"; done | sort -n | xargs)
for _ in $(seq 50); do
  icons=$(xprop -id "$window" -len 4000000 -notype -f _NET_WM_ICON 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr ',' '\n' |
    awk '{ v[NR] = $1 } END { for (i = 1; i + 1 <= NR; i += 2 + v[i] * v[i + 1]) print v[i] "x" v[i + 1] }' |
    sort -n | xargs)
  [ "$icons" = "$wanted_icons" ] && break
  sleep 0.1
done
[ "$icons" = "$wanted_icons" ] || { echo "FAIL: the window's icon comes at $icons, not at $wanted_icons"; exit 1; }
echo "window class $class, icon sizes $icons: ok"
