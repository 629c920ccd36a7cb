#include "game/Ball.h"

#include "game/Assets.h"
#include "game/GameRandom.h"

Ball::Ball() {
  radius = 20;
  color = GameRand() % BALL_COLORS;
}

void Ball::Update() {
  x += vx;
  Show(ballSprites[BALL_FRAMES * color + AnimationFrame(frameCount)]);
  frameCount += 1;
  y += vy;
  if (y > BALL_GONE_Y) alive = false;
}
