#!/usr/bin/env bash
# The Linux build's full screen end to end, on an X server of its own at
# one screen size: answer Yes to the start-up question and the game's
# window covers the screen; its picture, scaled back to 800 x 600, shows
# the title screen's texts where the windowed game shows them, with black
# bars beside it where the screen is wider. Losing the focus gives the
# desktop back and returning brings the same full-screen picture; Z starts
# a game, Esc pauses, Q returns to the title, Esc ends with exit code 0,
# and the screen is left as it was: same size, no window of the game.
# Then a probe program shows that mouse positions on the screen come back
# in the game's 800 x 600 coordinates.
#
#   fullscreen_native.sh WIDTHxHEIGHT PROGRAM CURSOR-PROBE SHEET-DIR
#
# The X server takes the first free display number of
# $E2E_FULLSCREEN_DISPLAYS (default 180 to 199, numbers only these tests
# use).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../e2e_game/game-lib.sh"
source "$here/../e2e_game/screen-checks.sh"
source "$here/x-server-lib.sh"

[ $# = 4 ] || { echo "usage: fullscreen_native.sh WIDTHxHEIGHT PROGRAM CURSOR-PROBE SHEET-DIR"; exit 2; }
size=$1 program=$2 probe=$3 sheets=$4
screen_width=${size%x*} screen_height=${size#*x}
for tool in Xvfb xdpyinfo xdotool xwininfo import convert; do
  command -v $tool >/dev/null || { echo "skipped: $tool is missing"; exit $SKIP; }
done

artifacts=$PWD
work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && { kill -- "-$game_pid" 2>/dev/null || kill "$game_pid" 2>/dev/null; }
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_x_server "$size" || { echo "skipped: no free display for an X server"; exit $SKIP; }
echo "X server $DISPLAY at $size"

# Where the 800 x 600 picture lies on this screen: the largest rectangle of
# its aspect, centred ("X Y W H").
picture_box=$(awk -v W="$screen_width" -v H="$screen_height" 'BEGIN {
  if (W * 600 > H * 800) { h = H; w = int((2 * H * 800 + 600) / 1200) }
  else { w = W; h = int((2 * W * 600 + 800) / 1600) }
  print int((W - w) / 2), int((H - h) / 2), w, h }')
read -r picture_x picture_y picture_width picture_height <<<"$picture_box"
echo "picture at $picture_box"

# The bars beside or above and below the picture ("X Y W H" each).
bars=()
[ "$picture_x" -gt 0 ] && bars+=("0 0 $picture_x $screen_height"
  "$((picture_x + picture_width)) 0 $((screen_width - picture_x - picture_width)) $screen_height")
[ "$picture_y" -gt 0 ] && bars+=("0 0 $screen_width $picture_y"
  "0 $((picture_y + picture_height)) $screen_width $((screen_height - picture_y - picture_height))")

# The scaling softens the edges of the status bars by a pixel or two: their
# grey is measured inside them.
TOP_BAR_CORNER="776 0 24 60"
BOTTOM_BAR_MIDDLE="344 524 112 76"

# The game window: the first new window named CAPTION other than the box.
wait_for_window_after() {
  local box=$1 deadline=$((SECONDS + $2)) id dims
  while [ $SECONDS -lt $deadline ]; do
    while read -r id dims; do
      [ -n "$id" ] && [ "$id" != "$box" ] && { echo "$id"; return 0; }
    done < <(game_windows)
    sleep 0.2
  done
  return 1
}

# The bars are black on the screenshot FILE.
bars_black() {
  local file=$1 i
  [ ${#bars[@]} = 0 ] && return 0
  measure_boxes "$file" "${bars[@]}" || return 1
  for i in "${!bars[@]}"; do
    [ "${light[i]}" = 0 ] || { why="the bar at ${bars[i]} is not black (${light[i]})"; return 1; }
  done
}

# Screenshots the whole window until CHECK passes on its picture scaled
# back to 800 x 600 (kept in $shot), for up to SECONDS. A failure keeps
# the screenshot beside the test.
expect() {
  local seconds=$1 name=$2 check=$3
  local deadline=$((SECONDS + seconds)) n=0 whole
  while :; do
    n=$((n + 1))
    whole="$work/$name-$n-screen.png"
    shot="$work/$name-$n.png"
    why="no screenshot"
    if screenshot "$window" "$whole" &&
      convert "$whole" -crop "${picture_width}x${picture_height}+${picture_x}+${picture_y}" +repage \
        -resize '800x600!' "png:$shot" 2>/dev/null &&
      bars_black "$whole" && $check "$shot"; then
      echo "  $name: seen at $(elapsed)"
      return 0
    fi
    if [ $SECONDS -ge $deadline ]; then
      [ -f "$whole" ] && cp "$whole" "$artifacts/e2e_fullscreen-$size-$name.png"
      fail "$name: $why (screenshot: $artifacts/e2e_fullscreen-$size-$name.png)"
    fi
    sleep 0.1
  done
}

# Starts PROGRAM (in a process group of its own: SDL asks its question from
# a child) in a fresh folder with the sheets, answers Yes, and waits for its
# window to cover the screen: sets game_pid, window and dir.
start_full_screen() {
  local name=$1 program_file=$2 box
  dir="$work/$name"
  mkdir -p "$dir/data" && cp "$sheets"/actors.bmp "$sheets"/font.bmp "$dir/data/" || fail "no sheets in $sheets"
  run_start=$EPOCHREALTIME
  (cd "$dir" && exec setsid "$program_file") >"$dir/output.txt" 2>&1 &
  game_pid=$!
  box=$(wait_for_question 60) || fail "$name: no start-up question appeared: $(cat "$dir/output.txt")"
  answer_question "$box" Return || fail "$name: the question box took no answer"
  window=$(wait_for_window_after "$box" 20) ||
    { wait_for_exit "$game_pid" 1; fail "$name: no window after answering Yes (program: $exit_code)"; }
  wait_for_cover "$window" 20 ||
    fail "$name: the window does not cover the ${size} screen: $(xwininfo -id "$window" | grep -E 'Absolute|Width|Height' | tr -s ' \n' ' ')"
  echo "  $name: the window covers the screen at $(elapsed)"
  focus_window "$window"
}

# Ends the program with Esc; exit code 0, and the screen as it was.
end_with_escape() {
  local name=$1
  press_key "$window" Escape
  wait_for_exit "$game_pid" 15
  game_pid=""
  [ "$exit_code" = 0 ] || fail "$name: Esc: exit $exit_code, expected 0"
  [ "$(screen_dimensions)" = "$dimensions_before" ] ||
    fail "$name: the screen is $(screen_dimensions) after the end, $dimensions_before before"
  [ -z "$(game_windows)" ] || fail "$name: a window of the game is left: $(game_windows)"
  echo "  $name: Esc ends with exit 0, the screen left at $dimensions_before with no window"
}

dimensions_before=$(screen_dimensions)
root=$(xwininfo -root | awk '/Window id:/ {print $4}')

echo "game: $program"
start_full_screen game "$program"
expect 10 title title_shown

# Away and back: the window gives the desktop back while the engine holds
# the game, and covers the screen again with the same picture on return.
xdotool windowfocus "$root"
wait_for_cover "$window" 10 not || fail "the window still covers the screen after losing the focus"
echo "  focus lost: the desktop is back at $(elapsed)"
focus_window "$window"
wait_for_cover "$window" 10 || fail "the window does not cover the screen again on return"
expect 5 title-again title_shown

press_key "$window" z
expect 3 countdown countdown_shown
press_key "$window" Escape
expect 3 pause pause_shown
press_key "$window" q
expect 3 back-to-title title_shown
end_with_escape game

# The mouse: screen points "X Y" and the game coordinates "X Y" they give.
case $size in
  1024x768) points=("0 0 0 0" "512 384 400 300" "640 96 500 75" "1023 767 799 599") ;;
  1280x800) points=("106 0 0 0" "640 400 400 300" "1172 799 799 599" "20 300 0 225" "1279 100 799 75") ;;
  *) points=() ;;
esac
if [ ${#points[@]} -gt 0 ]; then
  echo "cursor probe: $probe"
  start_full_screen probe "$probe"
  for point in "${points[@]}"; do
    read -r x y expected_x expected_y <<<"$point"
    xdotool mousemove "$x" "$y"
    deadline=$((SECONDS + 5))
    tries=0
    until [ "$(tail -n 1 "$dir/output.txt")" = "cursor $expected_x $expected_y" ]; do
      [ $SECONDS -ge $deadline ] &&
        fail "the mouse at ($x, $y) of the screen: $(tail -n 1 "$dir/output.txt"), expected $expected_x $expected_y"
      sleep 0.1
      # A motion the window did not see yet (a busy machine) is not sent
      # again for a pointer already in place: step aside and back.
      tries=$((tries + 1))
      [ $((tries % 5)) = 0 ] && xdotool mousemove "$((x > 0 ? x - 1 : x + 1))" "$y" mousemove "$x" "$y"
    done
    echo "  ($x, $y) on the screen is ($expected_x, $expected_y) in the game"
  done
  end_with_escape probe
fi
echo "passed"
