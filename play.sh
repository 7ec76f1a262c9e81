#!/usr/bin/env bash
# Installs what is missing, builds Pellox in Release and starts the game.
# Arguments go to the game: a skin file (.ini) is played instead of the built-in game.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup-debian.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" --target pellox -j"$(nproc)"
exec "$here/build/app/pellox" "$@"
