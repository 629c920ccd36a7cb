// The actor sheet: 3 x 8 cells of 48 x 48. Row 0: the player's walking
// frames; row 1 + c: three rolling frames of the ball of colour c.
#pragma once

#include "Image.h"
#include "Painter.h"

constexpr int ACTOR_CELL = 48;
constexpr int ACTOR_COLUMNS = 3, ACTOR_ROWS = 8;

Image DrawActorSheet();

// The player's walking frame (0 to 2; 1 stands) in a 48 x 48 cell's
// coordinates. The game's icon paints her too.
void PaintPlayer(Painter& p, int frame);
// A ball of colour 0 to 6, turned like the given rolling frame, centred on
// (24, 24) with a radius of 19.5.
void PaintBall(Painter& p, int color, int frame);
