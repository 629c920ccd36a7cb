# Steps shared by the game's end-to-end scripts: the X display, the game's
# windows, keys, screenshots and the pixel measures the checks are made of.
# Every wait is bounded. Sourced by play_game.sh.

# SKIP, fail and wait_for_exit come from the window tests' library; the
# display check and the question box answer below replace its own, since
# the game's runs also wait out a resetting X server and answer the box
# until it is gone.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e-lib.sh"

CAPTION="ほのみかさ"

# Seconds since the run began (run_start, from $EPOCHREALTIME), to 0.1 s.
elapsed() {
  awk -v now="$EPOCHREALTIME" -v start="$run_start" 'BEGIN {printf "%.1f s", now - start}'
}

# No usable X server: the test is skipped, not failed. A server that is
# resetting (its last client just left) refuses for a moment, so it is
# asked again for a few seconds.
require_display() {
  local i tool
  [ -n "${DISPLAY:-}" ] || { echo "skipped: DISPLAY is not set"; exit $SKIP; }
  for i in $(seq 20); do
    xdpyinfo >/dev/null 2>&1 && break
    [ "$i" = 20 ] && { echo "skipped: no usable X display at $DISPLAY"; exit $SKIP; }
    sleep 0.25
  done
  for tool in xdotool xwininfo xprop import convert; do
    command -v $tool >/dev/null || { echo "skipped: $tool is missing"; exit $SKIP; }
  done
}

# An X server started without -noreset resets when its last client leaves:
# a program that drops its connection and opens a new one at that moment
# (SDL restarts its video when the first window is made) can lose the
# display. A client of our own stays connected for the whole run.
hold_display() {
  xprop -root -spy >/dev/null 2>&1 &
  display_holder=$!
}

# The top-level windows named CAPTION: "ID WIDTHxHEIGHT" per line.
game_windows() {
  xwininfo -root -children 2>/dev/null | grep -F "\"$CAPTION\"" |
    sed -E 's/^ *(0x[0-9a-f]+) .* ([0-9]+x[0-9]+)[+-][0-9]+[+-][0-9]+ .*$/\1 \2/'
}

# Windows named CAPTION that are not ours: those that existed before the
# program started (set known_windows to their ids, see game_windows).
known_windows=""
is_known() { case " $known_windows " in *" $1 "*) return 0 ;; esac; return 1; }

# Waits up to SECONDS for the start-up question: the first new window named
# CAPTION. Prints its id.
wait_for_question() {
  local seconds=$1 deadline=$((SECONDS + $1)) id dims
  while [ $SECONDS -lt $deadline ]; do
    while read -r id dims; do
      [ -n "$id" ] && ! is_known "$id" && { echo "$id"; return 0; }
    done < <(game_windows)
    sleep 0.2
  done
  return 1
}

# Waits up to SECONDS for the game's window: a new window named CAPTION,
# not the window EXCLUDE, and at least 800 x 600 (a frame the program draws
# itself may surround the client area). Prints its id.
wait_for_game_window() {
  local exclude=$1 seconds=$2 deadline=$((SECONDS + $2)) id dims
  while [ $SECONDS -lt $deadline ]; do
    while read -r id dims; do
      [ -n "$id" ] && [ "$id" != "$exclude" ] && ! is_known "$id" || continue
      [ "${dims%x*}" -ge 800 ] && [ "${dims#*x}" -ge 600 ] && { echo "$id"; return 0; }
    done < <(game_windows)
    sleep 0.2
  done
  return 1
}

# Waits up to SECONDS for the 800 x 600 client area of the game window
# WINDOW and prints the rectangle "X Y W H" of the screen it covers: the
# window's own, or that of its child of that size (Wine puts the client
# area in a child window inside the frame it draws, a moment after the
# frame; in hardware mode such children come and go with the device, so
# the place is taken at once).
wait_for_client_area() {
  local window=$1 deadline=$((SECONDS + $2)) child area previous=""
  while [ $SECONDS -lt $deadline ]; do
    area=""
    if [ "$(screen_area "$window" | cut -d' ' -f3-)" = "800 600" ]; then
      area=$(screen_area "$window")
    else
      # The listing gives each child's place on the screen as its last
      # field: the child itself may be gone by the time it is asked.
      area=$(xwininfo -children -id "$window" 2>/dev/null | awk '$1 ~ /^0x/ && / 800x600[+-]/ {
        if (split($NF, at, /[+]/) == 3) {print at[2], at[3], 800, 600; exit}}')
    fi
    # Wine shows a new window at a first place before it centres it: the
    # place counts once it stays.
    if [ -n "$area" ] && [ "$area" = "$previous" ]; then
      echo "$area"
      return 0
    fi
    previous=$area
    sleep 0.5
  done
  return 1
}

window_exists() { xwininfo -id "$1" >/dev/null 2>&1; }

# Gives WINDOW the keyboard focus. There is no window manager to ask, so
# the focus is set directly; the keys then come from the XTEST extension
# like a real keyboard's, which SDL and Wine both take.
focus_window() {
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.1
}

# Holds KEY on WINDOW for a few frames: the game sees a press in the first
# update in which the key is held. KEY_HOLD (seconds) must outlast a frame:
# hardware mode under Wine draws through software OpenGL, and on a busy
# machine one of its frames can take most of a second.
KEY_HOLD=${KEY_HOLD:-0.25}
press_key() {
  local window=$1 key=$2
  focus_window "$window"
  xdotool keydown "$key"
  sleep "$KEY_HOLD"
  xdotool keyup "$key"
}

