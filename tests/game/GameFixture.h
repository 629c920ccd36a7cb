// A game loaded on the recording engine: both sheets handed out, the seven
// ball colours answered, no phase current, the record empty and the random
// sequence at seed 1.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/GamePhase.h"
#include "game/Phase.h"
#include "tests/game/RecordingEngine.h"

// What ReadPixel answers for the seven ball colours at start-up.
extern const int TEST_BALL_COLORS[7];

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the real frame loop for at most n turns from the current phase;
  // the number of turns it ran.
  int RunTurns(int turns);

  // Installs a new game phase created at clock 0 and runs it into play:
  // the count-down is over and the play clock has run for playMilliseconds.
  GamePhase* StartPlaying(int playMilliseconds = 0);
};

// "title", "game", "pause", "over" or "none".
std::string KindOf(const Phase* phase);
