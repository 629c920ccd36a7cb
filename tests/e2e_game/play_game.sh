#!/usr/bin/env bash
# The real game end to end under X: answer No to the start-up question, see
# the title screen, start a game with Z, see the count-down, move the player
# with an arrow key, pause with Esc (the picture dims), resume with Esc,
# pause again and go back to the title with Q, and end with Esc on the
# title screen: exit code 0. Every step is checked on screenshots of the
# window, at the pixels where the game draws its texts, bars and player.
#
# It plays the shipped program first, then, more briefly (title, game,
# pause, title), the test build that writes Log.txt, whose closing
# allocator dump must list no block still live.
#
# Under Wine the shipped program finds DirectInput 7 (Wine registers both
# versions' classes) and, as on every system from Vista on, reads the keys
# from the system key state. The logged program runs as Windows XP (a
# per-program setting of the prefix), the last system whose keyboard the
# engine reads from the DirectInput device, with Wine's dinput.dll switched
# off, so that it sets up DirectInput 8 and reads every key of its run
# through it; its log must show that. (A run with dinput8.dll switched off
# as well cannot be made: Wine's own joystick calls, which the engine asks
# for the number of pads without DirectInput, go through dinput8.dll, and
# the disabled library ends the process. The headless tests cover that
# path.)
#
# The Windows build starts in the display mode its build chose (--mode):
# in hardware mode the logged program's log must show the Direct3D 9
# device made and no graph refused, and a third run, with Wine's d3d9.dll
# switched off, must show the engine falling back to software mode and
# playing the same screens.
#
#   play_game.sh [--archive DATA.QPA] [--mode hardware|software] PROGRAM LOGGED-PROGRAM SHEET-DIR [-- RUNNER...]
#
# PROGRAM reads its sheets from DATA.QPA when one is given (the archive
# alone in its working directory), otherwise from a data folder with the
# two sheets of SHEET-DIR, which LOGGED-PROGRAM always reads. RUNNER, when
# given, starts the programs (the Wine runner of the Windows build).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/game-lib.sh"
source "$here/screen-checks.sh"

archive=""
mode=software
while [ "${1:-}" = "--archive" ] || [ "${1:-}" = "--mode" ]; do
  case $1 in
    --archive) archive=$2 ;;
    --mode) mode=$2 ;;
  esac
  shift 2
