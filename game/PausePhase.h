// The pause screen over a frozen game: Esc resumes it, Q goes back to the
// title.
#pragma once

#include "game/Phase.h"

class GamePhase;

class PausePhase : public Phase {
 public:
  explicit PausePhase(GamePhase* pausedGame) : game(pausedGame) {}
  void Update() override;
  void Draw() override;

  // Drawn under the overlay and handed back on Esc; kept alive while this
  // phase is current (see PhaseLifetime.h).
  GamePhase* game;
};
