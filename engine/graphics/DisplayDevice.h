// The display device: made at the graphics start-up, in hardware mode
// (Direct3D 9) when the system offers it and software mode otherwise, and
// released at shut-down or before a rebuild.
#pragma once

#include "engine/platform/Direct3D9Port.h"

// Options read by the display set-up; no call of this program sets them.
struct DisplayOptions {
  int softwareModeRequested;
  int fpuPreserve;
};
extern DisplayOptions displayOptions;

struct DisplayDevice {
  port::Direct3D9ModuleHandle d3d9Module;
  port::Direct3D9Handle direct3D;
  port::Direct3DDevice9Handle device;
  // Full screen in software mode changed the display mode, which the
  // release puts back.
  int displayModeChanged;
};
extern DisplayDevice displayDevice;

// The display set-up. 0, or -1 when DirectDraw fails or a full-screen
// display change cannot be made.
int SetUpDisplay();
// Releases the device, the DirectDraw object and d3d9.dll, puts the
// desktop's display mode back after a full-screen software run, and frees
// the display-mode list.
void ReleaseDisplay();

// Changes the display mode for full screen (ChangeDisplaySettingsA): the
// refresh rate is dropped when the mode is refused with it, and 320 x 240
// falls back to 640 x 480 with the emulation. 0, or -1.
int ChangeDisplayMode(int width, int height, int bits, int refreshRate);
