#include "game/GamePhase.h"

#include "game/Ball.h"
#include "game/Collide.h"
#include "game/CountdownDisplay.h"
#include "game/GameRandom.h"
#include "game/Keys.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "game/StatusDisplay.h"

namespace {

constexpr float PLAYER_START_X = 400, PLAYER_START_Y = 300;
// The count-down shows 3, 2, 1, then the start word for one more second.
constexpr int PLAY_STARTS_AFTER_SECONDS = 2;      // more than 2 s: 3000 ms
constexpr int COUNTDOWN_ENDS_AFTER_SECONDS = 3;   // more than 3 s: 4000 ms
// rand() / 32767.0 < 0.25: the values 0..8191, one frame in four.
constexpr double SPAWN_CHANCE = 0.25;
constexpr float BALL_START_Y = -24;
constexpr int CATCH_POINTS = 10;
constexpr int CATCH_EFFECT_LIFETIME = 15;
constexpr int BONUS_EFFECT_LIFETIME = 60;
constexpr int CHAIN_STEP_POINTS = 100;
constexpr int ALL_COLORS_POINTS = 1000;
// Where the chain and all-colours bonuses rise from: over the last colour
// shown in the bottom bar, and over the collected colours.
constexpr float CHAIN_EFFECT_X = 677, CHAIN_EFFECT_Y = 576;
constexpr float ALL_COLORS_EFFECT_X = 171, ALL_COLORS_EFFECT_Y = 576;

template <class T, int N>
T** FreeSlot(T* (&slots)[N]) {
  for (T*& slot : slots)
    if (slot == nullptr) return &slot;
  return nullptr;
}

}  // namespace

GamePhase::GamePhase() {
  player = new Player();
  player->x = PLAYER_START_X;
  player->y = PLAYER_START_Y;
  countingDown = true;
  playStarted = false;
  countdownClock.Start();
  lastColor = 0;
  chain = 0;
}

GamePhase::~GamePhase() {
  for (Ball*& ball : balls) {
    delete ball;
    ball = nullptr;
  }
  for (ScoreEffect*& effect : effects) {
    delete effect;
    effect = nullptr;
  }
  delete player;
}

void GamePhase::PauseClocks() {
  if (countingDown) countdownClock.Stop();
  if (playStarted) playClock.Stop();
}

void GamePhase::Update() {
  RefreshKeys();
  if (IsPressed(KEY_ESCAPE)) {
    PauseClocks();
    currentPhase = new PausePhase(this);
  }
  player->Update();
  if (countingDown) RunCountdown();
  if (!playStarted) return;
  SpawnBall();
  UpdateBalls();
  UpdateEffects();
  EaseShownScore();
  CheckTimeUp();
}

void GamePhase::RunCountdown() {
  if (countdownClock.Elapsed() / 1000 > PLAY_STARTS_AFTER_SECONDS && !playStarted) {
    playStarted = true;
    // The count-down clock is stopped only when this very update paused
    // the game: then play begins stopped too, and resuming starts both.
    // Otherwise the play clock would run on under the pause screen.
    if (countdownClock.running) playClock.Start();
  }
  if (countdownClock.Elapsed() / 1000 > COUNTDOWN_ENDS_AFTER_SECONDS) {
    countdownClock.Stop();
    countingDown = false;
  }
}

// Random numbers are drawn in a fixed order (chance, colour, x, speed) and
// only the chance when the table is full, so a seed replays the same game.
void GamePhase::SpawnBall() {
  if (GameRand() / static_cast<double>(GAME_RAND_MAX) >= SPAWN_CHANCE) return;
  Ball** slot = FreeSlot(balls);
  if (slot == nullptr) return;
  Ball* ball = new Ball();
  ball->x = static_cast<float>(GameRand() % 800);
  ball->y = BALL_START_Y;
  ball->vx = 0;
  ball->vy = static_cast<float>((GameRand() % 50 + 25) / 10.0);
  *slot = ball;
}

void GamePhase::UpdateBalls() {
  for (Ball*& ball : balls) {
    if (ball == nullptr) continue;
    ball->Update();
    if (Collide(*ball, *player)) {
      ball->alive = false;
      Catch(*ball);
    }
    if (!ball->alive) {
      delete ball;
      ball = nullptr;
    }
  }
}

void GamePhase::Catch(const Ball& ball) {
  colorTaken[ball.color] = !colorTaken[ball.color];
  score += CATCH_POINTS;
  AddScoreEffect(CATCH_EFFECT_LIFETIME, CATCH_POINTS, player->x, player->y);
  if (ball.color == lastColor) {
    chain += 1;
    if (chain > 1) {
      const int bonus = (chain - 1) * CHAIN_STEP_POINTS;
      score += bonus;
      AddScoreEffect(BONUS_EFFECT_LIFETIME, bonus, CHAIN_EFFECT_X, CHAIN_EFFECT_Y);
    }
  } else {
    lastColor = ball.color;
    chain = 1;
  }
  for (bool taken : colorTaken)
    if (!taken) return;
  score += ALL_COLORS_POINTS;
  AddScoreEffect(BONUS_EFFECT_LIFETIME, ALL_COLORS_POINTS, ALL_COLORS_EFFECT_X, ALL_COLORS_EFFECT_Y);
  for (bool& taken : colorTaken) taken = false;
}

// A full table drops the popup.
void GamePhase::AddScoreEffect(int lifetime, int value, float x, float y) {
  ScoreEffect** slot = FreeSlot(effects);
  if (slot == nullptr) return;
  ScoreEffect* effect = new ScoreEffect();
  effect->lifetime = lifetime;
  effect->value = value;
  effect->x = x;
  effect->y = y;
  *slot = effect;
}

void GamePhase::UpdateEffects() {
  for (ScoreEffect*& effect : effects) {
    if (effect == nullptr) continue;
    effect->Update();
    if (!effect->alive) {
      delete effect;
      effect = nullptr;
    }
  }
}

// Quickly shrinking steps that never overshoot: 0 to 10 shows 3, 5, 7, 8,
// 9, 10.
void GamePhase::EaseShownScore() {
  if (shownScore != score) shownScore += (score - shownScore) / 5 + 1;
}

void GamePhase::CheckTimeUp() {
  if (playClock.Elapsed() <= PLAY_MILLISECONDS) return;
  playClock.Stop();
  playClock.accumulated = PLAY_MILLISECONDS;
  playClock.start = NowMilliseconds(0);
  currentPhase = new OverPhase(this);
}

void GamePhase::Draw() {
  for (Ball* ball : balls)
    if (ball != nullptr) ball->Draw();
  player->Draw();
  DrawStatusDisplay(*this);
  for (ScoreEffect* effect : effects)
    if (effect != nullptr) effect->Draw();
  if (countingDown) DrawCountdown(*this);
}
