# The checks of a logged run's Log.txt: the allocator's dump at shut-down
# and the lines a run must (or must not) show. Each fails the test through
# fail, naming the run ($run). Sourced after game-lib.sh.

# Log.txt ends with the allocator's dump: its header, one line per block
# still live, and the totals. Nothing may stand between header and totals.
check_log() {
  local log=$1 dump
  [ -f "$log" ] || fail "$run: no Log.txt was written"
  dump=$(tr -d '\r' <"$log" | awk '/^[0-9]+:Alloc memory dump$/ {n = NR; block = ""} n && NR > n {block = block $0 "\n"} END {printf "%s", block}')
  [ -n "$dump" ] || fail "$run: Log.txt has no allocator dump"
  local first
  first=$(head -n 1 <<<"$dump")
  [[ $first =~ ^[0-9]+:$'\t'"Total size:0(0.000kb)  Alloc num:0"$ ]] ||
    fail "$run: blocks still live at shut-down:"$'\n'"$(head -n 20 <<<"$dump")"
  echo "  Log.txt: no block live at shut-down"
}

# The log's lines in UTF-8, time prefixes and indentation dropped.
log_texts() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | sed 's/^[0-9]*:\t*//'; }

# Each of the lines must stand in the log, in this order.
check_log_lines() {
  local log=$1 texts line from=1 at
  shift
  texts=$(log_texts "$log")
  for line in "$@"; do
    at=$(awk -v want="$line" -v from="$from" 'NR >= from && $0 == want {print NR; exit}' <<<"$texts")
    [ -n "$at" ] || fail "$run: Log.txt lacks the line \"$line\" (in this order)"
    from=$((at + 1))
  done
  echo "  Log.txt: the $# lines expected"
}

# No line of the log matches the extended regular expression PATTERN.
check_log_lacks() {
  local log=$1 pattern=$2 found
  # The texts are read whole first: a grep that stops at its first match
  # would end a pipe's writer early, and pipefail would take that for "no
  # match".
  local texts
  texts=$(log_texts "$log")
  found=$(grep -E -m 1 -- "$pattern" <<<"$texts") && fail "$run: Log.txt says \"$found\""
  return 0
}

# The display set-up's lines of a hardware-mode run: the 9Ex device in the
# desktop's format with its depth buffer, no fallback to software mode, no
# graph refused by the device, and the device released at the end.
check_hardware_mode_log() {
  local log=$1
  check_log_lines "$log" "IDirect3D9Ex オブジェクトを取得します.... 成功" \
    "画面のフォーマットは D3DFMT_X8R8G8B8 です" "Ｚバッファを作成します.... 成功" \
    "Direct3DDevice9 の解放 3"
  local texts
  texts=$(log_texts "$log")
  grep -qE '^IDirect3DDevice9Ex オブジェクトを取得します\.\.\.\. (ハードウエア|ソフトウエア)頂点演算を使用します$' <<<"$texts" ||
    fail "$run: Log.txt does not show the 9Ex device made"
  check_log_lacks "$log" 'Direct3DDevice9 の解放 2|に失敗しました'
  echo "  Log.txt: hardware mode, nothing failed"
}

# A run without d3d9.dll: the set-up says so and makes no Direct3D object.
check_software_fallback_log() {
  local log=$1
  check_log_lines "$log" "d3d9.dll の読み込みに失敗しました" "DirectDraw オブジェクトの取得を行います....  成功"
  check_log_lacks "$log" 'IDirect3D9'
  echo "  Log.txt: software mode without d3d9.dll"
}
