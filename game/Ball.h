// A falling ball of one of the seven colours, rolling through its three
// frames; it dies once it has left the bottom of the screen.
#pragma once

#include "game/Actor.h"

class Ball : public Actor {
 public:
  // Draws the colour: one GameRand() call.
  Ball();
  void Update() override;

  int color = 0;
};

// Below this y the whole 48 x 48 picture is under the screen's bottom edge.
constexpr float BALL_GONE_Y = 624;
