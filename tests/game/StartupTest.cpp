// WinMain's start-up order, the loading of both sheets, the order of one
// loop turn and the teardown.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

#include "game/Assets.h"
#include "game/GameRandom.h"
#include "game/PhaseLifetime.h"
#include "game/WinMain.h"
#include "tests/game/GameFixture.h"

namespace {

using Names = std::vector<std::string>;

constexpr Handle NO_HANDLE = -1;

class StartupTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    recording.Reset();  // WinMain starts the engine itself
  }
  int RunWinMain() { return WinMain(nullptr, nullptr, nullptr, 0); }
};

// Everything WinMain calls before the engine runs, in order.
const Names SETTINGS_CALLS = {"MessageBoxA",      "ChangeWindowMode", "SelectScreenMode",
                              "SetMainWindowCaption", "SelectDrawTarget", "EnableLogFile",
                              "SetArchiveKey",    "StartupEngine"};

Names FirstNames(size_t count) {
  Names names = recording.Names();
  names.resize(std::min(count, names.size()));
  return names;
}

struct QuestionCase {
  int answer;
  long long windowed;
};

class QuestionAnswerTest : public StartupTest,
                           public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(QuestionAnswerTest, OnlyNoSelectsAWindow) {
  recording.messageBoxAnswer = GetParam().answer;
  recording.endAtTurn = 0;
  RunWinMain();
  ASSERT_EQ(recording.Named("ChangeWindowMode").size(), 1u);
  EXPECT_EQ(recording.Named("ChangeWindowMode")[0].args, std::vector<long long>{GetParam().windowed});
}

INSTANTIATE_TEST_SUITE_P(Answers, QuestionAnswerTest,
                         ::testing::Values(QuestionCase{port::IDNO, 1}, QuestionCase{port::IDYES, 0},
                                           QuestionCase{0, 0}));

TEST_F(StartupTest, AsksThenStoresEverySettingInOrderBeforeStarting) {
  recording.endAtTurn = 0;
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(FirstNames(SETTINGS_CALLS.size()), SETTINGS_CALLS);

  const RecordedCall question = recording.Named("MessageBoxA")[0];
  EXPECT_EQ(question.args, (std::vector<long long>{0, port::MB_YESNO | port::MB_ICONQUESTION}));
  // The texts as code page 932 bytes.
  EXPECT_EQ(question.text, "\x83t\x83\x8B\x83X\x83N\x83\x8A\x81[\x83\x93\x82\xC5\x8BN\x93\xAE"
                           "\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H");
  EXPECT_EQ(question.caption, "\x82\xD9\x82\xCC\x82\xDD\x82\xA9\x82\xB3");
  EXPECT_EQ(recording.Named("SelectScreenMode")[0].args,
            (std::vector<long long>{800, 600, 32, 60}));
  EXPECT_EQ(recording.Named("SetMainWindowCaption")[0].text, question.caption);
  EXPECT_EQ(recording.Named("SelectDrawTarget")[0].args, std::vector<long long>{TARGET_BACK});
  EXPECT_EQ(recording.Named("EnableLogFile")[0].args, std::vector<long long>{0});
  EXPECT_EQ(recording.Named("SetArchiveKey")[0].text, "7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e");
}

TEST_F(StartupTest, FailedStartReturnsMinusOneAndCallsNothingElse) {
  recording.startupResult = -1;
  EXPECT_EQ(RunWinMain(), -1);
  EXPECT_EQ(recording.Names(true), SETTINGS_CALLS);
  EXPECT_EQ(LivePhaseCount(), 0);
}

