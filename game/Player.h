// The catcher, moved by the arrow keys at 5 pixels per frame and kept
// between the two status bars.
#pragma once

#include "game/Actor.h"

class Player : public Actor {
 public:
  Player();
  void Update() override;
};

// Where the player's centre may go: the 48 x 48 picture stays inside the
// screen's width and between the bars (y 64..520).
constexpr float PLAYER_MIN_X = 24, PLAYER_MAX_X = 776;
constexpr float PLAYER_MIN_Y = 88, PLAYER_MAX_Y = 496;
