#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs each for SECONDS over a
# copy of its seed corpus and prints libFuzzer's final figures.
#
# Usage: tools/fuzz.sh [SECONDS] [TARGET...]     (30 s and every target by default)
#
# Exits 1 when a target crashed, leaked, hung (over 10 s on one input) or ran
# out of memory; the input that did it is kept in the output folder, outside
# the repository (PELLOX_FUZZ_OUT, by default a new folder under /tmp).
# PELLOX_FUZZ_SKIP_BUILD=1 runs what is built already (for runs side by side).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
[ $# -gt 0 ] && shift
all_targets=(fuzz_wave fuzz_sprite_entry fuzz_skin_file fuzz_records fuzz_skin_launch fuzz_install_skins)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
build=${PELLOX_FUZZ_BUILD_DIR:-$top/build-fuzz}
out=${PELLOX_FUZZ_OUT:-$(mktemp -d /tmp/pellox-fuzz.XXXXXX)}
mkdir -p "$out"

if [ "${PELLOX_FUZZ_SKIP_BUILD:-0}" != 1 ]; then
  bash "$top/tools/setup-debian.sh"
  # clang 14 and its libFuzzer and sanitizer run-times.
  missing=()
  for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$top" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELLOX_FUZZ=ON -DPELLOX_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
  # The build runs our own tools (picture and wave makers), built with the
  # sanitizers too; their leaks at exit are no concern of the build.
  ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j"${PELLOX_FUZZ_JOBS:-2}" --target "${targets[@]}"
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$top/.ci/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for t in "${targets[@]}"; do
  dir="$out/$t"
  rm -rf "$dir"
  mkdir -p "$dir/corpus" "$dir/found"
  cp -r "$top/tests/fuzz/corpus/$t/." "$dir/corpus/"
  dict=()
  case "$t" in
    fuzz_wave) dict=(-dict="$top/tests/fuzz/wave.dict") ;;
    fuzz_skin_file) dict=(-dict="$top/tests/fuzz/skin.dict") ;;
    fuzz_skin_launch) dict=(-dict="$top/tests/fuzz/skin_launch.dict") ;;
    fuzz_records) dict=(-dict="$top/tests/fuzz/records.dict") ;;
    fuzz_install_skins) dict=(-dict="$top/tests/fuzz/install.dict") ;;
  esac
  echo "== $t: $seconds s"
  status=0
  # The scratch files of a target live in its own folder under /dev/shm or
  # /tmp; the run's working directory is the output folder.
  (cd "$dir" && "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$dir/found/" "${dict[@]}" \
    "$dir/corpus" >"$dir/log" 2>&1) || status=$?
  grep -E '^#[0-9]+[[:space:]]+DONE' "$dir/log" | tail -1 || true
  grep -E '^stat::' "$dir/log" || true
  if [ $status -ne 0 ]; then
    echo "!! $t failed (status $status):"
    grep -E 'ERROR: |SUMMARY: |runtime error|Test unit written|ALARM' "$dir/log" | head -20 || true
    echo "!! log: $dir/log; reproducer(s): $(ls "$dir/found" | tr '\n' ' ')"
    failed+=("$t")
  fi
done

echo "== Output (logs, grown corpora, reproducers): $out"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Failed: ${failed[*]}"
  exit 1
fi
