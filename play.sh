#!/usr/bin/env bash
# Installs what is missing, builds Pellox in Release and starts the game.
# Any arguments are passed to the game (an optional skin file).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup-debian.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" --target pellox -j"$(nproc)"
exec "$here/build/app/pellox" "$@"
