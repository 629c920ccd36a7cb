// The graphics system as start-up and shut-down see it: one call brings up
// the display device (hardware or software mode), the draw state and the
// graph table; the other takes them down again.
#pragma once

#include "engine/graphics/records/GraphicsMode.h"

// Display set-up, draw-state defaults, empty graph table. 0, or -1 when the
// display cannot be set up (start-up then fails).
int StartupGraphics();
// Releases every graph, the device and the screen images. Always 0.
int ShutdownGraphics();
