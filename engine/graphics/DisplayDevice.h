// The display device: made at the graphics start-up, in hardware mode
// (Direct3D 9) when the system offers it and software mode otherwise, and
// released at shut-down or before a rebuild.
#pragma once

#include "engine/platform/Direct3D9Port.h"

// Options read by the display set-up; no call of this program sets them.
struct DisplayOptions {
  int softwareModeRequested;
  int fpuPreserve;
  uint32_t multiSampleType;  // 0 = none
  uint32_t multiSampleQuality;
  int forceSoftwareVertexProcessing;
  int multithreaded;
  int compositionOffInWindow;  // Desktop Window Manager off in window mode
  // The hardware attempt is made at all: the build option
  // VEXLO_HARDWARE_ATTEMPT (on by default); the tests set it as they need.
  int hardwareAttempt;
};
extern DisplayOptions displayOptions;

struct DisplayDevice {
  port::Direct3D9ModuleHandle d3d9Module;
  port::Direct3D9Handle direct3D;  // also the IDirect3D9Ex when isEx
  int isEx;
  port::Direct3DDevice9Handle device;
  port::Direct3DSwapChain9Handle swapChain;
  port::Direct3DSurface9Handle backBuffer;
  port::Direct3DSurface9Handle depthBuffer;
  port::Direct3DSurface9Handle subBackBuffer;
  uint32_t backBufferFormat;
  uint32_t depthFormat;
  uint32_t multiSampleType, multiSampleQuality;
  port::D3DCaps caps;
  int squareTexturesOnly;
  int subtractiveBlend;       // D3DPMISCCAPS_BLENDOP
  int temporaryRegister;      // D3DPMISCCAPS_TSSARGTEMP
  int vertexShader20, pixelShader20;
  int hardwareVertexProcessing;  // mixed; 0 software
  int useBackBufferLock;         // the direct lock reads the back buffer faster
  int refreshMilliseconds;       // one refresh, timed with the raster status
  // Full screen in software mode (or the 320 x 240 emulation) changed the
  // display mode, which the release puts back.
  int displayModeChanged;
  // The engine switched desktop composition off.
  int compositionDisabled;
};
extern DisplayDevice displayDevice;

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

// Switches desktop composition (dwmapi.dll's DwmEnableComposition, when the
// system has it) on or off; nothing happens when the state is in force.
void SwitchDesktopComposition(int on);

// The hardware attempt's steps (HardwareDevice.cpp): the Direct3D object,
// the device and the depth buffer. 0, or -1 with the step's log line.
int CreateDirect3DObject();
int CreateDirect3DDevice();
int CreateDepthBuffer();
// Releases the depth buffer, sub back buffer, back buffer, swap chain and
// device (logging the release with the given line), then the object.
void ReleaseDirect3D(const char* deviceReleaseLine);

// The screen-sized render target that takes the back buffer's place in
// full screen (a flip leaves the back buffer undefined). 0, or -1 logged.
int CreateSubBackBuffer();
