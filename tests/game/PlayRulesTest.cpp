// The game phase's rules: catches, chains, the all-colours bonus, the
// shown score, spawning and its random draws, the count-down, pausing, and
// the end of play.
#include <gtest/gtest.h>

#include <cstdint>

#include "game/Ball.h"
#include "game/GameRandom.h"
#include "game/Keys.h"
#include "game/OverPhase.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "tests/game/DrawnItems.h"
#include "tests/game/GameFixture.h"

namespace {

void ClearBalls(GamePhase& game) {
  for (Ball*& ball : game.balls) {
    delete ball;
    ball = nullptr;
  }
}

Ball* BallAt(float x, float y, int color, float vy = 0) {
  auto* ball = new Ball();
  ball->color = color;
  ball->x = x;
  ball->y = y;
  ball->vy = vy;
  return ball;
}

// One update of the game on its own (no frame loop), as in a new turn.
void UpdateOnce(GamePhase& game) {
  recording.BeginTurn();
  game.Update();
}

struct Popup {
  int value, lifetime;
  float x, y;
  bool operator==(const Popup& o) const {
    return value == o.value && lifetime == o.lifetime && x == o.x && y == o.y;
  }
};
std::ostream& operator<<(std::ostream& out, const Popup& p) {
  return out << "{" << p.value << ", " << p.lifetime << ", " << p.x << ", " << p.y << "}";
}

// Popups made in the latest update (they have been updated once).
std::vector<Popup> NewPopups(const GamePhase& game) {
  std::vector<Popup> popups;
  for (const ScoreEffect* effect : game.effects)
    if (effect != nullptr && effect->frameCount == 1)
      popups.push_back({effect->value, effect->lifetime, effect->x, effect->y});
  return popups;
}

// A seed whose first GameRand() is the value: the state after one step must
// hold the value in bits 16..30, so the seed is found by inverting the step.
unsigned SeedGivingFirstDraw(int value) {
  uint32_t inverse = 214013u;  // Newton's iteration for the inverse mod 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  const uint32_t state = uint32_t(value) << 16;
  return (state - 2531011u) * inverse;
}

// ---- Catching ----

struct CatchStep {
  int color;
  int score, chain, lastColor;
  std::vector<Popup> popups;
};

struct CatchCase {
  const char* name;
  std::vector<CatchStep> steps;
  std::vector<bool> flagsAfter;
};

class CatchTest : public GameTest, public ::testing::WithParamInterface<CatchCase> {};

// Each step puts a ball of the colour within reach of the player at (400,
// 300), off-centre so that a popup rising from the ball would show, and runs
// one update. Popups are seen after their first update: 5 pixels above
// where made.
TEST_P(CatchTest, ScoresChainsAndToggles) {
  GamePhase* game = StartPlaying(1000);
  for (const CatchStep& step : GetParam().steps) {
    ClearBalls(*game);
    game->balls[0] = BallAt(420, 310, step.color);
    UpdateOnce(*game);
    EXPECT_EQ(game->balls[0], nullptr) << "the caught ball is gone";
    EXPECT_EQ(game->score, step.score) << GetParam().name << ", colour " << step.color;
    EXPECT_EQ(game->chain, step.chain) << GetParam().name;
    EXPECT_EQ(game->lastColor, step.lastColor) << GetParam().name;
    EXPECT_EQ(NewPopups(*game), step.popups) << GetParam().name;
  }
  EXPECT_EQ(std::vector<bool>(std::begin(game->colorTaken), std::end(game->colorTaken)),
            GetParam().flagsAfter);
}

const Popup P10 = {10, 15, 400, 295};  // over the player, not the ball
Popup Chain(int value) { return {value, 60, 677, 571}; }
const Popup ALL = {1000, 60, 171, 571};

const CatchCase CATCHES[] = {
    {"first catch of colour 0", {{0, 10, 1, 0, {P10}}}, {true, false, false, false, false, false, false}},
    {"first catch of colour 5", {{5, 10, 1, 5, {P10}}}, {false, false, false, false, false, true, false}},
    {"three in a row",
     {{2, 10, 1, 2, {P10}}, {2, 120, 2, 2, {P10, Chain(100)}}, {2, 330, 3, 2, {P10, Chain(200)}}},
     {false, false, true, false, false, false, false}},
    {"a different colour breaks the chain",
     {{4, 10, 1, 4, {P10}}, {4, 120, 2, 4, {P10, Chain(100)}}, {1, 130, 1, 1, {P10}},
      {1, 240, 2, 1, {P10, Chain(100)}}},
     {false, false, false, false, false, false, false}},
    {"seven different colours",
     {{0, 10, 1, 0, {P10}},
      {1, 20, 1, 1, {P10}},
      {2, 30, 1, 2, {P10}},
      {3, 40, 1, 3, {P10}},
      {4, 50, 1, 4, {P10}},
      {5, 60, 1, 5, {P10}},
      {6, 1070, 1, 6, {P10, ALL}}},
     {false, false, false, false, false, false, false}},
    // The second catch of colour 1 clears its flag again, so the bonus
    // waits until colour 1 is caught a third time.
    {"a flag caught twice is off again",
     {{1, 10, 1, 1, {P10}},
      {1, 120, 2, 1, {P10, Chain(100)}},
      {0, 130, 1, 0, {P10}},
      {2, 140, 1, 2, {P10}},
      {3, 150, 1, 3, {P10}},
      {4, 160, 1, 4, {P10}},
      {5, 170, 1, 5, {P10}},
      {6, 180, 1, 6, {P10}},
      {1, 1190, 1, 1, {P10, ALL}}},
     {false, false, false, false, false, false, false}},
};

INSTANTIATE_TEST_SUITE_P(Sequences, CatchTest, ::testing::ValuesIn(CATCHES));

TEST_F(GameTest, BallsOutOfReachAreNotCaughtAndFallenOnesAreFreed) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  game->balls[3] = BallAt(436, 300, 1);  // exactly 36 away
  game->balls[7] = BallAt(100, 623, 2, 2.5f);
  UpdateOnce(*game);
  EXPECT_NE(game->balls[3], nullptr);
  EXPECT_EQ(game->balls[7], nullptr);
  EXPECT_EQ(game->score, 0);
  EXPECT_EQ(game->chain, 0);
}

