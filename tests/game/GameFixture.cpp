#include "tests/game/GameFixture.h"

#include <cstring>

#include "game/Assets.h"
#include "game/FrameLoop.h"
#include "game/GameRandom.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/PhaseLifetime.h"
#include "game/TitlePhase.h"

const int TEST_BALL_COLORS[7] = {0xE02020, 0xF08020, 0xE0D020, 0x30C040,
                                 0x30A0F0, 0x4040E0, 0xC040E0};

void GameTest::SetUp() {
  ReleaseAllPhases();
  recording.Reset();
  std::memset(keyState, 0, sizeof keyState);
  std::memset(keyHold, 0, sizeof keyHold);
  StartupEngine();
  recording.pixelAnswers.assign(std::begin(TEST_BALL_COLORS), std::end(TEST_BALL_COLORS));
  LoadAssets();
  ReleaseAllPhases();
  recording.ClearCalls();
  GameSrand(1);
}

void GameTest::TearDown() {
  ReleaseAllPhases();
  EXPECT_EQ(LivePhaseCount(), 0);
}

int GameTest::RunTurns(int turns) {
  const int first = recording.turn;
  recording.endAtTurn = recording.turn + 1 + turns;
  RunFrameLoop();
  recording.endAtTurn = -1;
  return recording.turn - first;
}

GamePhase* GameTest::StartPlaying(int playMilliseconds) {
  recording.clock = 0;
  auto* game = new GamePhase();
  currentPhase = game;
  recording.clock = 4000;
  RunTurns(1);  // play starts and the count-down ends in this update
  recording.clock = 4000 + playMilliseconds;
  return game;
}

std::string KindOf(const Phase* phase) {
  if (phase == nullptr) return "none";
  if (dynamic_cast<const TitlePhase*>(phase)) return "title";
  if (dynamic_cast<const GamePhase*>(phase)) return "game";
  if (dynamic_cast<const PausePhase*>(phase)) return "pause";
  if (dynamic_cast<const OverPhase*>(phase)) return "over";
  return "phase";
}
