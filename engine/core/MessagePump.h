// The message pump: one pass drains the main window's queue (at most five
// messages while the window is active), holds the program while the window
// is inactive, and runs the engine's per-call housekeeping.
#pragma once

// One pump pass. -1 when the program must end, else 0. PumpMessages is this
// inside the engine-call lock.
int PumpOnce();

// Run at the start of the drawing and input calls: while the main window is
// inactive (and the call does not come from inside WM_PAINT), pumps until
// the window is active again or the program must end. Returns at once when
// there is no main window.
void WaitWhileInactive();

// 1 while the text-input processing of the housekeeping runs: a pump
// started from inside it returns at once.
extern int inHousekeeping;
