// Showing the finished picture.
#pragma once

#include "engine/core/Engine.h"

// Options of the display set-up that presentation reads (all off by
// default; nothing in this program sets them).
struct PresentOptions {
  int noVerticalSyncWait;
};
extern PresentOptions presentOptions;

// The body of PresentFrame: area null presents the whole screen; wait 0
// skips the frame pacing. 0 shown, -1 failed.
int PresentScreen(const Rect* area, int waitForVerticalBlank);
