// Script and record of the headless Direct3D 9 and DirectDraw ports. By
// default d3d9.dll is missing and DirectDraw is unavailable, as on a system
// without them; a test can script an object and a device on offer (and
// which of their steps fail) to exercise the display set-up's choices. The
// offered device draws nothing; its surfaces and textures are plain memory
// that can be locked.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "engine/platform/Direct3D9Port.h"

namespace headless {

struct Direct3D9Script {
  bool libraryPresent = false;
  bool exportsCreate9Ex = true;
  bool exportsCreate9 = true;
  bool create9ExSucceeds = true;
  bool create9Succeeds = true;
  bool createDeviceSucceeds = true;
  bool mixedProcessingFails = false;  // only software vertex processing works
  port::D3DDisplayMode desktop = {1024, 768, 60, port::D3DFMT_X8R8G8B8};
  uint32_t r5g6b5ModeCount = 1;  // GetAdapterModeCount(D3DFMT_R5G6B5)
  port::D3DCaps caps = {0,
                        port::D3DPMISCCAPS_BLENDOP | port::D3DPMISCCAPS_TSSARGTEMP,
                        0x3FFF,
                        0x3FFF,
                        0,
                        2048,
                        2048,
                        16,
                        port::D3DVS_VERSION(2, 0),
                        port::D3DPS_VERSION(2, 0)};
  // Formats CheckDeviceFormat accepts as textures and as render targets, and
  // the depth formats CheckDepthStencilMatch accepts.
  std::vector<uint32_t> textureFormats = {
      port::D3DFMT_R5G6B5,   port::D3DFMT_X1R5G5B5, port::D3DFMT_X8R8G8B8, port::D3DFMT_A8R8G8B8,
      port::D3DFMT_A4R4G4B4, port::D3DFMT_A1R5G5B5, port::D3DFMT_DXT1,     port::D3DFMT_DXT3,
      port::D3DFMT_DXT5};
  std::vector<uint32_t> renderTargetFormats = {port::D3DFMT_R5G6B5, port::D3DFMT_X1R5G5B5,
                                               port::D3DFMT_X8R8G8B8, port::D3DFMT_A8R8G8B8};
  std::vector<uint32_t> depthFormats = {port::D3DFMT_D16, port::D3DFMT_D24X8};
  bool presentFails = false;  // Present reports D3DERR_DEVICELOST
};

// What the Direct3D 9 port was asked.
struct Direct3D9Record {
  int librariesLoaded = 0;
  int objectsCreated = 0;  // by either export
  int exObjectsCreated = 0;
  int devicesCreated = 0;
  int liveObjects = 0;  // objects, devices, textures, surfaces and swap chains not yet released
  uint32_t lastBehaviorFlags = 0;
  bool lastDeviceWasEx = false;
  port::D3DPresentParameters lastParameters = {};
  int presents = 0;
  int drawCalls = 0;
  std::map<uint32_t, uint32_t> renderStates;  // last value of each render state set
};

void ScriptDirect3D9(const Direct3D9Script& script);
const Direct3D9Record& Direct3D9Calls();

// DirectDraw: unavailable unless scripted; the waits are counted. With a
// refresh period, every wait for the vertical blank (or, without DirectDraw,
// for the display's refresh) moves the virtual clock (HeadlessClock.h) to
// the next multiple of the period, as a display of that rate would; with 0
// (the default) the waits return at once and the clock stays.
struct DirectDrawScript {
  bool available = false;
  bool createSucceeds = true;
  bool initializeSucceeds = true;
  uint64_t refreshPeriodMicroseconds = 0;
};
struct DirectDrawRecord {
  int objectsCreated = 0;
  int liveObjects = 0;
  uint32_t cooperativeFlags = 0;
  int verticalBlankWaits = 0;  // IDirectDraw7_WaitForVerticalBlank
  int refreshWaits = 0;        // WaitForDisplayRefresh
};
void ScriptDirectDraw(const DirectDrawScript& script);
const DirectDrawRecord& DirectDrawCalls();

// Back to "nothing on offer"; clears both records (objects still held by the
// engine stay valid).
void ResetDirect3D9Script();

}  // namespace headless
