// The actor sheet: 3 x 8 cells of 48 x 48. Row 0: the player's walking
// frames; row 1 + c: three rolling frames of the ball of colour c.
#pragma once

#include "Image.h"

constexpr int ACTOR_CELL = 48;
constexpr int ACTOR_COLUMNS = 3, ACTOR_ROWS = 8;

Image DrawActorSheet();
