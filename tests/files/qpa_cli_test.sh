#!/usr/bin/env bash
# qpa from the command line: create, list, extract and verify round-trip a
# tree with nested folders and Japanese names; an existing archive is kept
# without --force; wrong keys, damaged archives and bad usage fail non-zero.
set -uo pipefail
qpa=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir -p "$work/src/SUB/深い"
printf 'hello hello hello hello hello\n' > "$work/src/a.txt"
head -c 5000 /dev/urandom > "$work/src/noise.bin"
seq 1 3000 > "$work/src/SUB/numbers.txt"
echo 表示 > "$work/src/SUB/深い/表.txt"
: > "$work/src/empty"

"$qpa" create "$work/out.qpa" "$work/src" --key secret >/dev/null || fail "create"
"$qpa" create "$work/out.qpa" "$work/src" --key secret 2>/dev/null && fail "overwrote without --force"
"$qpa" create "$work/out.qpa" "$work/src" --key secret --force >/dev/null || fail "create --force"
"$qpa" list "$work/out.qpa" --key secret | grep -q 'SUB\\深い\\表.txt' || fail "list shows the names in UTF-8"
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
echo "qpa command line: all checks passed"
