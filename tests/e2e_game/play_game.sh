#!/usr/bin/env bash
# The real game end to end under X: answer No to the start-up question, see
# the title screen, start a game with Z, see the count-down and then the
# game's screen on every one of a run of screenshots, move the player with
# an arrow key, pause with Esc (the picture dims), resume with Esc, pause
# again and go back to the title with Q, and end with Esc on the title
# screen: exit code 0. Every step is checked on screenshots of the window,
# at the pixels where the game draws its texts, bars and player.
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
# The Windows build starts in the display mode its build chose (--mode).
# In hardware mode the logged program runs three times: as the shipped
# program (Wine's own Windows version), whose log must show the Direct3D 9
# device made and no graph refused; as Windows XP through DirectInput 8,
# the whole run, with the same log lines; and as Windows XP through
# DirectInput 8 with Wine's d3d9.dll switched off, whose log must show the
# fall-back to software mode, playing the same screens.
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
source "$here/log-checks.sh"

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

# The screenshots of expect: the game's client area.
artifact_prefix=e2e_game
take_shot() { screenshot_area "$client_area" "$1"; }

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
  client_area=$(wait_for_client_area "$frame" 10) || fail "$run: the game window has no 800 x 600 client area: $(xwininfo -children -id "$frame")"
  focus_window "$frame"
  # The first frame follows the display set-up, which in hardware mode
  # under Wine (software OpenGL) takes seconds.
  expect 60 title title_shown

  press_key "$frame" z
  expect 10 countdown countdown_shown
  # The game's screen stays while the game plays: every shot of a run
  # shows the status bars. The whole run looks after the player's checks
  # are done, since the balls falling meanwhile come into its rows.
  [ "$length" = whole ] || expect_steady 16 playing bars_lit
  if [ "$length" = whole ]; then
    read -r start_left start_top _ _ <<<"$player_box"
    if [ "$slow_frames" = 1 ]; then
      # A frame can take most of a second: Left is held until the player
      # is seen moving.
      focus_window "$frame"
      xdotool keydown Left
      expect 20 moved player_moved_left
      xdotool keyup Left
    else
      press_key "$frame" Left
      expect 10 moved player_moved_left
    fi
    echo "  moved: the player's left edge went from $start_left to ${player_box%% *}"
    local player_light
    player_light=$(brightest "$shot" $player_box)
  fi

  press_key "$frame" Escape
  expect 10 pause pause_shown
  if [ "$length" = whole ]; then
    # The player is looked for again: it may have gone on a frame or two
    # after the picture of its move.
    local paused_light reach_left=$((start_left - 250))
    [ $reach_left -ge 0 ] || reach_left=0
    find_player "$shot" "$reach_left 276 $((start_left + 48 - reach_left)) 48" ||
      fail "$run: the pause screen: $why"
    paused_light=$(brightest "$shot" $player_box)
    [ "$paused_light" -gt 0 ] && [ $((paused_light * 100)) -le $((player_light * 45)) ] ||
      fail "$run: the pause screen did not dim the player: $player_light before, $paused_light paused"
    echo "  pause: the player dimmed from $player_light to $paused_light"

    press_key "$frame" Escape
    expect 10 resume bars_lit
    expect_steady 16 playing bars_lit
    press_key "$frame" Escape
    expect 10 pause-again bars_dimmed
  fi
  press_key "$frame" q
  expect 10 back-to-title title_shown

  press_key "$frame" Escape
  wait_for_exit "$game_pid" 30
  game_pid=""
  [ "$exit_code" = 0 ] || fail "$run: Esc on the title screen: exit $exit_code, expected 0"
  echo "  Esc on the title: exit 0 at $(elapsed)"
  log="$dir/Log.txt"
  # Kept beside the screenshots, for a failed check to be read afterwards.
  [ -f "$log" ] && cp "$log" "$artifacts/e2e_game-$run-Log.txt"
  return 0
}

# The answer No: Escape in the SDL box; the Windows box has no Cancel, so
# its No button is chosen by its access key. Under Wine (hardware mode
# draws through software OpenGL) frames are slow: keys are held longer.
answer_no=Escape slow_frames=0
case "$program" in *.exe) answer_no=n KEY_HOLD=1 slow_frames=1 ;; esac

play shipped "$program" "${archive:-$sheets}" whole
[ -f "$log" ] && fail "shipped: the shipped program wrote a log"

# The logged program's Windows version: "winxp64", or "" for Wine's own.
set_logged_version() {
  local key='HKCU\Software\Wine\AppDefaults\'"$(basename "$logged_program")"
  if [ -n "$1" ]; then
    "${runner[@]}" reg add "$key" /v Version /d "$1" /f >/dev/null 2>&1
  else
    "${runner[@]}" reg delete "$key" /v Version /f >/dev/null 2>&1 || true
  fi || fail "could not set the logged program's Windows version"
}

# The run as Windows XP through DirectInput 8, its log lines.
check_direct_input_8_log() {
  check_log_lines "$1" "DirectInput関係初期化処理" "DirectInput7 の取得中... 取得に失敗。" \
    "DirectInput8 の取得を試みます...成功" "引き続き初期化処理... 初期化成功" \
    "キーボードデバイスの初期化... 初期化成功" "DirectInput 関連の初期化は正常に終了しました" \
    "DirectInput 関連の終了処理... 完了"
}

if [[ $program != *.exe ]]; then
  play logged "$logged_program" "$sheets" short
  check_log "$log"
elif [ "$mode" = hardware ]; then
  # Hardware mode as the shipped program meets it (Wine's own version).
  set_logged_version ""
  play logged "$logged_program" "$sheets" short
  check_log "$log"
  check_hardware_mode_log "$log"
  # Hardware mode as Windows XP: every key of the whole run is read from
  # the DirectInput 8 keyboard device.
  set_logged_version winxp64
  WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};dinput=" \
    play logged-direct-input "$logged_program" "$sheets" whole
  check_log "$log"
  check_direct_input_8_log "$log"
  check_hardware_mode_log "$log"
  # Direct3D switched off: the same game in software mode, as Windows XP
  # through DirectInput 8.
  WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};dinput=;d3d9=" \
    play logged-without-direct3d "$logged_program" "$sheets" short
  check_log "$log"
  check_direct_input_8_log "$log"
  check_software_fallback_log "$log"
else
  set_logged_version winxp64
  WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=};dinput=" play logged "$logged_program" "$sheets" short
  check_log "$log"
  check_direct_input_8_log "$log"
  check_log_lacks "$log" 'IDirect3D9'
fi
echo "passed"
