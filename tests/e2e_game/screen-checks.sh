# The checks of one screenshot of the game: where the game draws its texts,
# bars and player, and what each screen must show there. Each check sets
# why when it fails. Sourced after game-lib.sh.

# Where the game draws (see game/TitlePhase.cpp, PausePhase.cpp,
# StatusDisplay.cpp): boxes as "X Y WIDTH HEIGHT", glyphs 32 x 32.
TITLE_LINE_X=224 TITLE_LINE_Y=184  # "ﾎ ﾉ ﾐ ｶ ｻ @": 11 glyphs, every other one blank
START_LINE="256 359 288 32"        # "Zｷｰ ﾊｼﾞﾒﾙ"
QUIT_LINE="256 409 288 32"         # "Esc   ｵﾜﾙ"
VERSION_LINE="0 568 608 32"        # "1.0.0.0   (c) Vexlo", grey 100
COUNTDOWN_DIGIT="384 184 32 32"    # "3", "2", "1" centred on x 400
# Where the title's first and last glyphs lie, and that no count-down text
# (at most "ｽﾀｰﾄ!", x 320..480) reaches.
BESIDE_COUNTDOWN=("224 184 96 32" "480 184 96 32")
# Parts of the two status bars (colour 22, 22, 22) under no text, icon or
# bonus popup (those rise from x 171 and 677 of the bottom bar); the bars
# are painted opaque over the balls. Only the popup of a catch at the top
# right corner could reach the first.
TOP_BAR_CORNER="776 0 24 64"
BOTTOM_BAR_MIDDLE="344 520 112 80"
BAR_GREY=22
# The bars under the pause screen's black at 160/255: 22 * 95 / 255 = 8.
DIMMED_BAR_MIN=6 DIMMED_BAR_MAX=10
# The pause texts "ｷｭｳｹｲ" at (320, 184) and "Esc  ｹﾞｰﾑｻｲｶｲ" at (192, 359),
# below the first 8 rows of the one and above the last 8 rows of the other:
# the time-up screen's texts (at y 159 and 384) reach those rows too.
PAUSE_WORD="320 192 160 24"
RESUME_LINE="192 359 416 24"
# The rows the player's 48 x 48 picture covers at its start (centre 400, 300),
# in the columns it can reach in the moves the tests make. Balls fall from
# 3 s after the game starts; on a slow machine the screenshot of the move
# can come after the first of them reached these rows, and the narrower the
# band, the less likely one is inside it.
PLAYER_BAND="200 276 400 48"
PLAYER_START_X=400
WHITE_MIN=200

why=""

