// The game itself: a three-second count-down, then three minutes in which
// balls fall and the player catches them for points.
#pragma once

#include "game/Assets.h"
#include "game/Phase.h"
#include "game/Stopwatch.h"

class Ball;
class Player;
class ScoreEffect;

constexpr int BALL_SLOTS = 128;
constexpr int EFFECT_SLOTS = 64;
// Length of play, on playClock.
constexpr int PLAY_MILLISECONDS = 180000;

class GamePhase : public Phase {
 public:
  // Starts the count-down clock.
  GamePhase();
  // Destroys the balls and score popups still in play, then the player.
  ~GamePhase() override;

  void Update() override;
  void Draw() override;

  // Stops whichever clocks run; the pause phase starts them again.
  void PauseClocks();

  Player* player = nullptr;
  Ball* balls[BALL_SLOTS] = {};             // null: a free slot
  ScoreEffect* effects[EFFECT_SLOTS] = {};  // null: a free slot
  bool colorTaken[BALL_COLORS] = {};        // toggled by each catch
  int score = 0;
  int shownScore = 0;  // eases towards score
  Stopwatch playClock;
  Stopwatch countdownClock;  // runs from construction
  bool countingDown = true;  // the count-down is still shown
  bool playStarted = false;  // balls fall and playClock runs
  int lastColor = 0;         // colour of the previous catch
  int chain = 0;             // consecutive catches of lastColor

 private:
  void RunCountdown();
  void SpawnBall();
  void UpdateBalls();
  void Catch(const Ball& ball);
  void AddScoreEffect(int lifetime, int value, float x, float y);
  void UpdateEffects();
  void EaseShownScore();
  void CheckTimeUp();
};
