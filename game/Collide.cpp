#include "game/Collide.h"

#include "game/Ball.h"
#include "game/Player.h"

bool Collide(const Ball& ball, const Player& player) {
  const float a = player.x - ball.x;
  const float b = player.y - ball.y;
  const float r = ball.radius + player.radius;
  const float a2 = a * a;
  const float b2 = b * b;
  const float r2 = r * r;
  return r2 > a2 + b2;
}
