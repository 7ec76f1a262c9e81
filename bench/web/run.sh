#!/usr/bin/env bash
# Builds what the page's benchmark needs (the page, the tick natively and in
# WebAssembly) and runs it: bench/web/page_bench.mjs, figures as JSON.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
host=${1:-$here/build}
cmake --build "$host" -j"$(nproc)" --target tick_bench
bash "$here/tools/build-web.sh" "$host" pellox_site tick_bench tick_bench_page
node "$here/bench/web/page_bench.mjs" "$here/build-web/site" "$host/bench/web/tick_bench" "$here/build-web/bench/web"