# Answers the start-up question box BOX with KEY, repeated until the box
# is gone: a box that has just appeared may not take keys yet.
answer_question() {
  local box=$1 key=$2 i
  for i in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.3
    window_exists "$box" || return 0
    press_key "$box" "$key"
  done
  ! window_exists "$box"
}

# The rectangle "X Y W H" of the screen that the X window WINDOW covers.
screen_area() {
  xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
    /^ +Width:/ {w = $2} /^ +Height:/ {h = $2} END {if (h != "") print x, y, w, h}'
}

# What the screen shows over the rectangle AREA ("X Y W H"), into FILE.
# The screen, not a window's own picture: Wine's Direct3D draws through
# OpenGL into X windows of its own over the client area, made and dropped
# with the device, whose pixels an image of the game's window may leave
# out. Without a window manager nothing lies over the game's window.
screenshot_area() {
  local x y w h
  read -r x y w h <<<"$1"
  [ -n "$h" ] || return 1
  import -silent -window root png:- 2>/dev/null |
    convert png:- -crop "${w}x${h}+${x}+${y}" +repage "png:$2" 2>/dev/null
}

# What the screen shows where the X window WINDOW lies, into FILE.
screenshot() { screenshot_area "$(screen_area "$1")" "$2"; }

# Pixel measures of FILE, on the brightest channel of each pixel (0..255),
# all in one run of ImageMagick: for each argument, one line "MAX MIN" over
# the rectangle "X Y W H", or over the whole picture with every rectangle
# of a "-X Y W H;X Y W H..." argument blacked out.
measure() {
  local file=$1 args=() box x y w h draws parts part
  shift
  for box in "$@"; do
    if [ "${box#-}" != "$box" ]; then
      draws=()
      IFS=';' read -ra parts <<<"${box#-}"
      for part in "${parts[@]}"; do
        read -r x y w h <<<"$part"
        draws+=(-draw "rectangle $x,$y $((x + w - 1)),$((y + h - 1))")
      done
      args+=('(' mpr:shot +antialias -fill black "${draws[@]}")
    else
      read -r x y w h <<<"$box"
      args+=('(' mpr:shot -crop "${w}x${h}+${x}+${y}" +repage)
    fi
    args+=(-format '%[fx:round(255*maxima)] %[fx:round(255*minima)]\n' -write info: ')')
  done
  convert "$file" -separate -evaluate-sequence Max -write mpr:shot +delete "${args[@]}" null: 2>/dev/null
}

# The brightest pixel over one rectangle "X Y W H" of FILE.
brightest() { measure "$1" "$2 $3 $4 $5" | awk '{print $1}'; }

# The bounding box "LEFT TOP WIDTH HEIGHT" (in the whole picture) of the
# pixels brighter than 16 in the rectangle X Y W H of FILE; empty when the
# rectangle is black.
lit_box() {
  local file=$1 x=$2 y=$3 w=$4 h=$5 box
  box=$(convert "${file}[${w}x${h}+${x}+${y}]" +repage -separate -evaluate-sequence Max \
    -threshold 6.5% -format '%@' info: 2>/dev/null)
  [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 0
  [ "${BASH_REMATCH[1]}" -gt 0 ] && [ "${BASH_REMATCH[2]}" -gt 0 ] || return 0
  echo "$((x + BASH_REMATCH[3])) $((y + BASH_REMATCH[4])) ${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}

# Takes screenshots with `take_shot SHOT` until CHECK passes on one, for up
# to SECONDS; the last screenshot stays in $shot. A failure keeps it beside
# the test as $artifact_prefix-$run-NAME.png. Needs $work, $artifacts and
# $run.
expect() {
  local seconds=$1 name=$2 check=$3
  local deadline=$((SECONDS + seconds)) n=0 kept
  while :; do
    n=$((n + 1))
    shot="$work/$run-$name-$n.png"
    why="no screenshot"
    if take_shot "$shot" && $check "$shot"; then
      echo "  $name: seen at $(elapsed)"
      return 0
    fi
    if [ $SECONDS -ge $deadline ]; then
      kept="$artifacts/$artifact_prefix-$run-$name.png"
      [ -f "$shot" ] && cp "$shot" "$kept"
      fail "$run: $name: $why (screenshot: $kept)"
    fi
    sleep 0.1
  done
}

# Takes COUNT screenshots with `take_shot SHOT`, one after the other, and
# each must pass CHECK: the picture stays, rather than showing up only now
# and then. (A program that shows its frame before drawing it, right after
# the clear, passes `expect` on a lucky shot; under Wine such a picture
# was black on a quarter to a half of the shots.) The failing screenshot
# stays beside the test as for `expect`.
expect_steady() {
  local count=$1 name=$2 check=$3 n kept
  for n in $(seq "$count"); do
    shot="$work/$run-$name-$n.png"
    why="no screenshot"
    if ! { take_shot "$shot" && $check "$shot"; }; then
      kept="$artifacts/$artifact_prefix-$run-$name.png"
      [ -f "$shot" ] && cp "$shot" "$kept"
      fail "$run: $name: shot $n of $count: $why (screenshot: $kept)"
    fi
  done
  echo "  $name: $count shots in a row at $(elapsed)"
}
