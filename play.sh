#!/usr/bin/env bash
# Installs what is missing, builds Pellox in Release and starts the game.
# Arguments are handed to the game unchanged; today it reads none.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bash "$here/tools/setup-debian.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" --target pellox -j"$(nproc)"
exec "$here/build/app/pellox" "$@"
