// Showing the finished picture.
#pragma once

#include "engine/core/Engine.h"

// The body of PresentFrame: area null presents the whole screen; wait 0
// skips the frame pacing. 0 shown, -1 failed.
int PresentScreen(const Rect* area, int waitForVerticalBlank);
