// Steers the player in the demo: under the ball it should catch next,
// preferring the colour of the running chain.
#pragma once

class GamePhase;

struct SteeringKeys {
  bool left = false, right = false, up = false, down = false;
};

SteeringKeys SteerTowardsBalls(const GamePhase& game);
