#!/usr/bin/env bash
# The Windows zip as a player gets it: CPack makes it from this build; it
# holds one folder with honomikasa.exe, DATA.QPA, the read-mes in English
# and Japanese (for Notepad: Windows line ends, and UTF-8 with a byte-order
# mark for the Japanese one) and the fonts' licence and nothing else;
# unzipped into an empty folder, the game plays from there under Wine in a
# fresh prefix: the question, the title screen, Esc, exit code 0. (Wine's
# own zlib1.dll cannot be switched off: its desktop process needs it;
# check_imports.sh is the check on DLLs.) Without a display the zip is
# still checked, and only the game is skipped.
#
#   package_windows.sh CPACK CPACK-CONFIG VERSION WINE-RUN
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play-lib.sh"
cpack=$1 config=$2 version=$3 wine_run=$4

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

"$cpack" --config "$config" -G ZIP -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$work/cpack.log")"
folder=honomikasa-$version-win64
zip=$work/out/$folder.zip
[ -f "$zip" ] || fail "no $folder.zip: $(ls "$work/out")"

mkdir "$work/player"
(cd "$work/player" && cmake -E tar xf "$zip") || fail "cannot unzip $zip"
contents=$(cd "$work/player" && find . -mindepth 1 | sort | tr '\n' ' ')
expected="./$folder ./$folder/DATA.QPA ./$folder/LICENSE-fonts.txt ./$folder/README-ja.txt ./$folder/README.txt ./$folder/honomikasa.exe "
[ "$contents" = "$expected" ] || fail "the zip holds: $contents; expected: $expected"
echo "$folder.zip: $contents"

texts=$work/player/$folder
for readme in README.txt README-ja.txt; do
  grep -q "$version" "$texts/$readme" || fail "$readme does not carry the version $version"
  [ "$(grep -c $'\r$' "$texts/$readme")" = "$(wc -l <"$texts/$readme")" ] ||
    fail "$readme has lines without Windows line ends"
done
[ "$(head -c 3 "$texts/README-ja.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  fail "README-ja.txt has no UTF-8 byte-order mark"
iconv -f UTF-8 -t UTF-16 "$texts/README-ja.txt" >/dev/null || fail "README-ja.txt is not UTF-8"
grep -q 'ほのみかさ' "$texts/README-ja.txt" || fail "README-ja.txt is not the Japanese read-me"

# The rest needs a display: without one, only the game is skipped.
require_display
hold_display

# A fresh prefix boots first (half a minute or more on a busy machine).
cd "$work/player/$folder"
echo "playing $folder.zip from $PWD"
# Hardware mode under Wine draws through software OpenGL: a frame can take
# most of a second, and a key is held longer than one.
KEY_HOLD=1
play_title_and_quit "$work/output.txt" n 150 "$wine_run" "$work/prefix" honomikasa.exe
echo "passed"
