#!/usr/bin/env bash
# Installs what is missing, builds Pellox in Release and runs every test.
# Tests need no display and no sound device: windows use Qt's offscreen platform.
# Then the game in a web browser: its build, the plain modules' tests under
# Node and the page in headless Chromium. PELLOX_WEB=0 leaves that part out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${PELLOX_BUILD_DIR:-$here/build}
bash "$here/tools/setup-debian.sh"
python3 "$here/tools/check_layers.py" "$here"
python3 "$here/tools/check_conflict_markers.py" "$here"
bash "$here/tools/check_man_page.sh" "$here/dist/pellox.6"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300

[ "${PELLOX_WEB:-1}" = 0 ] && exit 0
echo "== The game in a web browser"
web_start=$(date +%s)
bash "$here/tools/build-web.sh" "$build" pellox_site base_tests engine_tests skin_tests media_wave_tests media_timer_tests \
  media_effect_list_tests
(cd "$here/build-web" && ctest -L wasm --output-on-failure -j"$(nproc)" --timeout 300)
node "$here/tests/web/browser/page_tests.mjs" "$here/build-web/site" "$here/tests/assets/golden" "$build/app/pellox"
echo "The web part took $(( $(date +%s) - web_start )) s"
