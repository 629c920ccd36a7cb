#!/usr/bin/env bash
# qpa from the command line: create, list, extract and verify round-trip a
# tree with nested folders and Japanese names; an existing archive is kept
# without --force; wrong keys, damaged archives, name keys that do not match
# their names and bad usage fail non-zero; a tree too deep to follow is
# reported as such.
set -uo pipefail
qpa=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Flips the lowest bit of the byte at offset $2 of file $1. Keying is an XOR,
# so the plain byte under it flips the same bit, whatever the key.
flip() {
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  printf "$(printf '\\%03o' $((byte ^ 1)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}
mkdir -p "$work/src/SUB/深い"
printf 'hello hello hello hello hello\n' > "$work/src/a.txt"
head -c 5000 /dev/urandom > "$work/src/noise.bin"
seq 1 3000 > "$work/src/SUB/numbers.txt"
echo 表示 > "$work/src/SUB/深い/表.txt"
: > "$work/src/empty"

"$qpa" create "$work/out.qpa" "$work/src" --key secret >/dev/null || fail "create"
"$qpa" create "$work/out.qpa" "$work/src" --key secret 2>/dev/null && fail "overwrote without --force"
"$qpa" create "$work/out.qpa" "$work/src" --key secret --force >/dev/null || fail "create --force"
listing=$("$qpa" list "$work/out.qpa" --key secret)
grep -q 'SUB\\深い\\表.txt' <<<"$listing" || fail "list shows the names in UTF-8"
"$qpa" verify "$work/out.qpa" --key secret >/dev/null || fail "verify"
"$qpa" verify "$work/out.qpa" --key wrong 2>/dev/null && fail "a wrong key verified"
"$qpa" extract "$work/out.qpa" "$work/back" --key secret || fail "extract"
diff -r "$work/src" "$work/back" || fail "extracted tree differs"

for version in 0 1 2 3; do
  "$qpa" create "$work/v$version.qpa" "$work/src" --version $version >/dev/null || fail "create v$version"
  "$qpa" extract "$work/v$version.qpa" "$work/v$version" >/dev/null || fail "extract v$version"
  diff -r "$work/src" "$work/v$version" || fail "v$version differs"
done
"$qpa" create "$work/fb.qpa" "$work/src" --fallback-key --no-compress >/dev/null || fail "fallback key"
"$qpa" verify "$work/fb.qpa" --key anything >/dev/null || fail "the fallback key opens with any key"

head -c 100 "$work/out.qpa" > "$work/cut.qpa"
"$qpa" verify "$work/cut.qpa" --key secret 2>/dev/null && fail "a cut archive verified"
"$qpa" list "$work/missing.qpa" 2>/dev/null && fail "a missing archive listed"
"$qpa" create "$work/x.qpa" "$work/src" --version 9 2>/dev/null; [ $? -eq 2 ] || fail "bad version is a usage error"
"$qpa" frobnicate 2>/dev/null; [ $? -eq 2 ] || fail "unknown command is a usage error"
# A stored name key (parity, search form) that does not match the name: the
# engine's lookup can never find the member, so verify and extract fail and
# name it. The writer ends the archive with the tables block: for one file
# a.txt, its name entry (20 bytes), its file entry (44) and the root (16).
mkdir "$work/one"
echo one > "$work/one/a.txt"
"$qpa" create "$work/one.qpa" "$work/one" --key secret >/dev/null || fail "create one"
"$qpa" verify "$work/one.qpa" --key secret >/dev/null || fail "verify one"
names=$(( $(stat -c %s "$work/one.qpa") - 80 ))
for field in 2 4; do  # the parity, the first byte of the search form
  cp "$work/one.qpa" "$work/key$field.qpa"
  flip "$work/key$field.qpa" $((names + field))
  "$qpa" verify "$work/key$field.qpa" --key secret >/dev/null 2>"$work/err" &&
    fail "a damaged name key (byte $field) verified"
  grep -q 'name key does not match.*a\.txt' "$work/err" || fail "verify does not name the member: $(cat "$work/err")"
  "$qpa" extract "$work/key$field.qpa" "$work/key$field" --key secret >/dev/null 2>&1 &&
    fail "a damaged name key (byte $field) extracted as if sound"
  [ "$(cat "$work/key$field/a.txt")" = one ] || fail "extract did not keep the member's bytes"
done

# A tree deeper than the tool follows (a path over 1024 bytes) is not called
# damaged: the message says what happened and where.
deep="$work/deep"
long=$(printf 'd%.0s' $(seq 200))
mkdir -p "$deep/$long/$long/$long/$long/$long/$long"
echo deep > "$deep/$long/$long/$long/$long/$long/$long/f.txt"
"$qpa" create "$work/deep.qpa" "$deep" >/dev/null || fail "create deep"
"$qpa" verify "$work/deep.qpa" >/dev/null 2>"$work/err" && fail "a path over the limit verified"
grep -q "longer than 1024 bytes.*: ddddd" "$work/err" || fail "the long path is not reported: $(cat "$work/err")"
grep -q damaged "$work/err" && fail "a deep tree reported as damaged: $(cat "$work/err")"
echo "qpa command line: all checks passed"
