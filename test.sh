#!/usr/bin/env bash
# Installs what is missing, builds Pellox in Release and runs every test.
# Tests need no display and no sound device: windows use Qt's offscreen platform.
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
