// The title screen: Z starts a game, Esc ends the program.
#pragma once

#include "game/Phase.h"

class TitlePhase : public Phase {
 public:
  void Update() override;
  void Draw() override;
};