TEST_F(GameTest, AFullPopupTableDropsNewPopups) {
  GamePhase* game = StartPlaying(1000);
  for (ScoreEffect*& effect : game->effects) {
    effect = new ScoreEffect();
    effect->lifetime = 1000;
    effect->frameCount = 100;
  }
  ClearBalls(*game);
  game->balls[0] = BallAt(400, 300, 3);
  UpdateOnce(*game);
  EXPECT_EQ(game->score, 10);
  EXPECT_TRUE(NewPopups(*game).empty());
}

TEST_F(GameTest, ACatchPopupIsDrawnIn14Frames) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  game->balls[0] = BallAt(400, 300, 3);
  int framesShown = 0;
  for (int turn = 0; turn < 30; ++turn) {
    recording.ClearCalls();
    UpdateOnce(*game);
    ClearBalls(*game);  // no new balls, no other popups
    game->Draw();
    for (const TextAt& text : Texts(DrawnItems(recording.calls)))
      if (text.text == "10" && text.x == 368) ++framesShown;  // centred on the player
  }
  EXPECT_EQ(framesShown, 14);
}

// ---- The shown score ----

struct EaseCase {
  int from, to;
  std::vector<int> shown;
};

class EaseTest : public GameTest, public ::testing::WithParamInterface<EaseCase> {};

