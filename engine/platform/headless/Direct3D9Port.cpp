// The headless Direct3D 9 port: d3d9.dll is missing unless a test offers an
// object and a device. An offered device keeps its surfaces and textures as
// plain memory (so they can be locked) and draws nothing.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/platform/headless/HeadlessDirect3D9.h"

namespace {

headless::Direct3D9Script script;
headless::Direct3D9Record record;
int moduleToken;  // its address stands for the loaded d3d9.dll

// Every object of the fake counts its references like a COM object.
struct Counted {
  uint32_t references = 1;
  Counted() { record.liveObjects += 1; }
  virtual ~Counted() { record.liveObjects -= 1; }
  uint32_t Release() {
    uint32_t left = --references;
    if (left == 0) delete this;
    return left;
  }
};

}  // namespace

namespace port {

struct Direct3D9Object : Counted {
  bool ex = false;
};

struct Direct3DSurface9Object : Counted {
  D3DSurfaceDesc desc = {};
  int pitch = 0;
  int rows = 0;
  std::vector<uint8_t> memory;
};

struct Direct3DTexture9Object : Counted {
  std::vector<Direct3DSurface9Object*> levels;
  ~Direct3DTexture9Object() override {
    for (Direct3DSurface9Object* level : levels) level->Release();
  }
};

struct Direct3DSwapChain9Object : Counted {};

struct Direct3DDevice9Object : Counted {
  bool ex = false;
  D3DPresentParameters parameters = {};
  Direct3DSurface9Object* backBuffer = nullptr;
  ~Direct3DDevice9Object() override {
    if (backBuffer) backBuffer->Release();
  }
};

}  // namespace port

