// The graphics steps that the main window's procedure runs on activation,
// deactivation, paint and move.
#pragma once

#include "engine/core/Engine.h"

// 1 when the Direct3D object exists, or the device.
int Direct3DObjectExists();
int Direct3DDeviceExists();

// Windowed activation: when the Direct3D device exists, end the open scene
// and present without rectangles; when presenting fails, rebuild the display.
void PresentAfterActivation();

// Rebuilds the display after a lost device (full-screen activation). 0, or -1
// when the display could not be made again.
int RebuildDisplay();

// Called once a rebuilt device is ready and the graphs are restored; null
// when nothing is registered.
using DeviceRestoredCallback = void (*)();
extern DeviceRestoredCallback deviceRestoredCallback;

// Puts the desktop's own display mode back (full-screen deactivation).
void RestoreDesktopDisplayMode();

// Switches desktop composition back on if the engine had switched it off.
void RestoreDesktopComposition();

// PresentFrame for the window's invalid rectangle (WM_PAINT). area null
// means the whole screen; waitForVerticalBlank 0 skips the frame pacing.
int PresentFrameArea(const Rect* area, int waitForVerticalBlank);

// When the draw target is TARGET_FRONT, applies the drawing area again, so
// that the next present copies to the window's new place (WM_MOVE).
void ReapplyFrontTargetArea();

// The current draw target: TARGET_BACK, TARGET_FRONT or a graph handle; 0
// before start-up selected one.
int CurrentDrawTarget();
