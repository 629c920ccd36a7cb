#include "game/PausePhase.h"

#include "game/Colors.h"
#include "game/GamePhase.h"
#include "game/Keys.h"
#include "game/Overlay.h"
#include "game/Text.h"
#include "game/TitlePhase.h"

namespace {

// Starts again the clocks that the pause stopped.
void ResumeClocks(GamePhase& game) {
  if (game.countingDown && !game.countdownClock.running) game.countdownClock.Start();
  if (game.playStarted && !game.playClock.running) game.playClock.Start();
}

}  // namespace

void PausePhase::Update() {
  RefreshKeys();
  if (IsPressed(KEY_ESCAPE)) {
    ResumeClocks(*game);
    currentPhase = game;
  }
  // Checked after Esc: both in one frame go to the title.
  if (IsPressed(KEY_Q)) currentPhase = new TitlePhase();
}

void PausePhase::Draw() {
  game->Draw();
  DimScreen();
  DrawString(COLOR_WHITE, "ｷｭｳｹｲ", 320, 184);
  DrawString(COLOR_WHITE, "Esc  ｹﾞｰﾑｻｲｶｲ", 192, 359);
  DrawString(COLOR_WHITE, "Qｷｰ ﾀｲﾄﾙﾆﾓﾄﾞﾙ", 192, 409);
}