TEST_F(StartupTest, LoadsBothSheetsInOrderAndCapturesTheBallColours) {
  recording.endAtTurn = 0;
  recording.pixelAnswers.assign(std::begin(TEST_BALL_COLORS), std::end(TEST_BALL_COLORS));
  RunWinMain();

  Names expected = SETTINGS_CALLS;
  expected.push_back("SetColorKey");
  expected.push_back("LoadGraphSheet");
  expected.insert(expected.end(), 24, "QueryGraphSize");
  for (int c = 0; c < 7; ++c) {
    expected.push_back("PutGraph");
    expected.push_back("ReadPixel");
  }
  expected.push_back("ClearDrawTarget");
  expected.push_back("SetColorKey");
  expected.push_back("LoadGraphSheet");
  expected.insert(expected.end(), 256, "QueryGraphSize");
  EXPECT_EQ(FirstNames(expected.size()), expected);

  for (const RecordedCall& key : recording.Named("SetColorKey"))
    EXPECT_EQ(key.args, (std::vector<long long>{0, 0, 0}));
  const auto sheets = recording.Named("LoadGraphSheet");
  EXPECT_EQ(sheets[0].text, "data\\actors.bmp");
  EXPECT_EQ(sheets[0].args, (std::vector<long long>{24, 3, 8, 48, 48, 0}));
  EXPECT_EQ(sheets[1].text, "data\\font.bmp");
  EXPECT_EQ(sheets[1].args, (std::vector<long long>{256, 16, 16, 32, 32, 0}));

  // Each colour's first frame is drawn at (0, 0) and its centre read back.
  const auto queries = recording.Named("QueryGraphSize");
  const auto probes = recording.Named("PutGraph");
  const auto reads = recording.Named("ReadPixel");
  for (int c = 0; c < 7; ++c) {
    const long long firstFrame = queries[3 + 3 * c].args[0];
    EXPECT_EQ(probes[c].args, (std::vector<long long>{0, 0, firstFrame, 1}));
    EXPECT_EQ(reads[c].args, (std::vector<long long>{24, 24}));
    EXPECT_EQ(ballColors[c], TEST_BALL_COLORS[c]);
  }
  EXPECT_EQ(recording.Named("ClearDrawTarget")[0].args, std::vector<long long>{0});
}

// The tables as they stand while the game runs (teardown empties them).
struct TablesSeen {
  std::vector<SpriteCell> player, balls, font;
  void Capture() {
    player.assign(std::begin(playerSprites), std::end(playerSprites));
    balls.assign(std::begin(ballSprites), std::end(ballSprites));
    font.assign(std::begin(glyphs), std::end(glyphs));
  }
};

TEST_F(StartupTest, TablesHoldEachCellWithItsSize) {
  TablesSeen seen;
  recording.onTurn = [&](int) { seen.Capture(); };
  recording.endAtTurn = 1;
  RunWinMain();
  const auto queries = recording.Named("QueryGraphSize");
  ASSERT_EQ(queries.size(), 280u);
  ASSERT_EQ(seen.font.size(), 256u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(seen.player[i].handle, queries[i].args[0]);
    EXPECT_EQ(seen.player[i].width, 48);
    EXPECT_EQ(seen.player[i].height, 48);
  }
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(seen.balls[i].handle, queries[3 + i].args[0]);
    EXPECT_EQ(seen.balls[i].width, 48);
  }
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(seen.font[i].handle, queries[24 + i].args[0]);
    EXPECT_EQ(seen.font[i].width, 32);
    EXPECT_EQ(seen.font[i].height, 32);
  }
}

TEST_F(StartupTest, AMissingActorSheetLeavesInvalidHandlesAndTheGameRunsOn) {
  recording.unreadableFiles = {"data\\actors.bmp"};
  TablesSeen seen;
  recording.onTurn = [&](int) { seen.Capture(); };
  recording.Hold(44, 0, 0);  // Z: into a game
  recording.endAtTurn = 3;
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(recording.turn, 2);
  for (const SpriteCell& cell : seen.player) {
    EXPECT_EQ(cell.handle, NO_HANDLE);
    EXPECT_EQ(cell.width, 0);
    EXPECT_EQ(cell.height, 0);
  }
  for (const SpriteCell& cell : seen.balls) EXPECT_EQ(cell.handle, NO_HANDLE);
  EXPECT_NE(seen.font['A'].handle, NO_HANDLE);
  // The game still tries to draw the player, with the invalid handle.
  bool drewPlayer = false;
  for (const RecordedCall& call : recording.Named("PutGraph"))
    drewPlayer |= call.turn == 2 && call.args[2] == NO_HANDLE;
  EXPECT_TRUE(drewPlayer);
}

TEST_F(StartupTest, SeedsTheRandomNumbersWithTheCalendarTime) {
  const unsigned before = unsigned(std::time(nullptr));
  LoadAssets();
  const int first = GameRand(), second = GameRand();
  const unsigned after = unsigned(std::time(nullptr));
  ReleaseAllPhases();
  bool matched = false;
  for (unsigned seed = before; seed <= after && !matched; ++seed) {
    GameSrand(seed);
    const int a = GameRand();
    matched = a == first && GameRand() == second;
  }
  EXPECT_TRUE(matched);
}

// ---- One turn of the loop ----

// What part of a turn a call belongs to: the phase's update reads the keys,
// its draw puts pictures, boxes and their blend and colour settings.
std::string StageOf(const std::string& call) {
  if (call == "ReadKeyboard" || call == "IsKeyDown") return "update";
  if (call == "PutGraph" || call == "PaintBox" || call == "ChooseBlendMode" ||
      call == "SetModulateColor")
    return "draw";
  return call;
}

