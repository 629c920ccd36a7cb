// The catch test: do the ball's and the player's circles overlap?
#pragma once

class Ball;
class Player;

// True when the centres are closer than the sum of the radii (touching
// circles do not collide). Each square is rounded to a 32-bit float.
bool Collide(const Ball& ball, const Player& player);
