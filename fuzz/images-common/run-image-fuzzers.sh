#!/bin/sh
# Builds the image decoder fuzz targets (preset "fuzz", or the build folder
# given) and runs each for SECONDS seconds (default 60) on a copy of the
# fixtures, failing on the first crash, leak, timeout or sanitizer report.
#   fuzz/images-common/run-image-fuzzers.sh [SECONDS] [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seconds=${1:-60}
build=${2:-$root/build/fuzz}
fixtures=$root/tests/images/fixtures

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXLO_BUILD_FUZZ=ON -DVEXLO_BUILD_TESTS=OFF -DVEXLO_BUILD_BENCH=OFF >/dev/null
targets="decode bmp jpeg png bgra tga dds"
for t in $targets; do
  cmake --build "$build" --target "images-$t-fuzzer" -j2
done

artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for t in $targets; do
  corpus=$work/$t
  mkdir -p "$corpus"
  case $t in
    decode) cp "$fixtures"/*.bmp "$fixtures"/*.png "$fixtures"/*.jpg "$fixtures"/*.tga "$fixtures"/*.dds "$fixtures"/*.bgra "$corpus"/ ;;
    jpeg) cp "$fixtures"/*.jpg "$corpus"/ ;;
    *) cp "$fixtures"/*."$t" "$corpus"/ ;;
  esac
  echo "== images-$t-fuzzer: $seconds s"
  (cd "$work" && "$build/fuzz/images-$t/images-$t-fuzzer" -max_total_time="$seconds" -timeout=30 \
      -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$artifacts/images-$t-" "$corpus" 2>"$work/$t.log") || {
    tail -n 60 "$work/$t.log"
    echo "images-$t-fuzzer: FAILED (report above, input kept in $artifacts)"
    exit 1
  }
  grep -E "stat::number_of_executed_units|cov:" "$work/$t.log" | tail -n 2 || true
done
echo "image fuzzers: no findings"
