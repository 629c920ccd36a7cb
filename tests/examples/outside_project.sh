#!/usr/bin/env bash
# examples/sprite built as a project of someone else's: the vexlo-dev
# component of this build is installed into an empty prefix, and the
# example is configured and built against it twice, as documented in
# docs/first-game.md: once with Vexlo::engine over this platform's adapter
# (SDL2 on Linux, Win32 on Windows), once with -DVEXLO_PLATFORM=headless,
# which is run and must show the example's golden frame. On Linux the
# vexlo-dev .deb of this build, unpacked, must hold the same files as the
# install, and the example builds and runs against it too.
#
#   outside_project.sh native  BUILD EXAMPLE GOLDEN CPACK
#   outside_project.sh windows BUILD EXAMPLE GOLDEN TOOLCHAIN WINE-RUN OBJDUMP
#
# On Windows the program built against the package must be as
# self-contained as the game (tests/release/check_imports.sh).
set -uo pipefail
platform=$1 build=$2 example=$3 golden=$4
fail() { echo "FAILED: $*"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --component vexlo-dev --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "install: $(tail -n 20 "$work/install.log")"
# qpa is the build machine's: a cross build installs the native build's.
for file in include/vexlo/Engine.h bin/qpa; do
  [ -f "$prefix/$file" ] || fail "the install has no $file: $(cd "$prefix" && find . -type f)"
done
config=$(cd "$prefix" && find . -name VexloConfig.cmake)
[ -n "$config" ] || fail "the install has no VexloConfig.cmake"
echo "installed: $(cd "$prefix" && find . -type f | wc -l) files, $config"

# configure_and_build NAME ARGS...: the example in $work/NAME.
configure_and_build() {
  local name=$1
  shift
  cmake -S "$example" -B "$work/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" \
    >"$work/$name.log" 2>&1 || fail "$name: configure: $(tail -n 30 "$work/$name.log")"
  cmake --build "$work/$name" >>"$work/$name.log" 2>&1 ||
    fail "$name: build: $(tail -n 30 "$work/$name.log")"
  echo "$name: built"
}

# run_headless NAME [EMULATOR...]: half a second of walking right, the
# frame the golden test of the example keeps.
run_headless() {
  local name=$1
  shift
  (cd "$work/$name" && VEXLO_HEADLESS_FRAME=30 VEXLO_HEADLESS_KEYS=205 \
    VEXLO_HEADLESS_GOLDEN="$golden" "$@" ./sprite) || fail "$name: the headless run failed"
}

if [ "$platform" = native ]; then
  cpack=$5
  configure_and_build engine -DCMAKE_PREFIX_PATH="$prefix"
  ldd "$work/engine/sprite" | grep -q libSDL2 || fail "the program does not use SDL2: $(ldd "$work/engine/sprite")"
  configure_and_build headless -DCMAKE_PREFIX_PATH="$prefix" -DVEXLO_PLATFORM=headless
  run_headless headless

  "$cpack" --config "$build/CPackConfig.cmake" -G DEB -D CPACK_COMPONENTS_ALL=vexlo-dev \
    -B "$work/deb" >"$work/cpack.log" 2>&1 || fail "cpack: $(tail -n 20 "$work/cpack.log")"
  deb=$(ls "$work"/deb/vexlo-dev_*.deb 2>/dev/null)
  [ -n "$deb" ] || fail "no vexlo-dev .deb: $(ls "$work/deb")"
  [ "$(dpkg-deb -f "$deb" Package)" = vexlo-dev ] || fail "package name $(dpkg-deb -f "$deb" Package)"
  grep -q libsdl2-dev <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends: $(dpkg-deb -f "$deb" Depends)"
  dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x"
  installed=$(cd "$prefix" && find . -type f | sort)
  packaged=$(cd "$work/root/usr" && find . -type f | sort)
  [ "$installed" = "$packaged" ] || fail "the .deb and the install differ: $(diff <(echo "$installed") <(echo "$packaged"))"
  echo "$(basename "$deb"): the same $(wc -l <<<"$packaged") files as the install"
  configure_and_build from-deb -DCMAKE_PREFIX_PATH="$work/root/usr" -DVEXLO_PLATFORM=headless
  run_headless from-deb
else
  toolchain=$5 wine_run=$6 objdump=$7
  # The example's sheet is drawn at build time by a Windows program run
  # under Wine, in the prefix the toolchain file names inside each build
  # folder: both builds share the prefix of this build tree (booted already).
  for name in engine headless; do
    mkdir -p "$work/$name"
    ln -s "$build/wineprefix" "$work/$name/wineprefix"
  done
  vexlo_dir=$prefix/$(dirname "$config")
  configure_and_build engine -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVexlo_DIR="$vexlo_dir"
  [ -f "$work/engine/sprite.exe" ] || fail "no sprite.exe"
  bash "$(dirname "$0")/../release/check_imports.sh" "$objdump" "$work/engine/sprite.exe" ||
    fail "sprite.exe needs more than the system's DLLs"
  configure_and_build headless -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVexlo_DIR="$vexlo_dir" \
    -DVEXLO_PLATFORM=headless
  run_headless headless "$wine_run" "$build/wineprefix"
fi
echo "passed"
