#include "game/GameRandom.h"

#include <cstdint>

namespace {

// The linear congruential state; 32-bit wrap-around is part of the rule.
uint32_t randomState = 1;

}  // namespace

void GameSrand(unsigned seed) { randomState = seed; }

int GameRand() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFF);
}
