// Where drawing goes: the screen (TARGET_BACK, TARGET_FRONT) or a drawable
// graph; SelectDrawTarget and ClearDrawTarget are in engine/core/Engine.h.
#pragma once

#include "engine/core/Engine.h"
#include "engine/platform/Direct3D9Port.h"

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

// -2 to -5 stand for the screen (-3 and -5 keep the stored target size).
inline bool IsScreenTarget(int target) { return target >= -5 && target <= -2; }

// Forgets the target (graphics start-up and shut-down).
void ResetDrawTarget();

// A graph is being released: when it is the current target, drawing goes
// back to the screen (TARGET_BACK) instead of into freed memory.
void ForgetDrawTargetGraph(Handle graph);

// Hardware mode: the surface screen drawing goes to (the sub back buffer
// once it exists, else the back buffer).
port::Direct3DSurface9Handle ScreenRenderSurface();
// Hardware mode: makes the graph's surface (or, for null, the screen's) the
// device's render target, with the depth buffer.
struct GraphRecord;
void SetDeviceRenderTarget(GraphRecord* graph);
// Full-screen hardware mode: makes the sub back buffer on first use, with
// the back buffer's picture, and draws into it from then on. 0 or -1.
int EnsureSubBackBuffer();
// ClearDrawTarget of hardware mode.
int ClearDeviceTarget(const Rect* area);