namespace {

bool Contains(const std::vector<uint32_t>& formats, uint32_t format) {
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

bool IsBlockFormat(uint32_t format) {
  return format == port::D3DFMT_DXT1 || format == port::D3DFMT_DXT2 ||
         format == port::D3DFMT_DXT3 || format == port::D3DFMT_DXT4 ||
         format == port::D3DFMT_DXT5;
}

int BytesPerPixel(uint32_t format) {
  switch (format) {
    case port::D3DFMT_R8G8B8: return 3;
    case port::D3DFMT_R5G6B5:
    case port::D3DFMT_X1R5G5B5:
    case port::D3DFMT_A1R5G5B5:
    case port::D3DFMT_A4R4G4B4:
    case port::D3DFMT_A8R3G3B2:
    case port::D3DFMT_X4R4G4B4:
    case port::D3DFMT_D16: return 2;
    case port::D3DFMT_R3G3B2: return 1;
    default: return 4;
  }
}

port::Direct3DSurface9Object* NewSurface(uint32_t width, uint32_t height, uint32_t format,
                                         uint32_t pool, uint32_t usage) {
  auto* surface = new port::Direct3DSurface9Object;
  surface->desc = {format, port::D3DRTYPE_SURFACE, usage, pool, 0, 0, width, height};
  if (IsBlockFormat(format)) {
    int blockBytes = format == port::D3DFMT_DXT1 ? 8 : 16;
    surface->pitch = int((width + 3) / 4) * blockBytes;
    surface->rows = int((height + 3) / 4);
  } else {
    surface->pitch = int(width) * BytesPerPixel(format);
    surface->rows = int(height);
  }
  surface->memory.assign(size_t(surface->pitch) * size_t(surface->rows), 0);
  return surface;
}

port::HResult LockSurface(port::Direct3DSurface9Object* surface, port::D3DLockedRect* locked,
                          const port::WindowRect* rect) {
  int x = rect ? rect->left : 0;
  int y = rect ? rect->top : 0;
  bool block = IsBlockFormat(surface->desc.Format);
  size_t offset = block ? size_t(y / 4) * size_t(surface->pitch) +
                              size_t(x / 4) * (surface->desc.Format == port::D3DFMT_DXT1 ? 8 : 16)
                        : size_t(y) * size_t(surface->pitch) +
                              size_t(x) * size_t(BytesPerPixel(surface->desc.Format));
  locked->Pitch = surface->pitch;
  locked->pBits = surface->memory.data() + offset;
  return port::D3D_OK;
}

port::HResult DeviceFromParameters(bool ex, uint32_t flags, port::D3DPresentParameters* parameters,
                                   port::Direct3DDevice9Handle* device) {
  *device = nullptr;
  if (!script.createDeviceSucceeds) return port::D3DERR_NOTAVAILABLE;
  if (script.mixedProcessingFails && (flags & port::D3DCREATE_MIXED_VERTEXPROCESSING))
    return port::D3DERR_NOTAVAILABLE;
  auto* created = new port::Direct3DDevice9Object;
  created->ex = ex;
  created->parameters = *parameters;
  uint32_t format = parameters->BackBufferFormat != port::D3DFMT_UNKNOWN
                        ? parameters->BackBufferFormat
                        : script.desktop.Format;
  created->backBuffer = NewSurface(parameters->BackBufferWidth, parameters->BackBufferHeight,
                                   format, port::D3DPOOL_DEFAULT, port::D3DUSAGE_RENDERTARGET);
  record.devicesCreated += 1;
  record.lastBehaviorFlags = flags;
  record.lastDeviceWasEx = ex;
  record.lastParameters = *parameters;
  *device = created;
  return port::D3D_OK;
}

}  // namespace

namespace headless {

void ScriptDirect3D9(const Direct3D9Script& newScript) { script = newScript; }
const Direct3D9Record& Direct3D9Calls() { return record; }

}  // namespace headless

namespace port {

Direct3D9ModuleHandle LoadDirect3D9Library() {
  if (!script.libraryPresent) return nullptr;
  record.librariesLoaded += 1;
  return reinterpret_cast<Direct3D9ModuleHandle>(&moduleToken);
}

void FreeDirect3D9Library(Direct3D9ModuleHandle) {}

int HasDirect3DCreate9Ex(Direct3D9ModuleHandle module) {
  return module != nullptr && script.exportsCreate9Ex;
}

int HasDirect3DCreate9(Direct3D9ModuleHandle module) {
  return module != nullptr && script.exportsCreate9;
}

HResult Direct3DCreate9Ex(Direct3D9ModuleHandle module, uint32_t sdkVersion,
                          Direct3D9Handle* object) {
  *object = nullptr;
  if (!HasDirect3DCreate9Ex(module) || !script.create9ExSucceeds ||
      sdkVersion != D3D_SDK_VERSION)
    return D3DERR_NOTAVAILABLE;
  auto* created = new Direct3D9Object;
  created->ex = true;
  record.objectsCreated += 1;
  record.exObjectsCreated += 1;
  *object = created;
  return D3D_OK;
}

Direct3D9Handle Direct3DCreate9(Direct3D9ModuleHandle module, uint32_t sdkVersion) {
  if (!HasDirect3DCreate9(module) || !script.create9Succeeds || sdkVersion != D3D_SDK_VERSION)
    return nullptr;
  record.objectsCreated += 1;
  return new Direct3D9Object;
}

uint32_t IDirect3D9_Release(Direct3D9Handle object) { return object->Release(); }
int IDirect3D9_IsEx(Direct3D9Handle object) { return object->ex; }

HResult IDirect3D9_GetAdapterDisplayMode(Direct3D9Handle, uint32_t, D3DDisplayMode* mode) {
  *mode = script.desktop;
  return D3D_OK;
}

uint32_t IDirect3D9_GetAdapterModeCount(Direct3D9Handle, uint32_t, uint32_t format) {
  if (format == D3DFMT_R5G6B5) return script.r5g6b5ModeCount;
  return format == D3DFMT_X8R8G8B8 || format == D3DFMT_X1R5G5B5 ? 1 : 0;
}

HResult IDirect3D9_GetAdapterIdentifier(Direct3D9Handle, uint32_t, uint32_t,
                                        D3DAdapterIdentifier* identifier) {
  std::memset(identifier, 0, sizeof *identifier);
  std::strcpy(identifier->Driver, "headless.dll");
  std::strcpy(identifier->Description, "Headless Direct3D 9 device");
  return D3D_OK;
}

HResult IDirect3D9_GetDeviceCaps(Direct3D9Handle, uint32_t, uint32_t, D3DCaps* caps) {
  *caps = script.caps;
  return D3D_OK;
}

HResult IDirect3D9_CheckDeviceFormat(Direct3D9Handle, uint32_t, uint32_t, uint32_t,
                                     uint32_t usage, uint32_t, uint32_t checkFormat) {
  const auto& formats =
      (usage & D3DUSAGE_RENDERTARGET) ? script.renderTargetFormats : script.textureFormats;
  return Contains(formats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CheckDepthStencilMatch(Direct3D9Handle, uint32_t, uint32_t, uint32_t,
                                          uint32_t, uint32_t depthFormat) {
  return Contains(script.depthFormats, depthFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CheckDeviceMultiSampleType(Direct3D9Handle, uint32_t, uint32_t, uint32_t,
                                              int32_t, uint32_t multiSampleType,
                                              uint32_t* qualityLevels) {
  if (qualityLevels) *qualityLevels = 1;
  return multiSampleType == D3DMULTISAMPLE_NONE ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CreateDevice(Direct3D9Handle, uint32_t, uint32_t, WindowHandle,
                                uint32_t behaviorFlags, D3DPresentParameters* parameters,
                                Direct3DDevice9Handle* device) {
  return DeviceFromParameters(false, behaviorFlags, parameters, device);
}

HResult IDirect3D9Ex_CreateDeviceEx(Direct3D9Handle object, uint32_t, uint32_t, WindowHandle,
                                    uint32_t behaviorFlags, D3DPresentParameters* parameters,
                                    D3DDisplayModeEx*, Direct3DDevice9Handle* device) {
  if (!object->ex) {
    *device = nullptr;
    return D3DERR_INVALIDCALL;
  }
  return DeviceFromParameters(true, behaviorFlags, parameters, device);
}

uint32_t IDirect3DDevice9_Release(Direct3DDevice9Handle device) { return device->Release(); }

HResult IDirect3DDevice9Ex_SetMaximumFrameLatency(Direct3DDevice9Handle device, uint32_t) {
  return device->ex ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult IDirect3DDevice9_GetDeviceCaps(Direct3DDevice9Handle, D3DCaps* caps) {
  *caps = script.caps;
  return D3D_OK;
}

HResult IDirect3DDevice9_BeginScene(Direct3DDevice9Handle) { return D3D_OK; }
HResult IDirect3DDevice9_EndScene(Direct3DDevice9Handle) { return D3D_OK; }

HResult IDirect3DDevice9_Present(Direct3DDevice9Handle, const WindowRect*, const WindowRect*,
                                 WindowHandle, const void*) {
  record.presents += 1;
  return script.presentFails ? D3DERR_DEVICELOST : D3D_OK;
}

HResult IDirect3DDevice9_Clear(Direct3DDevice9Handle, uint32_t, const D3DRect*, uint32_t,
                               uint32_t, float, uint32_t) {
  return D3D_OK;
}

HResult IDirect3DDevice9_SetRenderState(Direct3DDevice9Handle, uint32_t state, uint32_t value) {
  record.renderStates[state] = value;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetTextureStageState(Direct3DDevice9Handle, uint32_t, uint32_t,
                                              uint32_t) {
  return D3D_OK;
}

HResult IDirect3DDevice9_SetSamplerState(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t) {
  return D3D_OK;
}

HResult IDirect3DDevice9_SetTexture(Direct3DDevice9Handle, uint32_t, Direct3DTexture9Handle) {
  return D3D_OK;
}

HResult IDirect3DDevice9_SetFVF(Direct3DDevice9Handle, uint32_t) { return D3D_OK; }
HResult IDirect3DDevice9_SetVertexShaderNone(Direct3DDevice9Handle) { return D3D_OK; }
HResult IDirect3DDevice9_SetPixelShaderNone(Direct3DDevice9Handle) { return D3D_OK; }
HResult IDirect3DDevice9_SetViewport(Direct3DDevice9Handle, const D3DViewport*) { return D3D_OK; }

HResult IDirect3DDevice9_DrawPrimitiveUP(Direct3DDevice9Handle, uint32_t, uint32_t, const void*,
                                         uint32_t) {
  record.drawCalls += 1;
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateTexture(Direct3DDevice9Handle, uint32_t width, uint32_t height,
                                       uint32_t levels, uint32_t usage, uint32_t format,
                                       uint32_t pool, Direct3DTexture9Handle* texture) {
  auto* created = new Direct3DTexture9Object;
  if (levels == 0) levels = 1;
  for (uint32_t level = 0; level < levels; ++level)
    created->levels.push_back(NewSurface(std::max(1u, width >> level),
                                         std::max(1u, height >> level), format, pool, usage));
  *texture = created;
  return D3D_OK;
}

HResult IDirect3DDevice9_UpdateTexture(Direct3DDevice9Handle, Direct3DTexture9Handle source,
                                       Direct3DTexture9Handle destination) {
  size_t levels = std::min(source->levels.size(), destination->levels.size());
  for (size_t level = 0; level < levels; ++level)
    if (source->levels[level]->memory.size() == destination->levels[level]->memory.size())
      destination->levels[level]->memory = source->levels[level]->memory;
  return D3D_OK;
}

HResult IDirect3DDevice9_ColorFill(Direct3DDevice9Handle, Direct3DSurface9Handle, const WindowRect*,
                                   uint32_t) {
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateDepthStencilSurface(Direct3DDevice9Handle, uint32_t width,
                                                   uint32_t height, uint32_t format, uint32_t,
                                                   uint32_t, int32_t,
                                                   Direct3DSurface9Handle* surface) {
  *surface = NewSurface(width, height, format, D3DPOOL_DEFAULT, D3DUSAGE_DEPTHSTENCIL);
  return D3D_OK;
}

HResult IDirect3DDevice9_SetDepthStencilSurface(Direct3DDevice9Handle, Direct3DSurface9Handle) {
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateRenderTarget(Direct3DDevice9Handle, uint32_t width, uint32_t height,
                                            uint32_t format, uint32_t, uint32_t, int32_t,
                                            Direct3DSurface9Handle* surface) {
  *surface = NewSurface(width, height, format, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET);
  return D3D_OK;
}

HResult IDirect3DDevice9_SetRenderTarget(Direct3DDevice9Handle, uint32_t, Direct3DSurface9Handle) {
  return D3D_OK;
}

HResult IDirect3DDevice9_GetBackBuffer(Direct3DDevice9Handle device, uint32_t, uint32_t, uint32_t,
                                       Direct3DSurface9Handle* surface) {
  device->backBuffer->references += 1;
  *surface = device->backBuffer;
  return D3D_OK;
}

HResult IDirect3DDevice9_GetSwapChain(Direct3DDevice9Handle, uint32_t,
                                      Direct3DSwapChain9Handle* swapChain) {
  *swapChain = new Direct3DSwapChain9Object;
  return D3D_OK;
}

HResult IDirect3DDevice9_StretchRect(Direct3DDevice9Handle, Direct3DSurface9Handle,
                                     const WindowRect*, Direct3DSurface9Handle, const WindowRect*,
                                     uint32_t) {
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateOffscreenPlainSurface(Direct3DDevice9Handle, uint32_t width,
                                                     uint32_t height, uint32_t format,
                                                     uint32_t pool,
                                                     Direct3DSurface9Handle* surface) {
  *surface = NewSurface(width, height, format, pool, 0);
  return D3D_OK;
}

HResult IDirect3DDevice9_GetRenderTargetData(Direct3DDevice9Handle, Direct3DSurface9Handle,
                                             Direct3DSurface9Handle) {
  return D3D_OK;
}

uint32_t IDirect3DSwapChain9_Release(Direct3DSwapChain9Handle swapChain) {
  return swapChain->Release();
}

HResult IDirect3DSwapChain9_Present(Direct3DSwapChain9Handle, const WindowRect*, const WindowRect*,
                                    WindowHandle, const void*, uint32_t) {
  record.presents += 1;
  return script.presentFails ? D3DERR_DEVICELOST : D3D_OK;
}

// The fake display spends a tenth of each "refresh" in the vertical blank,
// counted in calls.
HResult IDirect3DSwapChain9_GetRasterStatus(Direct3DSwapChain9Handle, D3DRasterStatus* status) {
  static uint32_t calls = 0;
  calls += 1;
  status->InVBlank = calls % 10 == 0;
  status->ScanLine = status->InVBlank ? 0 : calls % 10;
  return D3D_OK;
}

uint32_t IDirect3DTexture9_Release(Direct3DTexture9Handle texture) { return texture->Release(); }

HResult IDirect3DTexture9_LockRect(Direct3DTexture9Handle texture, uint32_t level,
                                   D3DLockedRect* locked, const WindowRect* rect, uint32_t) {
  if (level >= texture->levels.size()) return D3DERR_INVALIDCALL;
  return LockSurface(texture->levels[level], locked, rect);
}

HResult IDirect3DTexture9_UnlockRect(Direct3DTexture9Handle texture, uint32_t level) {
  return level < texture->levels.size() ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult IDirect3DTexture9_GetSurfaceLevel(Direct3DTexture9Handle texture, uint32_t level,
                                          Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (level >= texture->levels.size()) return D3DERR_INVALIDCALL;
  texture->levels[level]->references += 1;
  *surface = texture->levels[level];
  return D3D_OK;
}

uint32_t IDirect3DSurface9_Release(Direct3DSurface9Handle surface) { return surface->Release(); }

HResult IDirect3DSurface9_LockRect(Direct3DSurface9Handle surface, D3DLockedRect* locked,
                                   const WindowRect* rect, uint32_t) {
  return LockSurface(surface, locked, rect);
}

HResult IDirect3DSurface9_UnlockRect(Direct3DSurface9Handle) { return D3D_OK; }

HResult IDirect3DSurface9_GetDesc(Direct3DSurface9Handle surface, D3DSurfaceDesc* desc) {
  *desc = surface->desc;
  return D3D_OK;
}

}  // namespace port
