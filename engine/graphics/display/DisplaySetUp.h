// The display device's set-up and release: made at the graphics start-up, in
// hardware mode (Direct3D 9) when the system offers it and software mode
// otherwise, and released at shut-down or before a rebuild.
#pragma once

// The display set-up. 0, or -1 when DirectDraw fails or a full-screen
// display change cannot be made. With allowHardware 0 the hardware attempt
// is skipped (a rebuild keeps the software mode chosen at start-up).
int SetUpDisplay(int allowHardware = 1);
// Releases the device and its surfaces, the DirectDraw object and d3d9.dll,
// puts the desktop's display mode back after a full-screen software run,
// and frees the display-mode list.
void ReleaseDisplay();

// Changes the display mode for full screen (ChangeDisplaySettingsA): the
// refresh rate is dropped when the mode is refused with it, and 320 x 240
// falls back to 640 x 480 with the emulation. 0, or -1.
int ChangeDisplayMode(int width, int height, int bits, int refreshRate);
