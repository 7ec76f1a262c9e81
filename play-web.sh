#!/usr/bin/env bash
# Builds the game in a web browser into build-web/site/ and serves it on
# 127.0.0.1 with a plain static server. --no-serve: only build.
# PORT picks the port (8080 by default).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
serve=true
for arg in "$@"; do
  case "$arg" in
    --no-serve) serve=false ;;
    *) echo "usage: $0 [--no-serve]" >&2; exit 2 ;;
  esac
done
bash "$here/tools/build-web.sh" "$here/build"
site=$here/build-web/site
echo "Built: $site"
$serve || exit 0
port=${PORT:-8080}
echo "Pellox is at http://127.0.0.1:$port/  (http://127.0.0.1:$port/#play opens the demo; Ctrl+C stops)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
