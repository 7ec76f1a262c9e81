#!/usr/bin/env bash
# Installs a Pellox .deb on a fresh, minimal Debian 12 and starts the game
# there the way the desktop menu does, to show that the package brings every
# library it needs. Needs root, debootstrap, Xvfb, xdotool and ImageMagick on
# the host, and the network to reach the Debian mirror.
#
#   tools/package/check_on_fresh_debian.sh build/pellox_*.deb [WORK_DIR]
#
# WORK_DIR (default /tmp/pellox-fresh-debian) keeps the minimal system between
# runs; screenshots of the start screen and of the game land in it.
set -euo pipefail
deb=$(realpath "$1")
work=${2:-/tmp/pellox-fresh-debian}
root=$work/root
# The first display number no X server holds (by its lock file or socket).
display_number=63
while [ -e "/tmp/.X${display_number}-lock" ] || [ -e "/tmp/.X11-unix/X${display_number}" ]; do
    display_number=$((display_number + 1))
done
display=:$display_number
mirror=http://deb.debian.org/debian

if [ ! -x "$root/usr/bin/apt-get" ]; then
    mkdir -p "$work"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log"
fi

mounted=()
cleanup() {
    [ -n "${game_pid:-}" ] && kill "$game_pid" 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" || true; done
}
trap cleanup EXIT
bind() { mount --bind "$1" "$2"; mounted+=("$2"); }
mount -t proc proc "$root/proc"; mounted+=("$root/proc")
bind /dev "$root/dev"
mkdir -p "$root/tmp/.X11-unix"
bind /tmp/.X11-unix "$root/tmp/.X11-unix"
cp /etc/resolv.conf "$root/etc/resolv.conf"

cp "$deb" "$root/tmp/pellox.deb"
chroot "$root" apt-get update -qq
chroot "$root" apt-get install -y -qq /tmp/pellox.deb >"$work/install.log"
chroot "$root" dpkg-query -W -f='${Package} ${Version}\nDepends: ${Depends}\nRecommends: ${Recommends}\n' pellox

Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

# The desktop entry's command line, as a menu would run it: no file given,
# from the home folder.
exec_line=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/org.pellox.Pellox.desktop")
command=${exec_line% %f}
echo "Starting '$command' from the desktop entry"
mkdir -p -m 700 "$root/run/user/0"
chroot "$root" env -i DISPLAY="$display" HOME=/root XDG_RUNTIME_DIR=/run/user/0 PATH=/usr/bin:/bin \
    sh -c 'cd && exec "$0"' "$command" >"$work/stdout.log" 2>"$work/stderr.log" &
game_pid=$!
# A loaded machine may take a while; wait for the start screen to show.
DISPLAY=$display timeout 60 xdotool search --sync --onlyvisible --classname pellox >/dev/null
sleep 1
DISPLAY=$display /usr/bin/import -window root "$work/start-screen.png"
# The start button, in screen coordinates (the start screen opens at 169,110).
DISPLAY=$display xdotool mousemove 465 482 click 1
# The game window is the one of the handheld's size.
game_shown=no
for _ in $(seq 60); do
    DISPLAY=$display xwininfo -root -tree | grep -q '875x532' && { game_shown=yes; break; }
    sleep 0.5
done
[ "$game_shown" = yes ] || { echo "No window of the handheld's size (875x532) within 30 s"; cat "$work/stderr.log"; exit 1; }
sleep 1
DISPLAY=$display /usr/bin/import -window root "$work/game.png"
kill -0 "$game_pid" || { echo "The game is not running"; cat "$work/stderr.log"; exit 1; }
echo "The game runs. Standard error:"
cat "$work/stderr.log"
echo "Screenshots: $work/start-screen.png $work/game.png"
