// Script and record of the headless Direct3D 9 and DirectDraw ports. By
// default d3d9.dll is missing and DirectDraw is unavailable, as on a system
// without them; a test can script an object and a device on offer (what it
// reports, and which of its calls fail) to exercise the display set-up's
// choices. The offered device is a small faithful one: its surfaces and
// textures are plain memory, Clear, ColorFill, StretchRect,
// GetRenderTargetData, locks, UpdateTexture and draws move pixels, and
// every call is recorded with its arguments.
//
// Every call that has a failure result also passes the Direct3D 9 fault
// point of the fault sweeps (engine/platform/faults/FaultPoints.h).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/platform/Direct3D9Port.h"

namespace headless {

// One call to fail: the port function's name (for example
// "IDirect3DDevice9_CreateDepthStencilSurface") and which of its calls, 1
// for the first; 0 fails every call.
struct Direct3D9Failure {
  std::string call;
  int occurrence;
};

struct Direct3D9Script {
  bool libraryPresent = false;
  bool exportsCreate9Ex = true;
  bool exportsCreate9 = true;
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
  // CreateTexture in D3DPOOL_MANAGED fails with D3DERR_INVALIDCALL on a 9Ex
  // device, as the real one does (it has no managed pool).
  bool managedPoolRefusedOnEx = true;
  // The device is lost: both Presents report D3DERR_DEVICELOST until a new
  // device is made (a test may also clear it).
  bool deviceLost = false;
  // Calls that fail with D3DERR_NOTAVAILABLE (or a null object).
  std::vector<Direct3D9Failure> failures;
  // Off: calls are counted (and can still be failed) but neither their
  // texts nor the draws are kept, so that a long run measures the engine
  // rather than the record.
  bool recordCalls = true;
  // Draws are rasterised into the render target (Direct3D9Raster.h); off,
  // they only reach the record.
  bool rasterize = true;
};

// One vertex of a draw, read after the vertex format in force: position,
// diffuse colour (0xFFFFFFFF when the format has none) and the first
// texture coordinate set (0 when it has none).
struct Direct3D9Vertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};

// One DrawPrimitiveUP with what was in force for it on the device.
struct Direct3D9Draw {
  uint32_t primitiveType = 0;
  uint32_t primitiveCount = 0;
  uint32_t stride = 0;
  uint32_t fvf = 0;
  std::vector<Direct3D9Vertex> vertices;
  std::string texture;  // stage 0's texture by label ("Texture3.0"), or "null"
  port::Direct3DTexture9Handle textureHandle = nullptr;
  bool insideScene = false;  // between BeginScene and EndScene
  // Every state set on the device so far, by type: render states, and
  // texture stage and sampler states keyed by (stage or sampler) << 16 | type.
  std::map<uint32_t, uint32_t> renderStates;
  std::map<uint32_t, uint32_t> stageStates;
  std::map<uint32_t, uint32_t> samplerStates;

  // A state of the draw, or fallback when it was never set.
  uint32_t RenderState(uint32_t state, uint32_t fallback = 0xFFFFFFFFu) const;
  uint32_t StageState(uint32_t stage, uint32_t type, uint32_t fallback = 0xFFFFFFFFu) const;
  uint32_t SamplerState(uint32_t sampler, uint32_t type, uint32_t fallback = 0xFFFFFFFFu) const;
};

// One recorded call: the port function's name and its arguments as text
// (surfaces by label: "BackBuffer", "RenderTarget2", "Offscreen1",
// "DepthStencil1", "Texture3.0" for level 0 of texture 3; rectangles as
// {left,top,right,bottom}; colours in hexadecimal).
struct Direct3D9Call {
  std::string name;
  std::string arguments;
};

// What the Direct3D 9 port was asked.
struct Direct3D9Record {
  int librariesLoaded = 0;
  int librariesFreed = 0;
  int objectsCreated = 0;  // by either export
  int exObjectsCreated = 0;
  int devicesCreated = 0;
  int liveObjects = 0;  // objects, devices, textures, surfaces and swap chains not yet released
  uint32_t lastBehaviorFlags = 0;
  bool lastDeviceWasEx = false;
  port::D3DPresentParameters lastParameters = {};
  bool lastDisplayModeGiven = false;
  port::D3DDisplayModeEx lastDisplayMode = {};
  int presents = 0;
  int drawCalls = 0;
  int stateCalls = 0;  // SetRenderState, SetTextureStageState, SetSamplerState, SetTexture
  std::map<uint32_t, uint32_t> renderStates;  // last value of each render state set
  std::vector<Direct3D9Call> calls;
  std::vector<Direct3D9Draw> draws;  // every DrawPrimitiveUP, in order
};

void ScriptDirect3D9(const Direct3D9Script& script);
// The script in force, for a test to change one answer on the way (a lost
// device, a call to fail from now on).
Direct3D9Script& Direct3D9ScriptInForce();
const Direct3D9Record& Direct3D9Calls();
// The recorded calls of one name, in order.
std::vector<Direct3D9Call> Direct3D9CallsNamed(const std::string& name);
// Forgets the recorded calls and draws (the counters stay).
void ClearDirect3D9Calls();

// The pixels of a surface as 32-bit values, row by row (16-bit formats
// widened), and its format; for checking what a device call left there.
uint32_t SurfacePixel(port::Direct3DSurface9Handle surface, int x, int y);
uint32_t SurfaceFormat(port::Direct3DSurface9Handle surface);
// A texture's mip level: one pixel as SurfacePixel reads it, its whole
// memory (rows of pixels or of DXT blocks, packed) and its description.
uint32_t TexturePixel(port::Direct3DTexture9Handle texture, int level, int x, int y);
std::vector<uint8_t> TextureLevelBytes(port::Direct3DTexture9Handle texture, int level);
port::D3DSurfaceDesc TextureLevelDesc(port::Direct3DTexture9Handle texture, int level);
int TextureLevelCount(port::Direct3DTexture9Handle texture);
// The pixel the last successful Present showed, from the back buffer copied
// at that moment, and all of that copy's bytes.
uint32_t PresentedPixel(int x, int y);
const std::vector<uint8_t>& PresentedBytes();

// Called after every Present of the device or its swap chain, shown or
// failed (null: none): a scripted program's frame hook in hardware mode,
// as HeadlessPresent.h's is in software mode.
using Direct3D9PresentHook = void (*)();
void SetDirect3D9PresentHook(Direct3D9PresentHook hook);

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
