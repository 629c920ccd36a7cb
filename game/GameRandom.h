// The game's random numbers: the Windows C run-time's srand/rand pair,
// implemented here so that one seed gives the same game on every build
// (a platform's own rand, like glibc's, draws a different sequence).
#pragma once

// The largest value GameRand returns, like RAND_MAX of that run-time.
constexpr int GAME_RAND_MAX = 32767;

// Restarts the sequence, like srand(seed).
void GameSrand(unsigned seed);

// The next number 0..32767 of the sequence, like rand(). Without a
// GameSrand call the sequence starts as if seeded with 1.
int GameRand();
