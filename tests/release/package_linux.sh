#!/usr/bin/env bash
# The Linux packages as a player gets them: CPack makes the .deb and the
# .tar.gz of this build; the .deb, unpacked into an empty root, holds the
# launcher, the program and its archive, and the game started through the
# launcher from another folder finds its data: the question, the title
# screen, Esc, exit code 0. The .tar.gz holds the same tree.
#
#   package_linux.sh CPACK CPACK-CONFIG VERSION
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/play-lib.sh"
cpack=$1 config=$2 version=$3

require_display
command -v dpkg-deb >/dev/null || { echo "skipped: dpkg-deb is missing"; exit $SKIP; }
artifacts=$PWD
work=$(mktemp -d)
display_holder=""
trap 'end_game; [ -n "$display_holder" ] && kill "$display_holder" 2>/dev/null; rm -rf "$work"' EXIT
hold_display

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
tree=(bin/honomikasa lib/honomikasa/honomikasa share/honomikasa/DATA.QPA share/doc/honomikasa/copyright)
for file in "${tree[@]}"; do
  [ -f "$work/root/usr/$file" ] || fail "the .deb has no /usr/$file: $(dpkg-deb -c "$deb")"
done
[ -x "$work/root/usr/bin/honomikasa" ] && [ -x "$work/root/usr/lib/honomikasa/honomikasa" ] ||
  fail "the launcher or the program is not executable"
listing=$(tar -tzf "$tgz") || fail "cannot read $tgz"
for file in "${tree[@]}"; do
  grep -qx "honomikasa-$version-linux-x86_64/$file" <<<"$listing" || fail "the .tar.gz has no $file: $listing"
done

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