TEST_P(EaseTest, ClimbsInShrinkingStepsWithoutOvershooting) {
  GamePhase* game = StartPlaying(1000);
  game->shownScore = GetParam().from;
  game->score = GetParam().to;
  std::vector<int> shown;
  for (size_t i = 0; i < GetParam().shown.size() + 3; ++i) {
    ClearBalls(*game);
    UpdateOnce(*game);
    shown.push_back(game->shownScore);
  }
  std::vector<int> expected = GetParam().shown;
  expected.insert(expected.end(), 3, GetParam().to);
  EXPECT_EQ(shown, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Jumps, EaseTest,
    ::testing::Values(EaseCase{0, 10, {3, 5, 7, 8, 9, 10}}, EaseCase{9, 10, {10}},
                      EaseCase{10, 120, {33, 51, 65, 77, 86, 93, 99, 104, 108, 111, 113, 115, 117,
                                         118, 119, 120}},
                      EaseCase{50, 50, {}}));

// ---- Spawning ----

TEST_F(GameTest, SpawningDrawsChanceColourXAndSpeedInThatOrder) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  const unsigned seed = SeedGivingFirstDraw(1234);
  GameSrand(seed);
  int draws[5];
  for (int& draw : draws) draw = GameRand();
  ASSERT_EQ(draws[0], 1234);
  GameSrand(seed);
  UpdateOnce(*game);
  const Ball* ball = game->balls[0];
  ASSERT_NE(ball, nullptr);
  EXPECT_EQ(ball->color, draws[1] % 7);
  EXPECT_EQ(ball->x, float(draws[2] % 800));
  EXPECT_EQ(ball->vy, float((draws[3] % 50 + 25) / 10.0));
  EXPECT_EQ(ball->y, -24 + ball->vy) << "updated in the frame it was made";
  EXPECT_EQ(ball->vx, 0.0f);
  EXPECT_EQ(GameRand(), draws[4]) << "exactly four numbers drawn";
  for (int slot = 1; slot < BALL_SLOTS; ++slot) EXPECT_EQ(game->balls[slot], nullptr);
}

struct ChanceCase {
  int firstDraw;
  bool spawns;
};

class SpawnChanceTest : public GameTest, public ::testing::WithParamInterface<ChanceCase> {};

TEST_P(SpawnChanceTest, OneChanceInFour) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  const unsigned seed = SeedGivingFirstDraw(GetParam().firstDraw);
  GameSrand(seed);
  GameRand();
  const int second = GameRand();
  GameSrand(seed);
  UpdateOnce(*game);
  EXPECT_EQ(game->balls[0] != nullptr, GetParam().spawns) << GetParam().firstDraw;
  if (!GetParam().spawns) {
    EXPECT_EQ(GameRand(), second) << "only the chance is drawn";
  }
}

INSTANTIATE_TEST_SUITE_P(Draws, SpawnChanceTest,
                         ::testing::Values(ChanceCase{0, true}, ChanceCase{8191, true},
                                           ChanceCase{8192, false}, ChanceCase{32767, false}));

TEST_F(GameTest, TheLowestFreeSlotIsTaken) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  game->balls[0] = BallAt(0, 100, 0);
  game->balls[2] = BallAt(0, 100, 0);
  GameSrand(SeedGivingFirstDraw(0));
  UpdateOnce(*game);
  ASSERT_NE(game->balls[1], nullptr);
  EXPECT_EQ(game->balls[1]->y, -24 + game->balls[1]->vy);
  EXPECT_EQ(game->balls[3], nullptr);
}

TEST_F(GameTest, AFullBallTableDrawsOnlyTheChance) {
  GamePhase* game = StartPlaying(1000);
  ClearBalls(*game);
  for (Ball*& ball : game->balls) ball = BallAt(0, 100, 0);  // parked far from the player
  const unsigned seed = SeedGivingFirstDraw(0);
  GameSrand(seed);
  GameRand();
  const int second = GameRand();
  GameSrand(seed);
  UpdateOnce(*game);
  EXPECT_EQ(GameRand(), second);
  for (const Ball* ball : game->balls) EXPECT_EQ(ball->y, 100.0f);
}

// ---- The count-down ----

struct CountdownPoint {
  int clock;
  const char* shown;  // the count-down text drawn, "" for none
  bool playStarted, countingDown;
};

