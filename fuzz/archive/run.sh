#!/usr/bin/env bash
# Builds the archive fuzz targets with clang, makes their seed corpus and runs
# each for a bounded time; exits non-zero on any finding.
#   fuzz/archive/run.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$here/build/fuzz}
seconds=${2:-60}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXLO_BUILD_FUZZ=ON -DVEXLO_BUILD_TESTS=OFF -DVEXLO_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target archive_reader_fuzzer expand_compressed_fuzzer archive_fuzz_seeds -j2
work=$build/fuzz/archive/work
rm -rf "$work"
mkdir -p "$work/archives" "$work/blocks" "$work/found"
"$build/fuzz/archive/archive_fuzz_seeds" "$work/archives" "$work/blocks"
status=0
run() {
  local target=$1 corpus=$2
  echo "== $target for ${seconds}s"
  if ! "$build/fuzz/archive/$target" "$corpus" -max_total_time="$seconds" -max_len=65536 \
       -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$work/found/$target-" -print_final_stats=1 \
       >"$work/$target.log" 2>&1; then
    echo "$target: finding (see $work/$target.log and $work/found/)"
    tail -40 "$work/$target.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work/$target.log" | tail -2
  fi
}
run archive_reader_fuzzer "$work/archives"
run expand_compressed_fuzzer "$work/blocks"
exit $status
