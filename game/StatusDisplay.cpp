#include "game/StatusDisplay.h"

#include <cstdio>
#include <cstring>

#include "engine/core/Engine.h"
#include "game/Colors.h"
#include "game/GamePhase.h"
#include "game/Screen.h"
#include "game/Text.h"

namespace {

constexpr int TOP_BAR_BOTTOM = 64, BOTTOM_BAR_TOP = 520;
constexpr int SCORE_CENTER_X = 200, TIME_CENTER_X = 600, VALUE_Y = 32;
constexpr int HURRY_MILLISECONDS = 30000;
constexpr int ICON_Y = 552, ICON_SPACING = 48;
constexpr int FAINT_ICON_OPACITY = 32;
constexpr int LAST_COLOR_X = 752, CHAIN_TEXT_Y = 560;

void DrawBars() {
  ChooseBlendMode(BLEND_ALPHA, 255);
  PaintBox(0, 0, SCREEN_WIDTH, TOP_BAR_BOTTOM, COLOR_BAR, 1);
  PaintBox(0, BOTTOM_BAR_TOP, SCREEN_WIDTH, SCREEN_HEIGHT, COLOR_BAR, 1);
  ChooseBlendMode(BLEND_NONE, 255);
}

void DrawScore(const GamePhase& game) {
  DrawString(COLOR_GREY, "ﾄｸﾃﾝ", 136, 0);
  char text[16];
  std::snprintf(text, sizeof text, "%d", game.shownScore);
  DrawString(COLOR_WHITE, text, CenteredLeft(SCORE_CENTER_X, text), VALUE_Y);
}

// White while more than 30 s are left; then red, blinking: shown in the
// second ten of every twenty frames of the game phase.
void DrawTimeLeft(const GamePhase& game) {
  const int remaining = RemainingMilliseconds(game);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%03d", remaining / 60000, (remaining % 60000) / 1000,
                remaining % 1000);
  DrawString(COLOR_GREY, "ﾉｺﾘｼﾞｶﾝ", 488, 0);
  const int left = CenteredLeft(TIME_CENTER_X, text);
  if (remaining > HURRY_MILLISECONDS)
    DrawString(COLOR_WHITE, text, left, VALUE_Y);
  else if ((game.frameCount % 20) / 10 == 1)
    DrawString(COLOR_RED, text, left, VALUE_Y);
}

// Each colour's first frame; the ones not held now are drawn faintly.
void DrawCollectedColors(const GamePhase& game) {
  DrawString(COLOR_GREY, "ﾄｯﾀ ｲﾛ", 0, BOTTOM_BAR_TOP);
  for (int color = 0; color < BALL_COLORS; ++color) {
    if (!game.colorTaken[color]) ChooseBlendMode(BLEND_ALPHA, FAINT_ICON_OPACITY);
    PutGraph(ICON_SPACING * color, ICON_Y, BallIcon(color).handle, 1);
    ChooseBlendMode(BLEND_NONE, 255);
  }
}

// The chain text ends where the last colour's ball begins.
void DrawLastColor(const GamePhase& game) {
  DrawString(COLOR_GREY, "ｻｲｺﾞﾉ ｲﾛ", 544, BOTTOM_BAR_TOP);
  if (game.chain <= 0) return;
  PutGraph(LAST_COLOR_X, ICON_Y, BallIcon(game.lastColor).handle, 1);
  if (game.chain <= 1) return;
  char text[32];
  std::snprintf(text, sizeof text, "%dﾚﾝｿﾞｸ!", game.chain);
  const int length = static_cast<int>(std::strlen(text));
  DrawString(ballColors[game.lastColor], text, LAST_COLOR_X - length * GLYPH_SIZE, CHAIN_TEXT_Y);
}

}  // namespace

int RemainingMilliseconds(const GamePhase& game) {
  const int remaining = PLAY_MILLISECONDS - game.playClock.Elapsed();
  return remaining < 0 ? 0 : remaining;
}

void DrawStatusDisplay(const GamePhase& game) {
  DrawBars();
  DrawScore(game);
  DrawTimeLeft(game);
  DrawCollectedColors(game);
  DrawLastColor(game);
}
