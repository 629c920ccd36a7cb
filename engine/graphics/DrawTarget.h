// Where drawing goes: the screen (TARGET_BACK, TARGET_FRONT) or a drawable
// graph; SelectDrawTarget and ClearDrawTarget are in engine/core/Engine.h.
#pragma once

// The current target; 0 until start-up selected one.
extern int currentDrawTarget;
// Size of the current target (the screen size for the screen targets).
extern int drawTargetWidth;
extern int drawTargetHeight;

// Background colour of ClearDrawTarget, set by the window layer; black by
// default.
struct BackgroundColor {
  int red, green, blue;
};
extern BackgroundColor backgroundColor;

// Forgets the target (graphics shut-down): the next selection starts afresh.
void ResetDrawTarget();
