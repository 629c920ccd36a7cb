#!/usr/bin/env bash
# The Windows build end to end under Wine and X: the start-up question
# answered No gives a window whose class is the caption, with a client area
# of exactly 800 x 600, centred; the window does not show the game's icon
# (its class asks the module for icon 32512, and the game's own icon group
# is named, so Wine gives the window its default icon); a second instance
# ends with -1; the close box ends the first with 0. The window is looked
# at from inside Wine by window_probe.exe, through the platform's own calls
# (which under Wine cannot read another process's class icon), and its icon
# from X, where Wine puts it for the window manager.
#
#   window_wine.sh GAME-EXE DATA-DIR PROBE-EXE WINEPREFIX WINE-RUN GAME-ICON-32.png
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"
require_display

game=$1 data=$2 probe=$3 prefix=$4 wine_run=$5 game_icon=$6
caption="ほのみかさ"
make_scratch_folder "$data"
cp "$game" "$work/game.exe"
cd "$work"

run_probe() { "$wine_run" "$prefix" "$probe" "$@" 2>/dev/null | tr -d '\r'; }

# The ids of the windows named like the caption that exist now.
existing_windows() { windows_named "$caption" | awk '{print $1}' | tr '\n' ' '; }

# A question box: the No button's accelerator answers No (a Yes/No box has
# no Cancel, so Escape does nothing).
"$wine_run" "$prefix" game.exe >first.out 2>&1 &
first=$!
pids+=("$first")
box=$(wait_for_window "$caption" '!800x600' 60) || fail "no start-up question appeared"
answer_question "$box" n || fail "the question box took no answer"

report=""
for _ in $(seq 100); do
  report=$(run_probe) && break
  sleep 0.3
done
[ -n "$report" ] || fail "no window of class $caption"
echo "$report"
read -r _ client_width client_height < <(grep '^client ' <<<"$report")
read -r _ left top right bottom < <(grep '^window ' <<<"$report")
read -r _ desktop_width desktop_height < <(grep '^desktop ' <<<"$report")
[ "$client_width" = 800 ] && [ "$client_height" = 600 ] || fail "client area ${client_width}x${client_height}"
[ "$left" = $(((desktop_width - (right - left)) / 2)) ] && [ "$top" = $(((desktop_height - (bottom - top)) / 2)) ] ||
  fail "window at $left,$top on a ${desktop_width}x${desktop_height} desktop"

before=$(existing_windows)
for window in $before; do
  shown=$(python3 "$here/window_icon.py" xprop convert "$window" "$game_icon")
  case $? in
    0) fail "the window shows the game's icon: its class found an icon numbered 32512 ($shown)" ;;
    1) echo "$shown" ;;
    *) fail "$shown" ;;
  esac
done

"$wine_run" "$prefix" game.exe >second.out 2>&1 &
second=$!
pids+=("$second")
box2=$(wait_for_window "$caption" '!800x600' 60 "$before") || fail "the second instance asked no question"
answer_question "$box2" n || fail "the second question box took no answer"
wait_for_exit "$second" 60
[ "$exit_code" = 255 ] || fail "second instance: exit $exit_code, expected -1 (255)"
kill -0 "$first" 2>/dev/null || fail "the first instance ended with the second"

run_probe close >/dev/null || fail "could not click the close box"
wait_for_exit "$first" 60
[ "$exit_code" = 0 ] || fail "closing the window: exit $exit_code, expected 0"
echo "passed"
