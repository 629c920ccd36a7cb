# Shared steps of the end-to-end scripts: the X display, finding windows by
# their name, answering the start-up question, waiting for a program's end.
# Every wait is bounded. Sourced by the scripts of this folder.

SKIP=77

# No X server: the test is skipped, not failed.
require_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    echo "skipped: no X display"
    exit $SKIP
  fi
}

fail() {
  echo "FAIL: $*"
  exit 1
}

# The top-level windows named NAME: one "ID WIDTHxHEIGHT+X+Y" per line.
windows_named() {
  xwininfo -root -children 2>/dev/null | grep -F "\"$1\"" |
    sed -E 's/^ *(0x[0-9a-f]+) .* ([0-9]+x[0-9]+[+-][0-9]+[+-][0-9]+) .*$/\1 \2/'
}

# Waits up to SECONDS for a window named NAME whose size is (or, with "!",
# is not) SIZE and that is not one of the ids in EXCLUDE; prints its id.
wait_for_window() {
  local name=$1 size=$2 seconds=$3 exclude=${4:-}
  local deadline=$((SECONDS + seconds))
  while [ $SECONDS -lt $deadline ]; do
    while read -r id geometry; do
      [ -n "$id" ] || continue
      case " $exclude " in *" $id "*) continue ;; esac
      local dims=${geometry%%+*}
      if [ "${size#!}" != "$size" ]; then
        [ "$dims" != "${size#!}" ] && { echo "$id"; return 0; }
      else
        [ "$dims" = "$size" ] && { echo "$id"; return 0; }
      fi
    done < <(windows_named "$name")
    sleep 0.2
  done
  return 1
}

# Presses KEY in the question box WINDOW (Return answers Yes, Escape No)
# until the box is gone: a box that has just appeared may not take keys yet.
answer_question() {
  local box=$1 key=$2
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.5
    xwininfo -id "$box" >/dev/null 2>&1 || return 0
    xdotool key --window "$box" "$key" 2>/dev/null
  done
  xwininfo -id "$box" >/dev/null 2>&1 && return 1
  return 0
}

# Waits up to SECONDS for process PID (a child of this shell) to end and
# sets exit_code to its exit code, or to "running" when it did not end in
# time. Not to be run in a subshell: only the parent can wait for a child.
wait_for_exit() {
  local pid=$1 seconds=$2
  local deadline=$((SECONDS + seconds))
  while kill -0 "$pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.2; done
  if kill -0 "$pid" 2>/dev/null; then
    exit_code=running
    return
  fi
  exit_code=0
  wait "$pid" || exit_code=$?
}

# Makes a scratch folder $work holding a copy of the sheets of DATA-DIR in
# data/, and removes it when the script exits, after ending the programs
# whose ids the script added to $pids.
make_scratch_folder() {
  local data=$1
  work=$(mktemp -d)
  pids=()
  trap remove_scratch_folder EXIT
  mkdir -p "$work/data" && cp "$data"/*.bmp "$work/data/"
}

remove_scratch_folder() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}

# The root window's size as "WIDTH HEIGHT".
screen_size() {
  xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

# Fails with the program's own reason when its output FILE says that the
# start-up question could not be shown (an X server without core fonts, for
# one): the program then goes on without asking, and what follows would
# only fail later, for a reason that hides this one.
fail_if_question_not_shown() {
  local reason
  reason=$(grep -a -m 1 "the question box could not be shown" "$1" 2>/dev/null) || return 0
  fail "no start-up question: ${reason#vexlo: }"
}
