#!/usr/bin/env bash
# The Windows zip as a player gets it: CPack makes it from this build; it
# holds one folder with honomikasa.exe, DATA.QPA, the read-me and the fonts'
# licence and nothing else; unzipped into an empty folder, the game plays
# from there under Wine in a fresh prefix: the question, the title screen,
# Esc, exit code 0. (Wine's own zlib1.dll cannot be switched off: its
# desktop process needs it; check_imports.sh is the check on DLLs.)
#
#   package_windows.sh CPACK CPACK-CONFIG VERSION WINE-RUN
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play-lib.sh"
cpack=$1 config=$2 version=$3 wine_run=$4

require_display
artifacts=$PWD
work=$(mktemp -d)
display_holder=""
cleanup() {
  end_game
  [ -d "$work/prefix" ] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null
  [ -n "$display_holder" ] && kill "$display_holder" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
hold_display

"$cpack" --config "$config" -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$work/cpack.log")"
folder=honomikasa-$version-win64
zip=$work/out/$folder.zip
[ -f "$zip" ] || fail "no $folder.zip: $(ls "$work/out")"

mkdir "$work/player"
(cd "$work/player" && cmake -E tar xf "$zip") || fail "cannot unzip $zip"
contents=$(cd "$work/player" && find . -mindepth 1 | sort | tr '\n' ' ')
expected="./$folder ./$folder/DATA.QPA ./$folder/LICENSE-fonts.txt ./$folder/README.txt ./$folder/honomikasa.exe "
[ "$contents" = "$expected" ] || fail "the zip holds: $contents; expected: $expected"
echo "$folder.zip: $contents"

# A fresh prefix boots first (half a minute or more on a busy machine).
cd "$work/player/$folder"
echo "playing $folder.zip from $PWD"
# Hardware mode under Wine draws through software OpenGL: a frame can take
# most of a second, and a key is held longer than one.
KEY_HOLD=1
play_title_and_quit "$work/output.txt" n 150 "$wine_run" "$work/prefix" honomikasa.exe
echo "passed"
