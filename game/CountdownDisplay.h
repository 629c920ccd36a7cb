// The count-down over the start of a game: 3, 2, 1, then the start word.
#pragma once

class GamePhase;

void DrawCountdown(const GamePhase& game);
