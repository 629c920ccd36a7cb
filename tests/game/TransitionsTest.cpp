// Which phase follows which, for every key and for keys pressed together;
// the shared key-hold counters and their wrap past 255.
#include <gtest/gtest.h>

#include "game/GamePhase.h"
#include "game/Keys.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/TitlePhase.h"
#include "tests/game/DrawnItems.h"
#include "tests/game/GameFixture.h"

namespace {

struct HeldKey {
  int key, firstTurn, lastTurn;
};

struct Checkpoint {
  int turn;
  const char* kind;  // current at the start of that turn
};

struct TransitionCase {
  const char* name;
  const char* start;
  std::vector<HeldKey> keys;
  int turns;
  std::vector<Checkpoint> expected;
};

Phase* MakePhase(const std::string& kind) {
  if (kind == "title") return new TitlePhase();
  if (kind == "game") return new GamePhase();
  if (kind == "pause") return new PausePhase(new GamePhase());
  return new OverPhase(new GamePhase());
}

class TransitionTest : public GameTest, public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(TransitionTest, FollowsTheKeys) {
  const TransitionCase& c = GetParam();
  currentPhase = MakePhase(c.start);
  for (const HeldKey& held : c.keys) recording.Hold(held.key, held.firstTurn, held.lastTurn);
  std::map<int, std::string> seen;
  recording.onTurn = [&](int turn) { seen[turn] = KindOf(currentPhase); };
  RunTurns(c.turns);
  for (const Checkpoint& point : c.expected)
    EXPECT_EQ(seen[point.turn], point.kind) << c.name << ", turn " << point.turn;
}

const TransitionCase TRANSITIONS[] = {
    {"title, Z starts a game", "title", {{KEY_Z, 0, 0}}, 3, {{0, "title"}, {1, "game"}, {2, "game"}}},
    {"title, Esc ends", "title", {{KEY_ESCAPE, 1, 1}}, 4, {{1, "title"}, {2, "none"}}},
    {"title, Z and Esc together end without a game", "title", {{KEY_Z, 0, 0}, {KEY_ESCAPE, 0, 0}}, 3,
     {{0, "title"}, {1, "none"}}},
    {"title, Q does nothing", "title", {{KEY_Q, 0, 0}}, 2, {{1, "title"}}},
    {"title, Z held into the game triggers nothing there", "title", {{KEY_Z, 0, 30}}, 30,
     {{1, "game"}, {29, "game"}}},
    {"title, Esc held from a Z press does not end", "title", {{KEY_Z, 0, 0}, {KEY_ESCAPE, 1, 5}}, 5,
     {{1, "game"}, {2, "pause"}, {4, "pause"}}},
    {"game, Esc pauses", "game", {{KEY_ESCAPE, 1, 1}}, 3, {{1, "game"}, {2, "pause"}}},
    {"game, Z and Q do nothing", "game", {{KEY_Z, 0, 0}, {KEY_Q, 1, 1}}, 3, {{2, "game"}}},
    {"pause, Esc resumes", "pause", {{KEY_ESCAPE, 0, 0}}, 2, {{0, "pause"}, {1, "game"}}},
    {"pause, Q goes to the title", "pause", {{KEY_Q, 0, 0}}, 2, {{1, "title"}}},
    {"pause, Esc and Q together go to the title", "pause", {{KEY_ESCAPE, 0, 0}, {KEY_Q, 0, 0}}, 2,
     {{1, "title"}}},
    {"pause, Z does nothing", "pause", {{KEY_Z, 0, 0}}, 2, {{1, "pause"}}},
    {"pause, Esc pressed again after a resume pauses again", "pause",
     {{KEY_ESCAPE, 0, 0}, {KEY_ESCAPE, 2, 2}}, 4, {{1, "game"}, {2, "game"}, {3, "pause"}}},
    {"over, Z goes to the title", "over", {{KEY_Z, 0, 0}}, 2, {{1, "title"}}},
    {"over, Esc and Q do nothing", "over", {{KEY_ESCAPE, 0, 0}, {KEY_Q, 1, 1}}, 3, {{2, "over"}}},
    // Esc held through a pause: the pause sees 2, 3, ... and only resumes
    // when the counter passes 255 and reads 1 again; 256 updates later the
    // game pauses once more.
    {"game, Esc held for 600 turns", "game", {{KEY_ESCAPE, 0, 600}}, 600,
     {{1, "pause"}, {256, "pause"}, {257, "game"}, {512, "game"}, {513, "pause"}, {599, "pause"}}},
};

INSTANTIATE_TEST_SUITE_P(Phases, TransitionTest, ::testing::ValuesIn(TRANSITIONS));

// ---- Hold counters ----

TEST_F(GameTest, HoldCountersCountUpdatesAndWrapPast255) {
  Phase phase;
  recording.Hold(KEY_Q, 0, 599);
  std::vector<int> pressedAt;
  for (int update = 1; update <= 600; ++update) {
    recording.BeginTurn();
    phase.Update();
    EXPECT_EQ(keyHold[KEY_Q], update % 256) << update;
    if (IsPressed(KEY_Q)) pressedAt.push_back(update);
  }
  EXPECT_EQ(pressedAt, (std::vector<int>{1, 257, 513}));
  EXPECT_EQ(phase.frameCount, 600);
  recording.BeginTurn();  // released
  phase.Update();
  EXPECT_EQ(keyHold[KEY_Q], 0);
  EXPECT_EQ(keyHold[KEY_Z], 0);
}

TEST_F(GameTest, HoldCountersCarryOverAPhaseSwitch) {
  currentPhase = new TitlePhase();
  recording.Hold(KEY_Z, 0, 4);
  RunTurns(5);
  EXPECT_EQ(KindOf(currentPhase), "game");
  EXPECT_EQ(keyHold[KEY_Z], 5);
  EXPECT_EQ(currentPhase->frameCount, 4);
}

// ---- Who draws the turn ----

TEST_F(GameTest, ThePausePhaseHandsBackTheSameGameAndStillDrawsItsOverlayThatTurn) {
  auto* game = new GamePhase();
  currentPhase = new PausePhase(game);
  recording.Hold(KEY_ESCAPE, 0, 0);
  RunTurns(2);
  EXPECT_EQ(currentPhase, game);
  auto dimmed = [](int turn) {
    for (const DrawnItem& box : OfKind(DrawnItemsOfTurn(recording.calls, turn), DrawnItem::Kind::Box))
      if (box.x2 == 800 && box.y2 == 600 && box.blendParameter == 160) return true;
    return false;
  };
  EXPECT_TRUE(dimmed(0));
  EXPECT_FALSE(dimmed(1));
}

TEST_F(GameTest, TheTitleThatStartsAGameIsDrawnOnceMoreAndTheGameUpdatesNextTurn) {
  currentPhase = new TitlePhase();
  recording.Hold(KEY_Z, 0, 0);
  GamePhase* started = nullptr;
  recording.onTurn = [&](int turn) {
    if (turn == 1) started = dynamic_cast<GamePhase*>(currentPhase);
  };
  RunTurns(1);
  const std::vector<TextAt> turn0 = Texts(DrawnItemsOfTurn(recording.calls, 0));
  ASSERT_FALSE(turn0.empty());
  EXPECT_EQ(turn0[0].y, 184);  // the title line
  EXPECT_EQ(turn0.size(), 4u);
  RunTurns(1);
  ASSERT_NE(started, nullptr);
  EXPECT_EQ(started->frameCount, 1);
}

}  // namespace
