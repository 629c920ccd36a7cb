// Phase objects are freed once nothing current reaches them, and never
// while they can still be drawn or handed back. Run under AddressSanitizer
// (VEXLO_SANITIZE) this also proves that nothing freed is used; the live
// counts catch leaks in the ordinary run.
#include <gtest/gtest.h>

#include "game/GamePhase.h"
#include "game/Keys.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/PhaseLifetime.h"
#include "game/TitlePhase.h"
#include "tests/game/GameFixture.h"

namespace {

struct LifeCheckpoint {
  int turn;
  const char* kind;
  int live;
};

// Title, game, pause, title, game, time up, title.
TEST_F(GameTest, AFullCycleKeepsOnlyWhatTheCurrentPhaseReaches) {
  currentPhase = new TitlePhase();
  recording.Hold(KEY_Z, 0, 0);       // a game
  recording.Hold(KEY_ESCAPE, 3, 3);  // paused
  recording.Hold(KEY_Q, 5, 5);       // back to the title
  recording.Hold(KEY_Z, 7, 7);       // a second game, created at clock 7000
  recording.Hold(KEY_Z, 12, 12);     // from the time-up screen to the title
  std::map<int, std::pair<std::string, int>> seen;
  recording.onTurn = [&](int turn) {
    recording.clock = turn * 1000;
    if (turn == 9) recording.clock = 7000 + 4000;             // play starts
    if (turn == 10) recording.clock = 7000 + 4000 + 180001;   // and runs out
    seen[turn] = {KindOf(currentPhase), LivePhaseCount()};
  };
  ASSERT_EQ(RunTurns(15), 15);
  const LifeCheckpoint expected[] = {
      {0, "title", 1}, {1, "game", 1},  {3, "game", 1},  {4, "pause", 2},  {5, "pause", 2},
      {6, "title", 1}, {7, "title", 1}, {8, "game", 1},  {10, "game", 1},  {11, "over", 2},
      {12, "over", 2}, {13, "title", 1}, {14, "title", 1},
  };
  for (const LifeCheckpoint& point : expected) {
    EXPECT_EQ(seen[point.turn].first, point.kind) << "turn " << point.turn;
    EXPECT_EQ(seen[point.turn].second, point.live) << "turn " << point.turn;
  }
  ReleaseAllPhases();
  EXPECT_EQ(LivePhaseCount(), 0);
  EXPECT_EQ(currentPhase, nullptr);
}

struct SameTurnCase {
  const char* name;
  const char* start;
  std::vector<int> keys;  // pressed together in turn 0
  bool timeUp;            // the play clock passes the limit in turn 0
  const char* after;
  int live;
};

class SameTurnLifetimeTest : public GameTest, public ::testing::WithParamInterface<SameTurnCase> {};

// Phases made and dropped within one update go at the end of that turn.
TEST_P(SameTurnLifetimeTest, FreesWhatWasMadeAndDroppedInOneUpdate) {
  const SameTurnCase& c = GetParam();
  const std::string start = c.start;
  if (start == "title") {
    currentPhase = new TitlePhase();
  } else if (start == "pause") {
    currentPhase = new PausePhase(new GamePhase());
  } else {
    GamePhase* game = StartPlaying(c.timeUp ? 180001 : 1000);
    ASSERT_EQ(currentPhase, game);
  }
  for (int key : c.keys) recording.Hold(key, recording.turn + 1, recording.turn + 1);
  RunTurns(1);
  EXPECT_EQ(KindOf(currentPhase), c.after) << c.name;
  EXPECT_EQ(LivePhaseCount(), c.live) << c.name;
}

const SameTurnCase SAME_TURN[] = {
    {"title: Z and Esc", "title", {KEY_Z, KEY_ESCAPE}, false, "none", 0},
    {"pause: Esc and Q", "pause", {KEY_ESCAPE, KEY_Q}, false, "title", 1},
    {"game: Esc and time up", "game", {KEY_ESCAPE}, true, "over", 2},
    {"game: time up alone", "game", {}, true, "over", 2},
    {"game: Esc alone", "game", {KEY_ESCAPE}, false, "pause", 2},
};

INSTANTIATE_TEST_SUITE_P(Combinations, SameTurnLifetimeTest, ::testing::ValuesIn(SAME_TURN));

TEST_F(GameTest, TheTimeUpScreenKeepsTheGameItDraws) {
  GamePhase* game = StartPlaying(180001);
  RunTurns(1);
  auto* over = dynamic_cast<OverPhase*>(currentPhase);
  ASSERT_NE(over, nullptr);
  EXPECT_EQ(over->game, game);
  RunTurns(3);  // drawn over and over: AddressSanitizer sees any use after free
  EXPECT_EQ(LivePhaseCount(), 2);
}

}  // namespace
