// Whether the graphics subsystem is up, and which of its two modes runs.
#pragma once

// 1 between a successful StartupGraphics and ShutdownGraphics.
extern int graphicsStarted;
// 1 when the display set-up made a Direct3D 9 device, 0 in software mode
// (the screen is a MEMIMG shown with GDI).
extern int hardwareMode;