done
case $mode in hardware | software) ;; *) echo "unknown mode $mode"; exit 2 ;; esac
[ $# -ge 3 ] || { echo "usage: play_game.sh [--archive DATA.QPA] [--mode hardware|software] PROGRAM LOGGED-PROGRAM SHEET-DIR [-- RUNNER...]"; exit 2; }
program=$1 logged_program=$2 sheets=$3
shift 3
runner=()
if [ "${1:-}" = "--" ]; then
  shift
  runner=("$@")
fi

require_display
artifacts=$PWD
work=$(mktemp -d)
game_pid=""
display_holder=""
cleanup() {
  [ -n "$game_pid" ] && { kill -- "-$game_pid" 2>/dev/null || kill "$game_pid" 2>/dev/null; }
  [ -n "$display_holder" ] && kill "$display_holder" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
hold_display
# The Linux build marks a running instance with a lock file in
# $XDG_RUNTIME_DIR: a private one keeps a game started by hand elsewhere on
# this machine from turning this run into a refused second instance.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# Screenshots WINDOW until CHECK passes on one, for up to SECONDS; the last
# screenshot stays in $shot. A failure keeps it beside the test as NAME.png.
expect() {
  local seconds=$1 name=$2 check=$3
  local deadline=$((SECONDS + seconds)) n=0
  while :; do
    n=$((n + 1))
    shot="$work/$run-$name-$n.png"
    why="no screenshot"
    if screenshot "$window" "$shot" && $check "$shot"; then
      echo "  $name: seen at $(elapsed)"
      return 0
    fi
    if [ $SECONDS -ge $deadline ]; then
      [ -f "$shot" ] && cp "$shot" "$artifacts/e2e_game-$run-$name.png"
      fail "$run: $name: $why (screenshot: $artifacts/e2e_game-$run-$name.png)"
    fi
    sleep 0.1
  done
}

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

# One run of PROGRAM in a fresh working directory, reading DATA (a folder
# of sheets or an archive). The whole run moves the player, pauses, resumes
# and pauses again before going back to the title; the short one goes
# straight from the count-down to the pause and back to the title.
play() {
  run=$1 program_file=$2 data=$3 length=$4
  local dir="$work/$run"
  mkdir -p "$dir"
  if [ "${data##*.}" = QPA ]; then
    cp "$data" "$dir/DATA.QPA" || fail "$run: no archive $data"
  else
    mkdir -p "$dir/data"
    cp "$data"/actors.bmp "$data"/font.bmp "$dir/data/" || fail "$run: no sheets in $data"
  fi
  echo "$run: $program_file"
  run_start=$EPOCHREALTIME
  known_windows=$(game_windows | awk '{print $1}' | tr '\n' ' ')
  # A process group of its own: SDL shows the question box from a child
  # process, Wine's runner and loader may leave more, and a failed run ends
  # them all. (setsid does not fork here: a background job of a script is
  # no group leader, so the pid stays the program's.)
  (cd "$dir" && exec setsid "${runner[@]}" "$program_file") >"$dir/output.txt" 2>&1 &
  game_pid=$!

  local box frame
  box=$(wait_for_question 90) || fail "$run: no start-up question appeared: $(cat "$dir/output.txt")"
  fail_if_question_not_shown "$dir/output.txt"
  echo "  question: seen at $(elapsed)"
  answer_question "$box" "$answer_no" || fail "$run: the question box took no answer"
  frame=$(wait_for_game_window "$box" 30) ||
    { wait_for_exit "$game_pid" 1; fail "$run: no game window after answering No (program: $exit_code)"; }
  window=$(wait_for_client_window "$frame" 10) || fail "$run: the game window has no 800 x 600 client area: $(xwininfo -children -id "$frame")"
  focus_window "$frame"
  expect 10 title title_shown

  press_key "$frame" z
  expect 3 countdown countdown_shown
  if [ "$length" = whole ]; then
    read -r start_left start_top _ _ <<<"$player_box"
    press_key "$frame" Left
    expect 6 moved player_moved_left
    echo "  moved: the player's left edge went from $start_left to ${player_box%% *}"
    local player_light
    player_light=$(brightest "$shot" $player_box)
  fi

  press_key "$frame" Escape
  expect 3 pause pause_shown
  if [ "$length" = whole ]; then
    local paused_light
    paused_light=$(brightest "$shot" $player_box)
    [ "$paused_light" -gt 0 ] && [ $((paused_light * 100)) -le $((player_light * 45)) ] ||
      fail "$run: the pause screen did not dim the player: $player_light before, $paused_light paused"
    echo "  pause: the player dimmed from $player_light to $paused_light"

    press_key "$frame" Escape
    expect 3 resume bars_lit
    press_key "$frame" Escape
    expect 3 pause-again bars_dimmed
  fi
  press_key "$frame" q
  expect 3 back-to-title title_shown

  press_key "$frame" Escape
  wait_for_exit "$game_pid" 15
  game_pid=""
  [ "$exit_code" = 0 ] || fail "$run: Esc on the title screen: exit $exit_code, expected 0"
  echo "  Esc on the title: exit 0 at $(elapsed)"
  log="$dir/Log.txt"
}

# The answer No: Escape in the SDL box; the Windows box has no Cancel, so
# its No button is chosen by its access key.
answer_no=Escape
case "$program" in *.exe) answer_no=n ;; esac

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
  found=$(log_texts "$log" | grep -E -m 1 -- "$pattern") && fail "$run: Log.txt says \"$found\""
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
  log_texts "$log" | grep -qE '^IDirect3DDevice9Ex オブジェクトを取得します\.\.\.\. (ハードウエア|ソフトウエア)頂点演算を使用します$' ||
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

play shipped "$program" "${archive:-$sheets}" whole
[ -f "$log" ] && fail "shipped: the shipped program wrote a log"
if [[ $program == *.exe ]]; then
  "${runner[@]}" reg add 'HKCU\Software\Wine\AppDefaults\'"$(basename "$logged_program")" \
    /v Version /d winxp64 /f >/dev/null 2>&1 || fail "could not set the logged program's Windows version"
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};dinput="
fi
play logged "$logged_program" "$sheets" short
check_log "$log"
if [[ $program == *.exe ]]; then
  check_log_lines "$log" "DirectInput関係初期化処理" "DirectInput7 の取得中... 取得に失敗。" \
    "DirectInput8 の取得を試みます...成功" "引き続き初期化処理... 初期化成功" \
    "キーボードデバイスの初期化... 初期化成功" "DirectInput 関連の初期化は正常に終了しました" \
    "DirectInput 関連の終了処理... 完了"
  if [ "$mode" = hardware ]; then
    check_hardware_mode_log "$log"
    # Direct3D switched off: the same game in software mode.
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;d3d9=" play logged-without-direct3d "$logged_program" "$sheets" short
    check_log "$log"
    check_software_fallback_log "$log"
  else
    check_log_lacks "$log" 'IDirect3D9'
  fi
fi
echo "passed"
