#include "game/CountdownDisplay.h"

#include <cstdio>

#include "game/Colors.h"
#include "game/GamePhase.h"
#include "game/Text.h"

void DrawCountdown(const GamePhase& game) {
  const int seconds = game.countdownClock.Elapsed() / 1000;
  char text[16];
  if (seconds >= 3)
    std::snprintf(text, sizeof text, "%s", "ｽﾀｰﾄ!");
  else
    std::snprintf(text, sizeof text, "%d", 3 - seconds);
  DrawString(COLOR_WHITE, text, CenteredLeft(400, text), 184);
}
