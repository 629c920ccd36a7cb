// The display device's record: the Direct3D 9 objects of hardware mode and
// what the display set-up changed on the desktop, with the options the set-up
// and presentation read. The display set-up (display/DisplaySetUp.cpp) fills
// and releases it; hardware mode's code reads it.
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

// Options of the display set-up that presentation reads (all off by
// default; nothing in this program sets them).
struct PresentOptions {
  int noVerticalSyncWait;
};
extern PresentOptions presentOptions;