# The screen's measures over BOXES ("X Y W H" or a "-..." mask, see
# measure): sets the arrays light and dark, one entry per box.
measure_boxes() {
  local file=$1 i=0 max min
  shift
  light=() dark=()
  while read -r max min; do
    light[i]=$max dark[i]=$min
    i=$((i + 1))
  done < <(measure "$file" "$@")
  [ $i = $# ] || { why="cannot measure $file"; return 1; }
}

title_shown() {
  local file=$1 i boxes=()
  for i in 0 1 2 3 4 5 6 7 8 9 10; do boxes+=("$((TITLE_LINE_X + 32 * i)) $TITLE_LINE_Y 32 32"); done
  boxes+=("$START_LINE" "$QUIT_LINE" "$VERSION_LINE"
    "-$TITLE_LINE_X $TITLE_LINE_Y 352 32;$START_LINE;$QUIT_LINE;$VERSION_LINE")
  measure_boxes "$file" "${boxes[@]}" || return 1
  for i in 0 1 2 3 4 5 6 7 8 9 10; do
    if [ $((i % 2)) = 0 ]; then
      [ "${light[i]}" -ge $WHITE_MIN ] || { why="title glyph $i is not white (${light[i]})"; return 1; }
    else
      [ "${light[i]}" = 0 ] || { why="the blank after title glyph $((i - 1)) is not black (${light[i]})"; return 1; }
    fi
  done
  [ "${light[11]}" -ge $WHITE_MIN ] || { why="no white start line (${light[11]})"; return 1; }
  [ "${light[12]}" -ge $WHITE_MIN ] || { why="no white quit line (${light[12]})"; return 1; }
  [ "${light[13]}" -ge 60 ] && [ "${light[13]}" -le 140 ] || { why="the version line is not grey (${light[13]})"; return 1; }
  [ "${light[14]}" = 0 ] || { why="the title screen is not black outside its texts (${light[14]})"; return 1; }
}

# Both bars measured in BOXES' first two entries: within LOW..HIGH.
bars_within() {
  local low=$1 high=$2 i
  for i in 0 1; do
    [ "${dark[i]}" -ge "$low" ] && [ "${light[i]}" -le "$high" ] ||
      { why="a status bar reads ${dark[i]}..${light[i]}, expected $low..$high"; return 1; }
  done
}
bars_lit() {
  measure_boxes "$1" "$TOP_BAR_CORNER" "$BOTTOM_BAR_MIDDLE" && bars_within $BAR_GREY $BAR_GREY
}
bars_dimmed() {
  measure_boxes "$1" "$TOP_BAR_CORNER" "$BOTTOM_BAR_MIDDLE" && bars_within $DIMMED_BAR_MIN $DIMMED_BAR_MAX
}

# The player as the one lit thing in its band (or in BAND, "x y w h", a
# narrower part of it): sets player_box.
find_player() {
  local file=$1 band=${2:-$PLAYER_BAND} x y w h
  player_box=$(lit_box "$file" $band)
  [ -n "$player_box" ] || { why="no player in the rows 276..324"; return 1; }
  read -r x y w h <<<"$player_box"
  [ "$w" -le 48 ] && [ "$h" -le 48 ] || { why="more than the player in the rows 276..324 ($player_box)"; return 1; }
}

countdown_shown() {
  local file=$1 x y w h
  measure_boxes "$file" "$TOP_BAR_CORNER" "$BOTTOM_BAR_MIDDLE" "$COUNTDOWN_DIGIT" "${BESIDE_COUNTDOWN[@]}" || return 1
  bars_within $BAR_GREY $BAR_GREY || return 1
  [ "${light[2]}" -ge $WHITE_MIN ] || { why="no white count-down digit (${light[2]})"; return 1; }
  [ "${light[3]}" = 0 ] && [ "${light[4]}" = 0 ] ||
    { why="something beside the count-down (${light[3]}, ${light[4]})"; return 1; }
  find_player "$file" || return 1
  read -r x y w h <<<"$player_box"
  [ $((x + w / 2 - PLAYER_START_X)) -ge -8 ] && [ $((x + w / 2 - PLAYER_START_X)) -le 8 ] ||
    { why="the player is not at the centre: $player_box"; return 1; }
}

# Against start_left and start_top, the player's box in an earlier shot.
# Only the columns a short press can reach are searched: on a slow machine
# the count-down may be over before the shot, and a ball elsewhere in the
# player's rows must not be taken for it.
player_moved_left() {
  local file=$1 x y w h left=$((start_left - 250))
  [ $left -ge 0 ] || left=0
  find_player "$file" "$left 276 $((start_left + 48 - left)) 48" || return 1
  read -r x y w h <<<"$player_box"
  [ $((start_left - x)) -ge 20 ] || { why="the player's left edge went from $start_left to $x"; return 1; }
  [ $((y - start_top)) -ge -2 ] && [ $((y - start_top)) -le 2 ] || { why="the player's top went from $start_top to $y"; return 1; }
}

pause_shown() {
  measure_boxes "$1" "$TOP_BAR_CORNER" "$BOTTOM_BAR_MIDDLE" "$PAUSE_WORD" "$RESUME_LINE" || return 1
  bars_within $DIMMED_BAR_MIN $DIMMED_BAR_MAX || return 1
  [ "${light[2]}" -ge $WHITE_MIN ] || { why="no white pause word (${light[2]})"; return 1; }
  [ "${light[3]}" -ge $WHITE_MIN ] || { why="no white resume line (${light[3]})"; return 1; }
}
