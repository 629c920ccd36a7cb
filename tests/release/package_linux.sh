#!/usr/bin/env bash
# The Linux packages as a player gets them: CPack makes the .deb and the
# .tar.gz of this build; the .deb, unpacked into an empty root, holds the
# launcher, the program and its archive, the read-mes in English and
# Japanese, the menu entry (valid for desktop-file-validate) and the icon it
# names in each size of the hicolor theme; the game started through the
# launcher from another folder finds its data: the question, the title
# screen, Esc, exit code 0. The .tar.gz holds the same tree. Without a
# display the packages are still checked, and only the game is skipped.
#
#   package_linux.sh CPACK CPACK-CONFIG VERSION ICON-SIZES
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play-lib.sh"
cpack=$1 config=$2 version=$3 icon_sizes=$4

for tool in dpkg-deb desktop-file-validate identify; do
  command -v $tool >/dev/null || fail "$tool is missing (scripts/bootstrap installs it)"
done
artifacts=$PWD
work=$(mktemp -d)
display_holder=""
trap 'end_game; [ -n "$display_holder" ] && kill "$display_holder" 2>/dev/null; rm -rf "$work"' EXIT

"$cpack" --config "$config" -G "DEB;TGZ" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$work/cpack.log")"
deb=$work/out/honomikasa_${version}_$(dpkg --print-architecture).deb
tgz=$work/out/honomikasa-$version-linux-x86_64.tar.gz
[ -f "$deb" ] && [ -f "$tgz" ] || fail "packages made: $(ls "$work/out")"

[ "$(dpkg-deb -f "$deb" Package)" = honomikasa ] || fail "package name: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version: $(dpkg-deb -f "$deb" Version), expected $version"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libsdl2 <<<"$depends" || fail "the .deb does not depend on SDL2: $depends"
echo "$(basename "$deb"): Depends: $depends"

dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
tree=(bin/honomikasa lib/honomikasa/honomikasa share/honomikasa/DATA.QPA share/doc/honomikasa/copyright
  share/doc/honomikasa/README.txt share/doc/honomikasa/README-ja.txt share/applications/honomikasa.desktop)
for size in ${icon_sizes//,/ }; do
  tree+=("share/icons/hicolor/${size}x$size/apps/honomikasa.png")
done
for file in "${tree[@]}"; do
  [ -f "$work/root/usr/$file" ] || fail "the .deb has no /usr/$file: $(dpkg-deb -c "$deb")"
done
[ -x "$work/root/usr/bin/honomikasa" ] && [ -x "$work/root/usr/lib/honomikasa/honomikasa" ] ||
  fail "the launcher or the program is not executable"
listing=$(tar -tzf "$tgz") || fail "cannot read $tgz"
for file in "${tree[@]}"; do
  grep -qx "honomikasa-$version-linux-x86_64/$file" <<<"$listing" || fail "the .tar.gz has no $file: $listing"
done

# The menu entry, as the desktop reads it, and the icon it names: each size
# an image of that size with an alpha channel, the picture opaque in the
# middle (the player's face) on a transparent ground (the corners).
entry=$work/root/usr/share/applications/honomikasa.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry: $(cat "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ "$icon" = honomikasa ] || fail "the menu entry names the icon '$icon', not the one installed (honomikasa)"
for size in ${icon_sizes//,/ }; do
  png=$work/root/usr/share/icons/hicolor/${size}x$size/apps/$icon.png
  geometry=$(identify -format '%wx%h %[channels]' "$png") || fail "not an image: $png"
  [[ $geometry == "${size}x$size srgba"* ]] || fail "the ${size}x$size icon is $geometry"
  alpha=$(identify -format '%[fx:p{0,0}.a] %[fx:p{w-1,0}.a] %[fx:p{w/2,h/2}.a]' "$png")
  [ "$alpha" = "0 0 1" ] || fail "the ${size}x$size icon's alpha at the top corners and the middle: $alpha"
done
echo "menu entry valid, icon $icon in sizes ${icon_sizes//,/ }"

# The read-mes: the version filled in, and both languages, the Japanese one
# in UTF-8.
docs=$work/root/usr/share/doc/honomikasa
for readme in README.txt README-ja.txt; do
  grep -q "$version" "$docs/$readme" || fail "$readme does not carry the version $version"
done
iconv -f UTF-8 -t UTF-16 "$docs/README-ja.txt" >/dev/null || fail "README-ja.txt is not UTF-8"
grep -q 'ほのみかさ' "$docs/README-ja.txt" || fail "README-ja.txt is not the Japanese read-me"

require_display
hold_display

# The player's own folder, with no data in it, and the launcher on the
# PATH through a link (as a link in ~/bin would be).
mkdir -p "$work/elsewhere" "$work/path" "$work/runtime"
chmod 700 "$work/runtime"
ln -s "$work/root/usr/bin/honomikasa" "$work/path/honomikasa"
cd "$work/elsewhere"
echo "playing $(basename "$deb") from $PWD"
export XDG_RUNTIME_DIR=$work/runtime PATH=$work/path:$PATH
play_title_and_quit "$work/output.txt" Escape 30 honomikasa
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the player's folder: $(ls -A "$work/elsewhere")"
echo "passed"
