#!/usr/bin/env bash
# The reference is generated from Engine.h with no warning at all, and its
# page of Engine.h names every operation the header declares. Then the
# check is shown to bite: a copy of the header with one operation's
# comment, or one argument's line, taken out must fail the run, naming
# what is missing.
#
#   check_reference.sh DOXYGEN DOXYFILE OUTPUT DAMAGED-DOXYFILE DAMAGED-HEADER HEADER
set -uo pipefail
doxygen=$1 doxyfile=$2 output=$3 damaged_doxyfile=$4 damaged=$5 header=$6
fail() { echo "FAILED: $*"; exit 1; }

log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$doxygen" "$doxyfile" >"$log" 2>&1 || fail "doxygen failed: $(cat "$log")"
[ ! -s "$log" ] || fail "doxygen warned: $(cat "$log")"
page=$output/html/Engine_8h.html
[ -f "$page" ] || fail "no $page"
operations=$(grep -oE '^int [A-Za-z]+\(' "$header" | sed -E 's/^int ([A-Za-z]+)\(/\1/')
[ "$(wc -w <<<"$operations")" -ge 25 ] || fail "the header's operations were not found: $operations"
for operation in $operations; do
  grep -q "$operation" "$page" || fail "the reference does not name $operation"
done
echo "reference: $(wc -w <<<"$operations") operations, no warning"

# take_out_comment NAME: the header without the comment block above NAME(.
take_out_comment() {
  awk -v name="$1" '
    /^\/\/\// { block = block $0 "\n"; next }
    { if (index($0, " " name "(") == 0) printf "%s", block; block = ""; print }
    END { printf "%s", block }' "$header"
}

check_damage() {
  local what=$1 expected=$2
  "$doxygen" "$damaged_doxyfile" >"$log" 2>&1 && fail "$what: doxygen passed: $(cat "$log")"
  grep -q "$expected" "$log" || fail "$what: the warnings do not name $expected: $(cat "$log")"
  echo "$what: refused, naming $expected"
}

mkdir -p "$(dirname "$damaged")"
take_out_comment NowMilliseconds >"$damaged"
grep -q 'int NowMilliseconds(' "$damaged" || fail "the damaged header lost the operation itself"
check_damage "an operation without its comment" NowMilliseconds

grep -v '@param keyText' "$header" >"$damaged"
check_damage "an argument without its line" "parameters of member SetArchiveKey"
echo "passed"
