# The shortest game a player can play, as the package tests play it: the
# start-up question answered No, the title screen seen, Esc on it, exit
# code 0. Sourced by the package tests, after they set work (a scratch
# folder) and artifacts (where a failed run leaves its screenshot).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e_game/game-lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../e2e_game/screen-checks.sh"

game_pid=""
end_game() {
  [ -n "$game_pid" ] && { kill -- "-$game_pid" 2>/dev/null || kill "$game_pid" 2>/dev/null; }
  game_pid=""
}

# play_title_and_quit OUTPUT ANSWER-NO QUESTION-SECONDS COMMAND...: runs
# COMMAND in the current directory, its output into OUTPUT, in a process
# group of its own (SDL asks its question from a child, Wine leaves more).
play_title_and_quit() {
  local output=$1 answer=$2 question_seconds=$3 box frame client_area shot deadline
  shift 3
  run_start=$EPOCHREALTIME
  known_windows=$(game_windows | awk '{print $1}' | tr '\n' ' ')
  setsid "$@" >"$output" 2>&1 &
  game_pid=$!

  box=$(wait_for_question "$question_seconds") || fail "no start-up question appeared: $(cat "$output")"
  fail_if_question_not_shown "$output"
  echo "  question: seen at $(elapsed)"
  answer_question "$box" "$answer" || fail "the question box took no answer"
  frame=$(wait_for_game_window "$box" 30) ||
    { wait_for_exit "$game_pid" 1; fail "no game window after answering No (program: $exit_code): $(cat "$output")"; }
  client_area=$(wait_for_client_area "$frame" 10) || fail "the game window has no 800 x 600 client area"
  focus_window "$frame"

  # The first frame follows the display set-up, which in hardware mode
  # under Wine (software OpenGL) takes seconds.
  shot=$work/title.png
  deadline=$((SECONDS + 60))
  until screenshot_area "$client_area" "$shot" && title_shown "$shot"; do
    if [ $SECONDS -ge $deadline ]; then
      [ -f "$shot" ] && cp "$shot" "$artifacts/package-title.png"
      fail "no title screen: ${why:-no screenshot} (screenshot: $artifacts/package-title.png; output: $(cat "$output"))"
    fi
    sleep 0.2
  done
  echo "  title: seen at $(elapsed)"

  press_key "$frame" Escape
  wait_for_exit "$game_pid" 15
  [ "$exit_code" = running ] || game_pid=""
  [ "$exit_code" = 0 ] || fail "Esc on the title screen: exit $exit_code, expected 0"
  echo "  Esc on the title: exit 0 at $(elapsed)"
}
