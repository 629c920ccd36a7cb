// Where drawing goes: the screen (TARGET_BACK, TARGET_FRONT) or a drawable
// graph; SelectDrawTarget and ClearDrawTarget are in engine/core/Engine.h.
#pragma once

#include "engine/core/Engine.h"

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

// The window timer that shows the front target while it is selected.
constexpr uintptr_t FRONT_TARGET_TIMER_ID = 0x7FFF;
constexpr uint32_t FRONT_TARGET_TIMER_MILLISECONDS = 32;

// Forgets the target (graphics start-up and shut-down).
void ResetDrawTarget();

// A graph is being released: when it is the current target, drawing goes
// back to the screen (TARGET_BACK) instead of into freed memory.
void ForgetDrawTargetGraph(Handle graph);