TEST_F(GameTest, CountsDownThreeTwoOneThenStartsPlay) {
  recording.clock = 0;
  auto* game = new GamePhase();
  currentPhase = game;
  const CountdownPoint points[] = {
      {0, "3", false, true},       {999, "3", false, true},    {1000, "2", false, true},
      {1999, "2", false, true},    {2000, "1", false, true},   {2999, "1", false, true},
      {3000, "ｽﾀｰﾄ!", true, true}, {3999, "ｽﾀｰﾄ!", true, true}, {4000, "", true, false},
      {4001, "", true, false},
  };
  recording.Hold(KEY_LEFT, 0, 0);
  // Before play starts no random number is drawn, so a seed replays the
  // same balls however long the count-down took.
  const int firstDraw = GameRand();
  GameSrand(1);
  for (const CountdownPoint& point : points) {
    recording.onTurn = [&](int) { recording.clock = point.clock; };
    recording.ClearCalls();
    RunTurns(1);
    std::string shown;
    for (const TextAt& text : Texts(DrawnItems(recording.calls)))
      if (text.y == 184) {
        shown = text.text;
        EXPECT_EQ(text.color, 0xFFFFFF);
        EXPECT_EQ(text.x, 400 - 16 * int(text.text.size()));
      }
    EXPECT_EQ(shown, point.shown) << point.clock;
    EXPECT_EQ(game->playStarted, point.playStarted) << point.clock;
    EXPECT_EQ(game->countingDown, point.countingDown) << point.clock;
    if (!point.playStarted) {
      for (const Ball* ball : game->balls) EXPECT_EQ(ball, nullptr) << point.clock;
      EXPECT_EQ(GameRand(), firstDraw) << "nothing drawn by " << point.clock;
      GameSrand(1);
    }
  }
  EXPECT_EQ(game->playClock.Elapsed(), 1001);
  EXPECT_FALSE(game->countdownClock.running);
  EXPECT_EQ(game->player->x, 395.0f) << "the player moves during the count-down";
}

// ---- Pausing and resuming both clocks ----

struct ClockStep {
  int clock;
  std::vector<int> keys;
};

struct PauseCase {
  const char* name;
  std::vector<ClockStep> steps;  // one turn each; the game was made at clock 0
  int countdownElapsed, playElapsed;
  bool countingDown, playStarted;
};

class PauseClocksTest : public GameTest, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PauseClocksTest, StopsAndStartsWhicheverClocksRun) {
  const PauseCase& c = GetParam();
  recording.clock = 0;
  auto* game = new GamePhase();
  currentPhase = game;
  for (const ClockStep& step : c.steps) {
    recording.onTurn = [&](int turn) {
      recording.clock = step.clock;
      for (int key : step.keys) recording.Hold(key, turn, turn);
    };
    RunTurns(1);
  }
  EXPECT_EQ(currentPhase, game) << c.name;
  EXPECT_EQ(game->countdownClock.Elapsed(), c.countdownElapsed) << c.name;
  EXPECT_EQ(game->playClock.Elapsed(), c.playElapsed) << c.name;
  EXPECT_EQ(game->countingDown, c.countingDown) << c.name;
  EXPECT_EQ(game->playStarted, c.playStarted) << c.name;
}

const PauseCase PAUSES[] = {
    {"during the count-down the count-down freezes",
     {{1500, {KEY_ESCAPE}}, {5000, {}}, {10000, {KEY_ESCAPE}}, {10500, {}}},
     2000, 0, true, false},
    {"during the start word both clocks freeze",
     {{3000, {}}, {3500, {KEY_ESCAPE}}, {19000, {}}, {20000, {KEY_ESCAPE}}, {20100, {}}},
     3600, 600, true, true},
    {"during play the play clock freezes",
     {{4000, {}}, {10000, {KEY_ESCAPE}}, {30000, {}}, {50000, {KEY_ESCAPE}}, {50001, {}}},
     4000, 6001, false, true},
    // Paused in the very update that reaches 3 s: play begins, but its
    // clock waits for the resume instead of running under the pause screen.
    {"paused in the update in which play begins",
     {{3000, {KEY_ESCAPE}}, {9000, {}}, {9000, {KEY_ESCAPE}}, {9500, {}}},
     3500, 500, true, true},
};

INSTANTIATE_TEST_SUITE_P(Moments, PauseClocksTest, ::testing::ValuesIn(PAUSES));

