#include "tools/demo/Autopilot.h"

#include <cmath>

#include "game/Ball.h"
#include "game/GamePhase.h"
#include "game/Player.h"

namespace {

// The player waits low on the screen, where every falling ball passes.
constexpr float WAITING_Y = 470.0f;
constexpr float SPEED = 5.0f;

// Frames until the ball reaches the player's height, and whether the
// player can be under it by then.
bool Reachable(const Ball& ball, const Player& player) {
  if (ball.vy <= 0.0f || ball.y > player.y) return false;
  const float frames = (player.y - ball.y) / ball.vy;
  return std::fabs(ball.x - player.x) <= frames * SPEED;
}

const Ball* ChooseBall(const GamePhase& game) {
  const Player& player = *game.player;
  const Ball* best = nullptr;
  float bestScore = 0.0f;
  for (const Ball* ball : game.balls) {
    if (ball == nullptr || !Reachable(*ball, player)) continue;
    // Sooner is better; the chain's colour counts as much as 400 pixels.
    float score = player.y - ball->y;
    if (game.chain > 0 && ball->color == game.lastColor) score -= 400.0f;
    if (best == nullptr || score < bestScore) {
      best = ball;
      bestScore = score;
    }
  }
  return best;
}

}  // namespace

SteeringKeys SteerTowardsBalls(const GamePhase& game) {
  SteeringKeys keys;
  const Player& player = *game.player;
  keys.down = player.y < WAITING_Y - SPEED;
  keys.up = player.y > WAITING_Y + SPEED;
  if (const Ball* ball = ChooseBall(game)) {
    keys.left = ball->x < player.x - SPEED;
    keys.right = ball->x > player.x + SPEED;
  }
  return keys;
}
