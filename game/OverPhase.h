// The time-up screen over the finished game, with the final score: Z goes
// back to the title.
#pragma once

#include "game/Phase.h"

class GamePhase;

class OverPhase : public Phase {
 public:
  explicit OverPhase(GamePhase* finishedGame) : game(finishedGame) {}
  void Update() override;
  void Draw() override;

  // Drawn under the overlay; kept alive while this phase is current (see
  // PhaseLifetime.h).
  GamePhase* game;
};