TEST_F(GameTest, PausedGameIsFrozenUnderThePauseScreen) {
  GamePhase* game = StartPlaying(5000);
  ClearBalls(*game);
  game->balls[0] = BallAt(100, 100, 2, 3);
  recording.onTurn = [](int turn) { recording.Hold(KEY_ESCAPE, turn, turn); };
  RunTurns(1);  // the game's update still runs in the turn it pauses
  recording.onTurn = nullptr;
  const float y = game->balls[0]->y;
  const int frames = game->frameCount;
  recording.Hold(KEY_LEFT, recording.turn + 1, recording.turn + 20);
  RunTurns(20);
  EXPECT_EQ(KindOf(currentPhase), "pause");
  EXPECT_EQ(game->balls[0]->y, y);
  EXPECT_EQ(game->frameCount, frames);
  EXPECT_EQ(game->player->x, 400.0f);
}

// ---- The end of play ----

TEST_F(GameTest, TimeIsUpOnlyAfterExactly180000Milliseconds) {
  GamePhase* game = StartPlaying(180000);
  game->frameCount = 9;  // the red time is visible in the next frames
  RunTurns(1);
  EXPECT_EQ(currentPhase, game);
  recording.clock += 1;
  RunTurns(1);
  auto* over = dynamic_cast<OverPhase*>(currentPhase);
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(over->game, game);
  EXPECT_FALSE(game->playClock.running);
  EXPECT_EQ(game->playClock.accumulated, 180000);
  EXPECT_EQ(game->playClock.start, recording.clock);
  recording.clock += 5000;
  RunTurns(2);  // the time-up screen keeps showing 0:00:000
  for (int turn = 1; turn <= recording.turn; ++turn) {
    bool shown = false;
    for (const TextAt& text : Texts(DrawnItemsOfTurn(recording.calls, turn)))
      shown |= text == TextAt{"0:00:000", 0xFF0000, 472, 32};
    EXPECT_TRUE(shown) << "turn " << turn;
  }
}

struct AwayCase {
  int awayMilliseconds;
  const char* timeShown;
  const char* phaseAfter;
};

class InactiveWindowTest : public GameTest, public ::testing::WithParamInterface<AwayCase> {};

// The engine holds the game inside its first input call of the turn while
// the window is inactive; the clock runs on meanwhile.
TEST_P(InactiveWindowTest, ThePlayClockRunsOnWhileTheWindowIsInactive) {
  GamePhase* game = StartPlaying(100000);
  game->frameCount = 9;
  recording.inactiveMillisecondsByTurn[recording.turn + 1] = GetParam().awayMilliseconds;
  RunTurns(1);
  EXPECT_EQ(KindOf(currentPhase), GetParam().phaseAfter);
  bool shown = false;
  for (const TextAt& text : Texts(DrawnItemsOfTurn(recording.calls, recording.turn)))
    shown |= text.y == 32 && text.x == 472 && text.text == GetParam().timeShown;
  EXPECT_TRUE(shown) << GetParam().timeShown;
}

INSTANTIATE_TEST_SUITE_P(Spells, InactiveWindowTest,
                         ::testing::Values(AwayCase{30000, "0:50:000", "game"},
                                           AwayCase{79999, "0:00:001", "game"},
                                           AwayCase{90000, "0:00:000", "over"}));

TEST_F(GameTest, StopwatchSumsStretchesAndSurvivesTheClockWrap) {
  Stopwatch watch;
  recording.clock = 0x7FFFFF00;
  watch.Start();
  recording.clock = 0x7FFFFFFF;
  EXPECT_EQ(watch.Elapsed(), 0xFF);
  recording.clock = int(0x80000000u + 0x100);  // reported as 0x100 after the wrap
  EXPECT_EQ(watch.Elapsed(), 0x200);
  watch.Stop();
  recording.clock += 5000;
  EXPECT_EQ(watch.Elapsed(), 0x200);
  watch.Start();
  watch.Start();  // no new stretch while running
  recording.clock += 10;
  EXPECT_EQ(watch.Elapsed(), 0x200 + 10);
}

}  // namespace
