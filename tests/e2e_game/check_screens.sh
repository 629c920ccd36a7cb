#!/usr/bin/env bash
# The screen checks of play_game.sh against frames of known content: the
# demo renderer's golden frames of the real game (title, count-down, play,
# pause, time-up). Each check must accept the screens it is meant for and
# refuse every other, or the end-to-end run could pass on a wrong picture.
#
#   check_screens.sh GOLDEN-DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/game-lib.sh"
source "$here/screen-checks.sh"
command -v convert >/dev/null || { echo "skipped: ImageMagick is missing"; exit $SKIP; }
golden=$1

# Frame, then the checks that must pass on it; every other check must fail.
cases=(
  "1-title.png title_shown"
  "2-countdown.png countdown_shown bars_lit player_moved_left"
  "3-play.png bars_lit"
  "4-pause.png pause_shown bars_dimmed"
  "5-timeup.png bars_dimmed"
)
checks=(title_shown countdown_shown bars_lit bars_dimmed pause_shown player_moved_left)
# The count-down frame's player stands at the start; as seen from a box 30
# pixels further right, it has moved left.
start_left=403 start_top=276

passed=0 failed=0
for case in "${cases[@]}"; do
  read -r frame expected <<<"$case"
  [ -f "$golden/$frame" ] || { echo "FAIL: no $golden/$frame"; failed=$((failed + 1)); continue; }
  for check in "${checks[@]}"; do
    why=""
    if $check "$golden/$frame"; then outcome=pass; else outcome=fail; fi
    case " $expected " in *" $check "*) want=pass ;; *) want=fail ;; esac
    if [ $outcome = $want ]; then
      passed=$((passed + 1))
    else
      echo "FAIL: $check on $frame: ${outcome}ed, expected to $want${why:+ ($why)}"
      failed=$((failed + 1))
    fi
  done
done
echo "$passed passed, $failed failed"
[ $failed = 0 ]
