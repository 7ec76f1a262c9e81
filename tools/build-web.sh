#!/usr/bin/env bash
# Builds the game in a web browser into build-web/site/: installs what is
# missing (emscripten, Chromium for the tests, the npm packages from the
# committed lockfile), builds the native host tools that render the pictures
# and sounds when they are missing, then the page with emscripten.
# Usage: tools/build-web.sh [HOST_BUILD_DIR [TARGET...]]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
host=${1:-$here/build}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(pellox_site)

bash "$here/tools/setup-debian.sh"
bash "$here/tools/setup-debian.sh" web
# emscripten's optimiser needs Debian's acorn, which another Node.js does not find.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Never a browser downloaded by a package: the tests drive Debian's.
export PUPPETEER_SKIP_DOWNLOAD=1

if [ ! -d "$here/node_modules" ] || [ "$here/package-lock.json" -nt "$here/node_modules/.package-lock.json" ]; then
  (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
fi

host_tools=(tools/svg2bmp/pellox_svg2bmp tools/wavesynth/wavesynth tools/iconpng/pellox_iconpng skins/night-shift/night-shift.ini)
need_host=false
for tool in "${host_tools[@]}"; do [ -e "$host/$tool" ] || need_host=true; done
if $need_host; then
  cmake -S "$here" -B "$host" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$host" -j"$(nproc)" --target pellox_svg2bmp wavesynth pellox_iconpng pellox_skin_night_shift
fi

emcmake cmake -S "$here" -B "$here/build-web" -DCMAKE_BUILD_TYPE=Release -DPELLOX_HOST_BUILD="$host" >/dev/null
cmake --build "$here/build-web" -j"$(nproc)" --target "${targets[@]}"
