// Where drawing goes: the screen (TARGET_BACK, TARGET_FRONT) or a drawable
// graph; SelectDrawTarget and ClearDrawTarget are in engine/core/Engine.h.
#pragma once

#include "engine/core/Engine.h"

// The current target; 0 until start-up selected one.
extern int currentDrawTarget;
// Size of the current target (the screen size for the screen targets).
extern int drawTargetWidth;
extern int drawTargetHeight;

// The window timer that shows the front target while it is selected.
constexpr uintptr_t FRONT_TARGET_TIMER_ID = 0x7FFF;
constexpr uint32_t FRONT_TARGET_TIMER_MILLISECONDS = 32;

// -2 to -5 stand for the screen (-3 and -5 keep the stored target size).
inline bool IsScreenTarget(int target) { return target >= -5 && target <= -2; }

// Forgets the target (graphics start-up and shut-down).
void ResetDrawTarget();

// The graphics start-up: the target is width x height and its whole area is
// the draw area.
void SetDrawTargetSize(int width, int height);

// Puts the corners in order and clamps them to the current target's size;
// an empty result sets the area-empty flag. In hardware mode the device's
// viewport follows.
void SetDrawArea(int left, int top, int right, int bottom);

// A graph is being released: when it is the current target, drawing goes
// back to the screen (TARGET_BACK) instead of into freed memory.
void ForgetDrawTargetGraph(Handle graph);
