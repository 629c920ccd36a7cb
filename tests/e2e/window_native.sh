#!/usr/bin/env bash
# The Linux build end to end under X: the start-up question answered No
# gives an 800 x 600 window, centred, whose X class is the caption; a second
# instance ends with -1; closing the first window ends it with 0.
#
#   window_native.sh PROGRAM DATA-DIR X-CLOSE-WINDOW
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e-lib.sh"
require_display

program=$1 data=$2 close_window=$3
caption="ほのみかさ"
make_scratch_folder "$data"
cd "$work"

"$program" >first.out 2>&1 &
first=$!
pids+=("$first")
box=$(wait_for_window "$caption" '!800x600' 20) || { fail_if_question_not_shown first.out; fail "no start-up question appeared"; }
fail_if_question_not_shown first.out
answer_question "$box" Escape || fail "the question box took no answer"
window=$(wait_for_window "$caption" 800x600 20 "$box") || { wait_for_exit "$first" 1; fail "no 800 x 600 window after answering No (program: $exit_code): $(windows_named "$caption")"; }
echo "window $window"

# xprop writes the bytes of a non-ASCII name as octal escapes.
escaped=$(printf '%s' "$caption" | od -An -v -to1 | tr -s ' \n' ' ' | sed -e 's/ $//' -e 's/ /\\/g')
window_class=$(xprop -id "$window" WM_CLASS)
grep -qF "\"$escaped\", \"$escaped\"" <<<"$window_class" ||
  fail "the X class is not the caption: $window_class"
read -r screen_width screen_height < <(screen_size)
geometry=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$geometry")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
[ "$width" = 800 ] && [ "$height" = 600 ] || fail "client area ${width}x${height}"
[ "$x" = $(((screen_width - 800) / 2)) ] && [ "$y" = $(((screen_height - 600) / 2)) ] ||
  fail "window at $x,$y on a ${screen_width}x${screen_height} screen"

"$program" >second.out 2>&1 &
second=$!
pids+=("$second")
box2=$(wait_for_window "$caption" '!800x600' 20 "$window") || fail "the second instance asked no question"
answer_question "$box2" Escape || fail "the second question box took no answer"
wait_for_exit "$second" 20
[ "$exit_code" = 255 ] || fail "second instance: exit $exit_code, expected -1 (255)"
kill -0 "$first" 2>/dev/null || fail "the first instance ended with the second"

"$close_window" "$window" || fail "could not ask the window to close"
wait_for_exit "$first" 20
[ "$exit_code" = 0 ] || fail "closing the window: exit $exit_code, expected 0"
echo "passed"
