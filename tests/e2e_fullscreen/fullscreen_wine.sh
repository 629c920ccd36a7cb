#!/usr/bin/env bash
# The Windows build's full screen end to end under Wine, on an X server of
# its own at the game's 800 x 600 (Xvfb cannot change its mode, and Wine
# only goes full screen in a mode the screen has). The logged program is
# played twice: in the display mode the build starts in (--mode), and with
# Wine's d3d9.dll switched off, in software mode.
#
# Each run answers Yes to the start-up question; the game's window covers
# the screen and shows the title screen. Then the focus goes to the root
# window, as a click beside the game would take it: the engine gives the
# desktop back and minimises the window. The window probe then clicks the
# taskbar button: the window is restored and activated, and the engine
# makes its display again as after a lost device (release, display set-up,
# graphs restored: the log shows it), which in full screen it does at every
# return; the same title screen comes back. (Wine's 9Ex device itself is
# not lost meanwhile: its Present reports the window occluded, and works
# again on the return. Only a plain Direct3D 9 device, which the engine
# makes where d3d9.dll has no Direct3DCreate9Ex, is really lost there.) Z starts a game, Esc pauses, Q returns to the
# title, Esc ends with exit code 0, the allocator's dump is clean and the
# screen is left at its size.
#
#   fullscreen_wine.sh [--mode hardware|software] LOGGED-PROGRAM PROBE-EXE SHEET-DIR WINEPREFIX WINE-RUN
#
# The X server takes the first free display number of
# $E2E_FULLSCREEN_DISPLAYS (default 180 to 199). The Wine prefix is the
# test's own: a Wine session's desktop belongs to the X server it started
# on.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e_game/game-lib.sh"
source "$here/../e2e_game/screen-checks.sh"
source "$here/../e2e_game/log-checks.sh"
source "$here/x-server-lib.sh"

mode=software
if [ "${1:-}" = "--mode" ]; then
  mode=$2
  shift 2
