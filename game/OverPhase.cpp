#include "game/OverPhase.h"

#include <cstdio>

#include "game/Colors.h"
#include "game/GamePhase.h"
#include "game/Keys.h"
#include "game/Overlay.h"
#include "game/Text.h"
#include "game/TitlePhase.h"

void OverPhase::Update() {
  RefreshKeys();
  if (IsPressed(KEY_Z)) currentPhase = new TitlePhase();
}

void OverPhase::Draw() {
  game->Draw();
  DimScreen();
  DrawString(COLOR_WHITE, "ｼﾞｶﾝｷﾞﾚ", 288, 159);
  // The real score, not the one still easing in the status display.
  char result[64];
  std::snprintf(result, sizeof result, "ｱﾅﾀﾉ ﾄｸﾃﾝﾊ %d ﾃﾝ!", game->score);
  DrawString(COLOR_WHITE, result, CenteredLeft(400, result), 209);
  DrawString(COLOR_WHITE, "Zｷｰ ﾀｲﾄﾙﾆﾓﾄﾞﾙ", 192, 384);
}
