// The two bars of the game phase: score, time left, the colours collected,
// the last colour caught and its chain.
#pragma once

class GamePhase;

void DrawStatusDisplay(const GamePhase& game);

// Milliseconds of play left, never below 0.
int RemainingMilliseconds(const GamePhase& game);