fi
case $mode in hardware | software) ;; *) echo "unknown mode $mode"; exit 2 ;; esac
[ $# = 5 ] || { echo "usage: fullscreen_wine.sh [--mode hardware|software] LOGGED-PROGRAM PROBE-EXE SHEET-DIR WINEPREFIX WINE-RUN"; exit 2; }
program=$1 probe=$2 sheets=$3 prefix=$4 wine_run=$5
size=800x600
for tool in Xvfb xdpyinfo xdotool xwininfo import convert iconv; do
  command -v $tool >/dev/null || { echo "skipped: $tool is missing"; exit $SKIP; }
done

artifacts=$PWD
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && { kill -- "-$game_pid" 2>/dev/null || kill "$game_pid" 2>/dev/null; }
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

start_x_server "$size" || { echo "skipped: no free display for an X server"; exit $SKIP; }
echo "X server $DISPLAY at $size"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
KEY_HOLD=1
# A Wine session left from an earlier run belongs to another display.
WINEPREFIX=$prefix wineserver -k 2>/dev/null

run_probe() { "$wine_run" "$prefix" "$probe" "$@" 2>/dev/null | tr -d '\r'; }
# One value of the probe's report ("minimised", "foreground", ...).
probe_value() { run_probe | awk -v key="$1" '$1 == key {print $2}'; }

# Waits up to SECONDS for the probe to report KEY as VALUE.
wait_for_probe() {
  local key=$1 value=$2 deadline=$((SECONDS + $3))
  while [ $SECONDS -lt $deadline ]; do
    [ "$(probe_value "$key")" = "$value" ] && return 0
    sleep 0.5
  done
  return 1
}

# The screenshots of expect: the whole window.
artifact_prefix=e2e_fullscreen_wine
take_shot() { screenshot "$window" "$1"; }

# How many lines of the log equal TEXT.
log_count() { log_texts "$1" 2>/dev/null | grep -cxF -- "$2"; }

# Waits up to SECONDS for the log LOG to hold COUNT lines equal to TEXT.
wait_for_log_count() {
  local log=$1 text=$2 count=$3 deadline=$((SECONDS + $4))
  while [ $SECONDS -lt $deadline ]; do
    [ "$(log_count "$log" "$text")" -ge "$count" ] && return 0
    sleep 0.5
  done
  return 1
}

# The line each display set-up writes once, in either mode.
SET_UP_LINE="DirectDraw オブジェクトの取得を行います....  成功"

# One run in full screen, expected in display mode RUN_MODE.
play_full_screen() {
  run=$1
  local run_mode=$2 dir="$work/$1" box set_up=$SET_UP_LINE
  mkdir -p "$dir/data" && cp "$sheets"/actors.bmp "$sheets"/font.bmp "$dir/data/" || fail "no sheets in $sheets"
  log="$dir/Log.txt"
  echo "$run: $program"
  run_start=$EPOCHREALTIME
  known_windows=$(game_windows | awk '{print $1}' | tr '\n' ' ')
  (cd "$dir" && exec setsid "$wine_run" "$prefix" "$program") >"$dir/output.txt" 2>&1 &
  game_pid=$!
  box=$(wait_for_question 90) || fail "$run: no start-up question appeared: $(cat "$dir/output.txt")"
  echo "  question: seen at $(elapsed)"
  answer_question "$box" Return || fail "$run: the question box took no answer"
  window=$(wait_for_game_window "$box" 30) ||
    { wait_for_exit "$game_pid" 1; fail "$run: no game window after answering Yes (program: $exit_code)"; }
  wait_for_cover "$window" 20 ||
    fail "$run: the window does not cover the $size screen: $(xwininfo -id "$window" | grep -E 'Absolute|Width|Height' | tr -s ' \n' ' ')"
  echo "  the window covers the screen at $(elapsed)"
  focus_window "$window"
  # The first frame follows the display set-up, which in hardware mode
  # under Wine (software OpenGL) takes seconds; so does the rebuild.
  expect 60 title title_shown
  check_log_lines "$log" "フルスクリーンモード用のウインドウを作成します"
  [ "$(log_count "$log" "$set_up")" = 1 ] || fail "$run: Log.txt lacks the line \"$set_up\""

  # Away: the focus to the root window, as a click beside the game.
  xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
  wait_for_probe minimised 1 10 || fail "$run: the window was not minimised when it lost the focus"
  echo "  focus lost: minimised at $(elapsed)"
  # Back through the taskbar button: the display is made again (in
  # hardware mode the device, and the graphs' textures refilled).
  run_probe restore >/dev/null || fail "$run: the probe could not restore the window"
  wait_for_log_count "$log" "$set_up" 2 60 || fail "$run: no display set-up after the window came back"
  if [ "$run_mode" = hardware ]; then
    wait_for_log_count "$log" "グラフィックを復帰します" 1 60 || fail "$run: the graphs were not restored"
  fi
  wait_for_probe foreground 1 10 || fail "$run: the window is not the active one after its return"
  wait_for_cover "$window" 10 || fail "$run: the window does not cover the screen after its return"
  echo "  back: the display made again at $(elapsed)"
  focus_window "$window"
  expect 60 title-again title_shown

  press_key "$window" z
  expect 10 countdown countdown_shown
  press_key "$window" Escape
  expect 10 pause pause_shown
  press_key "$window" q
  expect 10 back-to-title title_shown
  press_key "$window" Escape
  wait_for_exit "$game_pid" 30
  game_pid=""
  [ "$exit_code" = 0 ] || fail "$run: Esc on the title screen: exit $exit_code, expected 0"
  echo "  Esc on the title: exit 0 at $(elapsed)"
  [ "$(screen_dimensions)" = "$dimensions_before" ] ||
    fail "$run: the screen is $(screen_dimensions) after the end, $dimensions_before before"
  # Kept beside the screenshots, for a failed check to be read afterwards.
  [ -f "$log" ] && cp "$log" "$artifacts/e2e_fullscreen_wine-$run-Log.txt"
  check_log "$log"
  if [ "$run_mode" = hardware ]; then
    # The release before the rebuild, the one at the end (a busy machine
    # can see more than one return to full screen, each with its rebuild).
    [ "$(log_count "$log" "Direct3D9 DLL の解放 4")" -ge 2 ] ||
      fail "$run: d3d9.dll was not released before the rebuild and at the end"
  fi
}

dimensions_before=$(screen_dimensions)
play_full_screen full-screen "$mode"
if [ "$mode" = hardware ]; then
  check_hardware_mode_log "$log"
  check_log_lines "$log" "Desktop Window Manager を無効にしました" "Direct3DDevice9 の解放 3" \
    "IDirect3D9Ex オブジェクトを取得します.... 成功" "グラフィックを復帰します"
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;d3d9=" play_full_screen full-screen-without-direct3d software
  check_software_fallback_log "$log"
fi
echo "passed"
