#include "game/Player.h"

#include "game/Assets.h"
#include "game/Keys.h"

namespace {

constexpr float STEP = 5;
// Diagonal steps are shortened by this decimal value of the square root of
// two, so each component becomes 3.5355339.
constexpr double DIAGONAL_DIVISOR = 1.41421356;

}  // namespace

Player::Player() { radius = 16; }

void Player::Update() {
  vx = 0;
  vy = 0;
  if (IsKeyDown(KEY_LEFT) != 0) vx -= STEP;
  if (IsKeyDown(KEY_RIGHT) != 0) vx += STEP;
  if (IsKeyDown(KEY_UP) != 0) vy -= STEP;
  if (IsKeyDown(KEY_DOWN) != 0) vy += STEP;
  if (vx * vy != 0) {
    vx = static_cast<float>(vx / DIAGONAL_DIVISOR);
    vy = static_cast<float>(vy / DIAGONAL_DIVISOR);
  }
  Show(playerSprites[AnimationFrame(frameCount)]);
  frameCount += 1;
  x += vx;
  y += vy;
  if (x < PLAYER_MIN_X) x = PLAYER_MIN_X;
  if (x > PLAYER_MAX_X) x = PLAYER_MAX_X;
  if (y < PLAYER_MIN_Y) y = PLAYER_MIN_Y;
  if (y > PLAYER_MAX_Y) y = PLAYER_MAX_Y;
}
