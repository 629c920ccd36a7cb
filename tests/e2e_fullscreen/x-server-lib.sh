# Starts an X server of its own for a full-screen end-to-end run. Sourced
# after game-lib.sh, by scripts that set $work and clean up $xvfb_pid.
#
# The X server takes the first free display number of
# $E2E_FULLSCREEN_DISPLAYS (default 180 to 199, numbers only these tests
# use).

# SDL draws its question box in a core X font of normal width, which a
# system without X's own font packages does not have: the server is given
# a scalable one then.
x_server_font_path() {
  font_path=()
  local dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  if [ -f "$dejavu" ]; then
    mkdir -p "$work/fonts" && ln -sf "$dejavu" "$work/fonts/"
    printf '1\nDejaVuSans.ttf -misc-dejavu sans-medium-r-normal--0-0-0-0-p-0-iso8859-1\n' >"$work/fonts/fonts.dir"
    font_path=(-fp "built-ins,$work/fonts")
  fi
}

# Starts Xvfb at SIZE (WIDTHxHEIGHT, depth 24) on the first free display of
# the range and exports DISPLAY; the display is ours when its lock file
# names our server. Sets xvfb_pid.
start_x_server() {
  local size=$1 n
  x_server_font_path
  for n in ${E2E_FULLSCREEN_DISPLAYS:-$(seq 180 199)}; do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset "${font_path[@]}" >"$work/xvfb-$n.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$xvfb_pid" ] &&
        DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  return 1
}

screen_dimensions() { xdpyinfo | awk '/dimensions:/ {print $2}'; }

# Whether WINDOW covers the whole screen of $size (WIDTHxHEIGHT).
covers_screen() {
  local geometry
  geometry=$(xwininfo -id "$1" 2>/dev/null) || return 1
  grep -qE "^ +Absolute upper-left X: +0$" <<<"$geometry" &&
    grep -qE "^ +Absolute upper-left Y: +0$" <<<"$geometry" &&
    grep -qE "^ +Width: ${size%x*}$" <<<"$geometry" &&
    grep -qE "^ +Height: ${size#*x}$" <<<"$geometry"
}

# Waits up to SECONDS until WINDOW covers the screen (or, with "not", no
# longer does).
wait_for_cover() {
  local window=$1 want=${3:-covers} deadline=$((SECONDS + $2))
  while [ $SECONDS -lt $deadline ]; do
    if covers_screen "$window"; then [ "$want" = covers ] && return 0
    else [ "$want" = not ] && return 0; fi
    sleep 0.2
  done
  return 1
}
