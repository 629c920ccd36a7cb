// The graphics system as start-up and shut-down see it: one call brings up
// the display device (hardware or software mode), the draw state and the
// graph table; the other takes them down again.
#pragma once

// 1 between a successful StartupGraphics and ShutdownGraphics.
extern int graphicsStarted;
// 1 when the display set-up made a Direct3D 9 device, 0 in software mode
// (the screen is a MEMIMG shown with GDI).
extern int hardwareMode;

// Display set-up, draw-state defaults, empty graph table. 0, or -1 when the
// display cannot be set up (start-up then fails).
int StartupGraphics();
// Releases every graph, the device and the screen images. Always 0.
int ShutdownGraphics();