// The frame is cleared before the phase draws it and presented after: a
// clear or a present in the wrong place shows a blank screen.
TEST_F(StartupTest, EachTurnPumpsClearsUpdatesDrawsThenPresents) {
  recording.Hold(44, 0, 0);  // Z: the title, then two turns of the game
  recording.endAtTurn = 3;
  RunWinMain();
  const Names names = recording.Names();
  const auto first = std::find(names.begin(), names.end(), "PumpMessages");
  const auto last = std::find(names.rbegin(), names.rend(), "PumpMessages").base();
  Names stages;
  for (auto name = first; name != last; ++name)
    if (stages.empty() || stages.back() != StageOf(*name)) stages.push_back(StageOf(*name));
  Names expected;
  for (int turn = 0; turn < 3; ++turn)
    expected.insert(expected.end(),
                    {"PumpMessages", "ClearDrawTarget", "update", "draw", "PresentFrame"});
  expected.push_back("PumpMessages");  // the one that ends the loop
  EXPECT_EQ(stages, expected);
}

// ---- Teardown ----

struct EndCase {
  const char* why;
  int endAtTurn, failClearInTurn, failPresentInTurn;
  int framesPresented;
};

class EndOfLoopTest : public StartupTest, public ::testing::WithParamInterface<EndCase> {};

// However the loop ends, all 280 handles go, in table order, before the
// engine shuts down, and no phase object is left.
TEST_P(EndOfLoopTest, ReleasesAllHandlesInOrderThenShutsDown) {
  const EndCase& end = GetParam();
  recording.Hold(44, 0, 0);  // Z: into a game, so that play is running
  recording.endAtTurn = end.endAtTurn;
  recording.failClearInTurn = end.failClearInTurn;
  recording.failPresentInTurn = end.failPresentInTurn;
  std::vector<Handle> loaded;
  recording.onTurn = [&](int turn) {
    if (turn == 0) {
      for (const SpriteCell& cell : playerSprites) loaded.push_back(cell.handle);
      for (const SpriteCell& cell : ballSprites) loaded.push_back(cell.handle);
      for (const SpriteCell& cell : glyphs) loaded.push_back(cell.handle);
    }
  };
  EXPECT_EQ(RunWinMain(), 0);
  EXPECT_EQ(int(recording.Named("PresentFrame").size()), end.framesPresented) << end.why;

  Names tail = recording.Names();
  tail.erase(tail.begin(), tail.end() - 281);
  Names expected(280, "ReleaseGraph");
  expected.push_back("ShutdownEngine");
  EXPECT_EQ(tail, expected) << end.why;

  const auto releases = recording.Named("ReleaseGraph");
  ASSERT_EQ(releases.size(), 280u);
  for (size_t i = 0; i < releases.size(); ++i)
    EXPECT_EQ(releases[i].args, (std::vector<long long>{loaded[i], 0})) << i;
  // Every entry of the three tables is emptied to {0, 0, 0}.
  TablesSeen after;
  after.Capture();
  for (const auto* table : {&after.player, &after.balls, &after.font})
    for (const SpriteCell& cell : *table)
      EXPECT_TRUE(cell.handle == 0 && cell.width == 0 && cell.height == 0) << end.why;
  EXPECT_EQ(LivePhaseCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndOfLoopTest,
    ::testing::Values(EndCase{"window closed during play", 40, -1, -1, 40},
                      EndCase{"clearing failed", -1, 12, -1, 12},
                      EndCase{"presenting failed", -1, -1, 7, 8}));

TEST_F(StartupTest, EscOnTheTitleEndsTheProgramAfterOneMoreFrame) {
  recording.Hold(1, 2, 2);
  EXPECT_EQ(RunWinMain(), 0);
  // Turns 0..2 run; the title of turn 2 is still drawn and presented; the
  // next turn finds no phase and the loop ends.
  EXPECT_EQ(recording.turn, 3);
  int presentsAfterEsc = 0, titleTextsInTurn2 = 0;
  for (const RecordedCall& call : recording.calls) {
    if (call.turn == 2 && call.name == "PresentFrame") ++presentsAfterEsc;
    if (call.turn == 2 && call.name == "PutGraph") ++titleTextsInTurn2;
    if (call.turn == 3) {
      EXPECT_TRUE(call.name == "ClearDrawTarget" || call.name == "PumpMessages" ||
                  call.name == "ReleaseGraph" || call.name == "ShutdownEngine")
          << call.name;
    }
  }
  EXPECT_EQ(presentsAfterEsc, 1);
  EXPECT_GT(titleTextsInTurn2, 0);
}

}  // namespace
