// The headless Direct3D 9 port: d3d9.dll is missing unless a test offers an
// object and a device. An offered device keeps its surfaces and textures as
// plain memory: clears, fills, copies and locks move real pixels, and draws
// are rasterised (Direct3D9Raster.h) and recorded with their vertices and
// the states in force.
// Every call is recorded with its arguments, and any call can be scripted
// to fail.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "engine/platform/faults/FaultPoints.h"
#include "engine/platform/headless/Direct3D9Raster.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"

namespace {

headless::Direct3D9Script script;
headless::Direct3D9Record record;
std::map<std::string, int> callCounts;  // by name, for the scripted failures
int moduleToken;                        // its address stands for the loaded d3d9.dll
std::map<std::string, int> labelCounts;  // surfaces and textures made, by kind

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

void RecordCall(const char* name, const char* format, va_list list) {
  if (!script.recordCalls) return;
  char arguments[512];
  std::vsnprintf(arguments, sizeof arguments, format, list);
  record.calls.push_back({name, arguments});
}

// Records a call that has a failure result and tells whether it fails: as
// the script says, or as the fault sweep's Direct3D 9 fault point says.
bool Call(const char* name, const char* format = "", ...) {
  va_list list;
  va_start(list, format);
  RecordCall(name, format, list);
  va_end(list);
  int occurrence = ++callCounts[name];
  bool injected = faults::Fails(faults::DIRECT3D9);
  if (injected) faults::NameFailedCall(name);
  for (const headless::Direct3D9Failure& failure : script.failures)
    if (failure.call == name && (failure.occurrence == 0 || failure.occurrence == occurrence))
      return true;
  return injected;
}

// Records a call that cannot fail (the releases).
void Note(const char* name, const char* format = "", ...) {
  va_list list;
  va_start(list, format);
  RecordCall(name, format, list);
  va_end(list);
}

std::string RectText(const port::WindowRect* rect) {
  if (rect == nullptr) return "null";
  char text[64];
  std::snprintf(text, sizeof text, "{%d,%d,%d,%d}", rect->left, rect->top, rect->right,
                rect->bottom);
  return text;
}

}  // namespace

namespace port {

struct Direct3D9Object : Counted {
  bool ex = false;
};

struct Direct3DSurface9Object : Counted {
  std::string label;
  D3DSurfaceDesc desc = {};
  int pitch = 0;
  int rows = 0;
  int rowBytes = 0;  // the bytes of one row of pixels or blocks, without the padding
  // LockRect is allowed: not for a render target made unlockable, a depth
  // buffer, or a default-pool texture without dynamic usage.
  bool lockable = true;
  std::vector<uint8_t> memory;
};

struct Direct3DTexture9Object : Counted {
  std::vector<Direct3DSurface9Object*> levels;
  ~Direct3DTexture9Object() override {
    for (Direct3DSurface9Object* level : levels) level->Release();
  }
};

struct Direct3DSwapChain9Object : Counted {
  Direct3DDevice9Object* device = nullptr;
};

struct Direct3DDevice9Object : Counted {
  bool ex = false;
  D3DPresentParameters parameters = {};
  Direct3DSurface9Object* backBuffer = nullptr;
  Direct3DSurface9Object* renderTarget = nullptr;  // not counted: the engine holds it
  D3DViewport viewport = {};
  // What the draws see: the states set so far, the vertex format, stage
  // 0's texture (held, as a device holds a bound texture) and the scene.
  std::map<uint32_t, uint32_t> renderStates;
  std::map<uint32_t, uint32_t> stageStates;    // stage << 16 | type
  std::map<uint32_t, uint32_t> samplerStates;  // sampler << 16 | type
  uint32_t fvf = 0;
  Direct3DTexture9Object* texture = nullptr;
  bool inScene = false;
  ~Direct3DDevice9Object() override;
};

Direct3DDevice9Object::~Direct3DDevice9Object() {
  if (backBuffer) backBuffer->Release();
  if (texture) texture->Release();
}

}  // namespace port

namespace {

std::vector<uint8_t> presentedPixels;
int presentedPitch = 0;
uint32_t presentedFormat = 0;

const char* Label(const port::Direct3DSurface9Object* surface) {
  return surface ? surface->label.c_str() : "null";
}

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

// At least this many bytes end every row of a surface.
constexpr int ROW_PADDING = 32;

port::Direct3DSurface9Object* NewSurface(const std::string& label, uint32_t width,
                                         uint32_t height, uint32_t format, uint32_t pool,
                                         uint32_t usage) {
  auto* surface = new port::Direct3DSurface9Object;
  surface->label = label;
  surface->desc = {format, port::D3DRTYPE_SURFACE, usage, pool, 0, 0, width, height};
  if (IsBlockFormat(format)) {
    int blockBytes = format == port::D3DFMT_DXT1 ? 8 : 16;
    surface->rowBytes = int((width + 3) / 4) * blockBytes;
    surface->rows = int((height + 3) / 4);
  } else {
    surface->rowBytes = int(width) * BytesPerPixel(format);
    surface->rows = int(height);
  }
  // Rows are padded, as real drivers pad them: code that steps by the width
  // instead of the lock's pitch reads and writes the wrong pixels here too.
  surface->pitch = (surface->rowBytes + ROW_PADDING + 63) / 64 * 64;
  surface->memory.assign(size_t(surface->pitch) * size_t(surface->rows), 0);
  return surface;
}

std::string NewLabel(const char* kind) { return kind + std::to_string(++labelCounts[kind]); }

uint8_t* PixelAddress(port::Direct3DSurface9Object* surface, int x, int y) {
  return surface->memory.data() + size_t(y) * size_t(surface->pitch) +
         size_t(x) * size_t(BytesPerPixel(surface->desc.Format));
}

uint32_t ReadValue(const uint8_t* at, int bytes) {
  uint32_t value = 0;
  std::memcpy(&value, at, size_t(bytes));
  return value;
}

void WriteValue(uint8_t* at, int bytes, uint32_t value) { std::memcpy(at, &value, size_t(bytes)); }

// An A8R8G8B8 colour in the surface's own format (the formats a render
// target of this engine can have).
uint32_t Encode(uint32_t format, uint32_t argb) {
  uint32_t r = argb >> 16 & 0xFF, g = argb >> 8 & 0xFF, b = argb & 0xFF, a = argb >> 24;
  switch (format) {
    case port::D3DFMT_R5G6B5: return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
    case port::D3DFMT_X1R5G5B5: return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    case port::D3DFMT_A1R5G5B5: return (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    case port::D3DFMT_A4R4G4B4: return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
    case port::D3DFMT_X8R8G8B8: return argb & 0xFFFFFF;
    default: return argb;
  }
}

// The rectangle clipped to the surface; false when nothing is left or the
// rectangle is malformed.
bool Clip(const port::Direct3DSurface9Object* surface, const port::WindowRect* rect,
          port::WindowRect* clipped) {
  port::WindowRect whole = {0, 0, int32_t(surface->desc.Width), int32_t(surface->desc.Height)};
  if (rect == nullptr) {
    *clipped = whole;
    return true;
  }
  if (rect->left < 0 || rect->top < 0 || rect->right > whole.right ||
      rect->bottom > whole.bottom || rect->left >= rect->right || rect->top >= rect->bottom)
    return false;
  *clipped = *rect;
  return true;
}

void Fill(port::Direct3DSurface9Object* surface, const port::WindowRect& rect, uint32_t argb) {
  int bytes = BytesPerPixel(surface->desc.Format);
  uint32_t value = Encode(surface->desc.Format, argb);
  // The first row pixel by pixel, the others copied from it.
  uint8_t* first = PixelAddress(surface, rect.left, rect.top);
  for (int x = rect.left; x < rect.right; ++x) WriteValue(PixelAddress(surface, x, rect.top), bytes, value);
  size_t rowBytes = size_t(rect.right - rect.left) * size_t(bytes);
  for (int y = rect.top + 1; y < rect.bottom; ++y)
    std::memcpy(PixelAddress(surface, rect.left, y), first, rowBytes);
}

port::HResult LockSurface(port::Direct3DSurface9Object* surface, port::D3DLockedRect* locked,
                          const port::WindowRect* rect) {
  if (!surface->lockable) return port::D3DERR_INVALIDCALL;
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
  if (script.mixedProcessingFails && (flags & port::D3DCREATE_MIXED_VERTEXPROCESSING))
    return port::D3DERR_NOTAVAILABLE;
  auto* created = new port::Direct3DDevice9Object;
  created->ex = ex;
  created->parameters = *parameters;
  uint32_t format = parameters->BackBufferFormat != port::D3DFMT_UNKNOWN
                        ? parameters->BackBufferFormat
                        : script.desktop.Format;
  created->backBuffer = NewSurface("BackBuffer", parameters->BackBufferWidth,
                                   parameters->BackBufferHeight, format, port::D3DPOOL_DEFAULT,
                                   port::D3DUSAGE_RENDERTARGET);
  created->backBuffer->lockable = (parameters->Flags & port::D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
  created->renderTarget = created->backBuffer;
  created->viewport = {0, 0, parameters->BackBufferWidth, parameters->BackBufferHeight, 0, 1};
  record.devicesCreated += 1;
  record.lastBehaviorFlags = flags;
  record.lastDeviceWasEx = ex;
  record.lastParameters = *parameters;
  script.deviceLost = false;
  *device = created;
  return port::D3D_OK;
}

headless::Direct3D9PresentHook presentHook = nullptr;

port::HResult Show(port::Direct3DDevice9Object* device) {
  if (script.deviceLost) return port::D3DERR_DEVICELOST;
  record.presents += 1;
  presentedPixels = device->backBuffer->memory;
  presentedPitch = device->backBuffer->pitch;
  presentedFormat = device->backBuffer->desc.Format;
  return port::D3D_OK;
}

// A Present, shown unless it fails; the hook hears of it either way.
port::HResult Presented(port::Direct3DDevice9Object* device, bool fails) {
  port::HResult result = fails ? port::D3DERR_DEVICELOST : Show(device);
  if (presentHook) presentHook();
  return result;
}

// The vertices read after the device's vertex format (positions first;
// then diffuse, specular, texture coordinates when the format has them)
// and what was in force for the draw.
headless::Direct3D9Draw RecordDraw(const port::Direct3DDevice9Object& device,
                                   uint32_t primitiveType, uint32_t primitiveCount,
                                   const void* vertices, uint32_t stride) {
  headless::Direct3D9Draw draw;
  draw.primitiveType = primitiveType;
  draw.primitiveCount = primitiveCount;
  draw.stride = stride;
  draw.fvf = device.fvf;
  draw.texture = device.texture && !device.texture->levels.empty()
                     ? device.texture->levels[0]->label
                     : std::string("null");
  draw.textureHandle = device.texture;
  draw.insideScene = device.inScene;
  draw.renderStates = device.renderStates;
  draw.stageStates = device.stageStates;
  draw.samplerStates = device.samplerStates;
  uint32_t vertexCount = primitiveType == port::D3DPT_TRIANGLELIST ? primitiveCount * 3 : 0;
  size_t offsetDiffuse = 16;
  size_t offsetTexture = offsetDiffuse + ((device.fvf & port::D3DFVF_DIFFUSE) ? 4 : 0) +
                         ((device.fvf & port::D3DFVF_SPECULAR) ? 4 : 0);
  bool textured = (device.fvf >> 8 & 0xF) != 0;
  const auto* bytes = static_cast<const uint8_t*>(vertices);
  for (uint32_t i = 0; i < vertexCount; ++i) {
    const uint8_t* at = bytes + size_t(i) * stride;
    headless::Direct3D9Vertex vertex = {0, 0, 0, 0, 0xFFFFFFFFu, 0, 0};
    std::memcpy(&vertex.x, at, 16);
    if (device.fvf & port::D3DFVF_DIFFUSE) std::memcpy(&vertex.diffuse, at + offsetDiffuse, 4);
    if (textured) std::memcpy(&vertex.u, at + offsetTexture, 8);
    draw.vertices.push_back(vertex);
  }
  return draw;
}

headless::RasterSurface RasterSurfaceOf(port::Direct3DSurface9Object* surface) {
  return {surface->memory.data(), surface->pitch, surface->desc.Format, int(surface->desc.Width),
          int(surface->desc.Height)};
}

// Draws into the render target, reading level 0 of the bound texture.
void Rasterize(const port::Direct3DDevice9Object& device, const headless::Direct3D9Draw& draw) {
  headless::RasterSurface target = RasterSurfaceOf(device.renderTarget);
  headless::RasterSurface texture{};
  bool textured = device.texture != nullptr && !device.texture->levels.empty() &&
                  !IsBlockFormat(device.texture->levels[0]->desc.Format);
  if (textured) texture = RasterSurfaceOf(device.texture->levels[0]);
  headless::RasterizeDraw(draw, target, device.viewport, textured ? &texture : nullptr);
}

}  // namespace

namespace headless {

void ScriptDirect3D9(const Direct3D9Script& newScript) {
  script = newScript;
  callCounts.clear();
  if (record.liveObjects == 0) labelCounts.clear();
}
Direct3D9Script& Direct3D9ScriptInForce() { return script; }
const Direct3D9Record& Direct3D9Calls() { return record; }

std::vector<Direct3D9Call> Direct3D9CallsNamed(const std::string& name) {
  std::vector<Direct3D9Call> named;
  for (const Direct3D9Call& call : record.calls)
    if (call.name == name) named.push_back(call);
  return named;
}

void ClearDirect3D9Calls() {
  // The memory too: a long run clears the record often.
  record.calls = std::vector<Direct3D9Call>();
  record.draws = std::vector<Direct3D9Draw>();
}

namespace {

uint32_t Lookup(const std::map<uint32_t, uint32_t>& states, uint32_t key, uint32_t fallback) {
  auto found = states.find(key);
  return found == states.end() ? fallback : found->second;
}

}  // namespace

uint32_t Direct3D9Draw::RenderState(uint32_t state, uint32_t fallback) const {
  return Lookup(renderStates, state, fallback);
}
uint32_t Direct3D9Draw::StageState(uint32_t stage, uint32_t type, uint32_t fallback) const {
  return Lookup(stageStates, stage << 16 | type, fallback);
}
uint32_t Direct3D9Draw::SamplerState(uint32_t sampler, uint32_t type, uint32_t fallback) const {
  return Lookup(samplerStates, sampler << 16 | type, fallback);
}

uint32_t SurfacePixel(port::Direct3DSurface9Handle surface, int x, int y) {
  return ReadValue(PixelAddress(surface, x, y), BytesPerPixel(surface->desc.Format));
}

uint32_t SurfaceFormat(port::Direct3DSurface9Handle surface) { return surface->desc.Format; }

uint32_t TexturePixel(port::Direct3DTexture9Handle texture, int level, int x, int y) {
  return SurfacePixel(texture->levels[size_t(level)], x, y);
}

std::vector<uint8_t> TextureLevelBytes(port::Direct3DTexture9Handle texture, int level) {
  const port::Direct3DSurface9Object& surface = *texture->levels[size_t(level)];
  std::vector<uint8_t> packed;
  for (int row = 0; row < surface.rows; ++row) {
    const uint8_t* at = surface.memory.data() + size_t(row) * size_t(surface.pitch);
    packed.insert(packed.end(), at, at + surface.rowBytes);
  }
  return packed;
}

port::D3DSurfaceDesc TextureLevelDesc(port::Direct3DTexture9Handle texture, int level) {
  return texture->levels[size_t(level)]->desc;
}

int TextureLevelCount(port::Direct3DTexture9Handle texture) { return int(texture->levels.size()); }

void SetDirect3D9PresentHook(Direct3D9PresentHook hook) { presentHook = hook; }

const std::vector<uint8_t>& PresentedBytes() { return presentedPixels; }

uint32_t PresentedPixel(int x, int y) {
  int bytes = BytesPerPixel(presentedFormat);
  size_t at = size_t(y) * size_t(presentedPitch) + size_t(x) * size_t(bytes);
  if (at + size_t(bytes) > presentedPixels.size()) return 0;
  return ReadValue(presentedPixels.data() + at, bytes);
}

}  // namespace headless

namespace port {

Direct3D9ModuleHandle LoadDirect3D9Library() {
  if (!script.libraryPresent) return nullptr;
  record.librariesLoaded += 1;
  return reinterpret_cast<Direct3D9ModuleHandle>(&moduleToken);
}

void FreeDirect3D9Library(Direct3D9ModuleHandle) { record.librariesFreed += 1; }

int HasDirect3DCreate9Ex(Direct3D9ModuleHandle module) {
  return module != nullptr && script.exportsCreate9Ex;
}

int HasDirect3DCreate9(Direct3D9ModuleHandle module) {
  return module != nullptr && script.exportsCreate9;
}

HResult Direct3DCreate9Ex(Direct3D9ModuleHandle module, uint32_t sdkVersion,
                          Direct3D9Handle* object) {
  *object = nullptr;
  if (Call("Direct3DCreate9Ex", "%u", sdkVersion) || !HasDirect3DCreate9Ex(module) ||
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
  if (Call("Direct3DCreate9", "%u", sdkVersion) || !HasDirect3DCreate9(module) ||
      sdkVersion != D3D_SDK_VERSION)
    return nullptr;
  record.objectsCreated += 1;
  return new Direct3D9Object;
}

uint32_t IDirect3D9_Release(Direct3D9Handle object) {
  Note("IDirect3D9_Release");
  return object->Release();
}
int IDirect3D9_IsEx(Direct3D9Handle object) { return object->ex; }

HResult IDirect3D9_GetAdapterDisplayMode(Direct3D9Handle, uint32_t adapter, D3DDisplayMode* mode) {
  if (Call("IDirect3D9_GetAdapterDisplayMode", "%u", adapter)) return D3DERR_NOTAVAILABLE;
  *mode = script.desktop;
  return D3D_OK;
}

uint32_t IDirect3D9_GetAdapterModeCount(Direct3D9Handle, uint32_t adapter, uint32_t format) {
  if (Call("IDirect3D9_GetAdapterModeCount", "%u,%u", adapter, format)) return 0;
  if (format == D3DFMT_R5G6B5) return script.r5g6b5ModeCount;
  return format == D3DFMT_X8R8G8B8 || format == D3DFMT_X1R5G5B5 ? 1 : 0;
}

HResult IDirect3D9_GetAdapterIdentifier(Direct3D9Handle, uint32_t adapter, uint32_t flags,
                                        D3DAdapterIdentifier* identifier) {
  std::memset(identifier, 0, sizeof *identifier);
  if (Call("IDirect3D9_GetAdapterIdentifier", "%u,%u", adapter, flags)) return D3DERR_INVALIDCALL;
  std::strcpy(identifier->Driver, "headless.dll");
  std::strcpy(identifier->Description, "Headless Direct3D 9 device");
  return D3D_OK;
}

HResult IDirect3D9_GetDeviceCaps(Direct3D9Handle, uint32_t adapter, uint32_t deviceType,
                                 D3DCaps* caps) {
  if (Call("IDirect3D9_GetDeviceCaps", "%u,%u", adapter, deviceType)) return D3DERR_NOTAVAILABLE;
  *caps = script.caps;
  return D3D_OK;
}

HResult IDirect3D9_CheckDeviceFormat(Direct3D9Handle, uint32_t adapter, uint32_t deviceType,
                                     uint32_t adapterFormat, uint32_t usage,
                                     uint32_t resourceType, uint32_t checkFormat) {
  if (Call("IDirect3D9_CheckDeviceFormat", "%u,%u,%u,0x%X,%u,%u", adapter, deviceType,
           adapterFormat, usage, resourceType, checkFormat))
    return D3DERR_NOTAVAILABLE;
  const auto& formats =
      (usage & D3DUSAGE_RENDERTARGET) ? script.renderTargetFormats : script.textureFormats;
  return Contains(formats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CheckDepthStencilMatch(Direct3D9Handle, uint32_t adapter, uint32_t deviceType,
                                          uint32_t adapterFormat, uint32_t renderTargetFormat,
                                          uint32_t depthFormat) {
  if (Call("IDirect3D9_CheckDepthStencilMatch", "%u,%u,%u,%u,%u", adapter, deviceType,
           adapterFormat, renderTargetFormat, depthFormat))
    return D3DERR_NOTAVAILABLE;
  return Contains(script.depthFormats, depthFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CheckDeviceMultiSampleType(Direct3D9Handle, uint32_t adapter,
                                              uint32_t deviceType, uint32_t surfaceFormat,
                                              int32_t windowed, uint32_t multiSampleType,
                                              uint32_t* qualityLevels) {
  bool fails = Call("IDirect3D9_CheckDeviceMultiSampleType", "%u,%u,%u,%d,%u", adapter,
                    deviceType, surfaceFormat, windowed, multiSampleType);
  if (qualityLevels) *qualityLevels = 1;
  // Two samples at most, one quality level.
  return !fails && multiSampleType <= D3DMULTISAMPLE_2_SAMPLES && multiSampleType != 1
             ? D3D_OK
             : D3DERR_NOTAVAILABLE;
}

HResult IDirect3D9_CreateDevice(Direct3D9Handle, uint32_t adapter, uint32_t deviceType,
                                WindowHandle, uint32_t behaviorFlags,
                                D3DPresentParameters* parameters, Direct3DDevice9Handle* device) {
  *device = nullptr;
  if (Call("IDirect3D9_CreateDevice", "%u,%u,0x%X", adapter, deviceType, behaviorFlags))
    return D3DERR_NOTAVAILABLE;
  record.lastDisplayModeGiven = false;
  return DeviceFromParameters(false, behaviorFlags, parameters, device);
}

HResult IDirect3D9Ex_CreateDeviceEx(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                    WindowHandle, uint32_t behaviorFlags,
                                    D3DPresentParameters* parameters,
                                    D3DDisplayModeEx* displayMode, Direct3DDevice9Handle* device) {
  *device = nullptr;
  if (Call("IDirect3D9Ex_CreateDeviceEx", "%u,%u,0x%X,%s", adapter, deviceType, behaviorFlags,
           displayMode ? "mode" : "null") ||
      !object->ex)
    return D3DERR_NOTAVAILABLE;
  record.lastDisplayModeGiven = displayMode != nullptr;
  if (displayMode) record.lastDisplayMode = *displayMode;
  return DeviceFromParameters(true, behaviorFlags, parameters, device);
}

uint32_t IDirect3DDevice9_Release(Direct3DDevice9Handle device) {
  Note("IDirect3DDevice9_Release");
  return device->Release();
}

HResult IDirect3DDevice9Ex_SetMaximumFrameLatency(Direct3DDevice9Handle device,
                                                  uint32_t maxLatency) {
  if (Call("IDirect3DDevice9Ex_SetMaximumFrameLatency", "%u", maxLatency)) return D3DERR_INVALIDCALL;
  return device->ex ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult IDirect3DDevice9_GetDeviceCaps(Direct3DDevice9Handle, D3DCaps* caps) {
  if (Call("IDirect3DDevice9_GetDeviceCaps")) return D3DERR_INVALIDCALL;
  *caps = script.caps;
  return D3D_OK;
}

HResult IDirect3DDevice9_BeginScene(Direct3DDevice9Handle device) {
  if (Call("IDirect3DDevice9_BeginScene") || device->inScene) return D3DERR_INVALIDCALL;
  device->inScene = true;
  return D3D_OK;
}
HResult IDirect3DDevice9_EndScene(Direct3DDevice9Handle device) {
  if (Call("IDirect3DDevice9_EndScene") || !device->inScene) return D3DERR_INVALIDCALL;
  device->inScene = false;
  return D3D_OK;
}

HResult IDirect3DDevice9_Present(Direct3DDevice9Handle device, const WindowRect* sourceRect,
                                 const WindowRect* destRect, WindowHandle, const void*) {
  return Presented(device, Call("IDirect3DDevice9_Present", "%s,%s", RectText(sourceRect).c_str(),
                                RectText(destRect).c_str()));
}

HResult IDirect3DDevice9_Clear(Direct3DDevice9Handle device, uint32_t count, const D3DRect* rects,
                               uint32_t flags, uint32_t color, float z, uint32_t stencil) {
  std::string rectText = "null";
  if (count > 0 && rects != nullptr) {
    WindowRect first = {rects[0].x1, rects[0].y1, rects[0].x2, rects[0].y2};
    rectText = RectText(&first);
  }
  if (Call("IDirect3DDevice9_Clear", "%u,%s,%u,0x%08X,%g,%u", count, rectText.c_str(), flags, color,
           double(z), stencil))
    return D3DERR_INVALIDCALL;
  if (!(flags & D3DCLEAR_TARGET) || device->renderTarget == nullptr) return D3D_OK;
  // Clears touch the viewport's part of the target only.
  const D3DViewport& view = device->viewport;
  WindowRect area = {int32_t(view.X), int32_t(view.Y), int32_t(view.X + view.Width),
                     int32_t(view.Y + view.Height)};
  if (count > 0 && rects != nullptr) {
    area.left = std::max(area.left, rects[0].x1);
    area.top = std::max(area.top, rects[0].y1);
    area.right = std::min(area.right, rects[0].x2);
    area.bottom = std::min(area.bottom, rects[0].y2);
  }
  area.right = std::min(area.right, int32_t(device->renderTarget->desc.Width));
  area.bottom = std::min(area.bottom, int32_t(device->renderTarget->desc.Height));
  if (area.left < area.right && area.top < area.bottom) Fill(device->renderTarget, area, color);
  return D3D_OK;
}

HResult IDirect3DDevice9_SetRenderState(Direct3DDevice9Handle device, uint32_t state,
                                        uint32_t value) {
  if (Call("IDirect3DDevice9_SetRenderState", "%u,%u", state, value)) return D3DERR_INVALIDCALL;
  record.stateCalls += 1;
  record.renderStates[state] = value;
  device->renderStates[state] = value;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetTextureStageState(Direct3DDevice9Handle device, uint32_t stage,
                                              uint32_t type, uint32_t value) {
  if (Call("IDirect3DDevice9_SetTextureStageState", "%u,%u,%u", stage, type, value))
    return D3DERR_INVALIDCALL;
  record.stateCalls += 1;
  device->stageStates[stage << 16 | type] = value;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetSamplerState(Direct3DDevice9Handle device, uint32_t sampler,
                                         uint32_t type, uint32_t value) {
  if (Call("IDirect3DDevice9_SetSamplerState", "%u,%u,%u", sampler, type, value))
    return D3DERR_INVALIDCALL;
  record.stateCalls += 1;
  device->samplerStates[sampler << 16 | type] = value;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetTexture(Direct3DDevice9Handle device, uint32_t stage,
                                    Direct3DTexture9Handle texture) {
  const char* name = texture && !texture->levels.empty() ? Label(texture->levels[0]) : "null";
  if (Call("IDirect3DDevice9_SetTexture", "%u,%s", stage, name)) return D3DERR_INVALIDCALL;
  record.stateCalls += 1;
  if (stage != 0) return D3D_OK;
  // The device holds the bound texture until another replaces it.
  if (texture) texture->references += 1;
  if (device->texture) device->texture->Release();
  device->texture = texture;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetFVF(Direct3DDevice9Handle device, uint32_t fvf) {
  if (Call("IDirect3DDevice9_SetFVF", "0x%X", fvf)) return D3DERR_INVALIDCALL;
  device->fvf = fvf;
  return D3D_OK;
}
HResult IDirect3DDevice9_SetVertexShaderNone(Direct3DDevice9Handle) {
  return Call("IDirect3DDevice9_SetVertexShaderNone") ? D3DERR_INVALIDCALL : D3D_OK;
}
HResult IDirect3DDevice9_SetPixelShaderNone(Direct3DDevice9Handle) {
  return Call("IDirect3DDevice9_SetPixelShaderNone") ? D3DERR_INVALIDCALL : D3D_OK;
}

HResult IDirect3DDevice9_SetViewport(Direct3DDevice9Handle device, const D3DViewport* viewport) {
  if (Call("IDirect3DDevice9_SetViewport", "%u,%u,%u,%u,%g,%g", viewport->X, viewport->Y,
           viewport->Width, viewport->Height, double(viewport->MinZ), double(viewport->MaxZ)))
    return D3DERR_INVALIDCALL;
  device->viewport = *viewport;
  return D3D_OK;
}

HResult IDirect3DDevice9_DrawPrimitiveUP(Direct3DDevice9Handle device, uint32_t primitiveType,
                                         uint32_t primitiveCount, const void* vertices,
                                         uint32_t vertexStride) {
  if (Call("IDirect3DDevice9_DrawPrimitiveUP", "%u,%u,%u", primitiveType, primitiveCount,
           vertexStride) ||
      vertices == nullptr || vertexStride == 0 || primitiveCount == 0)
    return D3DERR_INVALIDCALL;
  record.drawCalls += 1;
  if (!script.recordCalls && !script.rasterize) return D3D_OK;
  headless::Direct3D9Draw draw =
      RecordDraw(*device, primitiveType, primitiveCount, vertices, vertexStride);
  if (script.rasterize && device->renderTarget != nullptr) Rasterize(*device, draw);
  if (script.recordCalls) record.draws.push_back(std::move(draw));
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateTexture(Direct3DDevice9Handle device, uint32_t width,
                                       uint32_t height, uint32_t levels, uint32_t usage,
                                       uint32_t format, uint32_t pool,
                                       Direct3DTexture9Handle* texture) {
  *texture = nullptr;
  if (Call("IDirect3DDevice9_CreateTexture", "%u,%u,%u,0x%X,%u,%u", width, height, levels, usage,
           format, pool))
    return D3DERR_NOTAVAILABLE;
  if (device->ex && pool == D3DPOOL_MANAGED && script.managedPoolRefusedOnEx)
    return D3DERR_INVALIDCALL;
  auto* created = new Direct3DTexture9Object;
  std::string label = NewLabel("Texture");
  if (levels == 0) levels = 1;
  for (uint32_t level = 0; level < levels; ++level) {
    created->levels.push_back(NewSurface(label + "." + std::to_string(level),
                                         std::max(1u, width >> level),
                                         std::max(1u, height >> level), format, pool, usage));
    created->levels.back()->lockable = pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC) != 0;
  }
  *texture = created;
  return D3D_OK;
}

HResult IDirect3DDevice9_UpdateTexture(Direct3DDevice9Handle, Direct3DTexture9Handle source,
                                       Direct3DTexture9Handle destination) {
  if (Call("IDirect3DDevice9_UpdateTexture", "%s,%s", Label(source->levels[0]),
           Label(destination->levels[0])))
    return D3DERR_INVALIDCALL;
  size_t levels = std::min(source->levels.size(), destination->levels.size());
  for (size_t level = 0; level < levels; ++level)
    if (source->levels[level]->memory.size() == destination->levels[level]->memory.size())
      destination->levels[level]->memory = source->levels[level]->memory;
  return D3D_OK;
}

HResult IDirect3DDevice9_ColorFill(Direct3DDevice9Handle, Direct3DSurface9Handle surface,
                                   const WindowRect* rect, uint32_t color) {
  if (Call("IDirect3DDevice9_ColorFill", "%s,%s,0x%08X", Label(surface), RectText(rect).c_str(),
           color))
    return D3DERR_INVALIDCALL;
  WindowRect area;
  if (!Clip(surface, rect, &area)) return D3DERR_INVALIDCALL;
  Fill(surface, area, color);
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateDepthStencilSurface(Direct3DDevice9Handle, uint32_t width,
                                                   uint32_t height, uint32_t format,
                                                   uint32_t multiSample, uint32_t quality,
                                                   int32_t discard,
                                                   Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (Call("IDirect3DDevice9_CreateDepthStencilSurface", "%u,%u,%u,%u,%u,%d", width, height,
           format, multiSample, quality, discard))
    return D3DERR_NOTAVAILABLE;
  *surface = NewSurface(NewLabel("DepthStencil"), width, height, format, D3DPOOL_DEFAULT,
                        D3DUSAGE_DEPTHSTENCIL);
  (*surface)->lockable = false;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetDepthStencilSurface(Direct3DDevice9Handle,
                                                Direct3DSurface9Handle surface) {
  return Call("IDirect3DDevice9_SetDepthStencilSurface", "%s", Label(surface))
             ? D3DERR_INVALIDCALL
             : D3D_OK;
}

HResult IDirect3DDevice9_CreateRenderTarget(Direct3DDevice9Handle, uint32_t width, uint32_t height,
                                            uint32_t format, uint32_t multiSample,
                                            uint32_t quality, int32_t lockable,
                                            Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (Call("IDirect3DDevice9_CreateRenderTarget", "%u,%u,%u,%u,%u,%d", width, height, format,
           multiSample, quality, lockable))
    return D3DERR_NOTAVAILABLE;
  *surface = NewSurface(NewLabel("RenderTarget"), width, height, format, D3DPOOL_DEFAULT,
                        D3DUSAGE_RENDERTARGET);
  (*surface)->lockable = lockable != 0;
  return D3D_OK;
}

HResult IDirect3DDevice9_SetRenderTarget(Direct3DDevice9Handle device, uint32_t index,
                                         Direct3DSurface9Handle surface) {
  if (Call("IDirect3DDevice9_SetRenderTarget", "%u,%s", index, Label(surface)) ||
      surface == nullptr)
    return D3DERR_INVALIDCALL;
  device->renderTarget = surface;
  // Setting a render target resets the viewport to the whole target.
  device->viewport = {0, 0, surface->desc.Width, surface->desc.Height, 0, 1};
  return D3D_OK;
}

HResult IDirect3DDevice9_GetBackBuffer(Direct3DDevice9Handle device, uint32_t swapChain,
                                       uint32_t index, uint32_t type,
                                       Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (Call("IDirect3DDevice9_GetBackBuffer", "%u,%u,%u", swapChain, index, type))
    return D3DERR_INVALIDCALL;
  device->backBuffer->references += 1;
  *surface = device->backBuffer;
  return D3D_OK;
}

HResult IDirect3DDevice9_GetSwapChain(Direct3DDevice9Handle device, uint32_t index,
                                      Direct3DSwapChain9Handle* swapChain) {
  *swapChain = nullptr;
  if (Call("IDirect3DDevice9_GetSwapChain", "%u", index)) return D3DERR_INVALIDCALL;
  auto* created = new Direct3DSwapChain9Object;
  created->device = device;
  *swapChain = created;
  return D3D_OK;
}

// Copies with nearest-neighbour scaling between surfaces of one format.
HResult IDirect3DDevice9_StretchRect(Direct3DDevice9Handle, Direct3DSurface9Handle source,
                                     const WindowRect* sourceRect,
                                     Direct3DSurface9Handle destination,
                                     const WindowRect* destRect, uint32_t filter) {
  if (Call("IDirect3DDevice9_StretchRect", "%s,%s,%s,%s,%u", Label(source),
           RectText(sourceRect).c_str(), Label(destination), RectText(destRect).c_str(), filter))
    return D3DERR_INVALIDCALL;
  WindowRect from, to;
  if (!Clip(source, sourceRect, &from) || !Clip(destination, destRect, &to) ||
      source->desc.Format != destination->desc.Format)
    return D3DERR_INVALIDCALL;
  int bytes = BytesPerPixel(source->desc.Format);
  int fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
  int toWidth = to.right - to.left, toHeight = to.bottom - to.top;
  std::vector<uint8_t> copy = source->memory;  // source and destination may be one surface
  for (int y = 0; y < toHeight; ++y)
    for (int x = 0; x < toWidth; ++x) {
      int sx = from.left + x * fromWidth / toWidth, sy = from.top + y * fromHeight / toHeight;
      const uint8_t* at = copy.data() + size_t(sy) * size_t(source->pitch) + size_t(sx) * size_t(bytes);
      std::memcpy(PixelAddress(destination, to.left + x, to.top + y), at, size_t(bytes));
    }
  return D3D_OK;
}

HResult IDirect3DDevice9_CreateOffscreenPlainSurface(Direct3DDevice9Handle, uint32_t width,
                                                     uint32_t height, uint32_t format,
                                                     uint32_t pool,
                                                     Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (Call("IDirect3DDevice9_CreateOffscreenPlainSurface", "%u,%u,%u,%u", width, height, format,
           pool))
    return D3DERR_NOTAVAILABLE;
  *surface = NewSurface(NewLabel("Offscreen"), width, height, format, pool, 0);
  return D3D_OK;
}

HResult IDirect3DDevice9_GetRenderTargetData(Direct3DDevice9Handle,
                                             Direct3DSurface9Handle renderTarget,
                                             Direct3DSurface9Handle destination) {
  if (Call("IDirect3DDevice9_GetRenderTargetData", "%s,%s", Label(renderTarget),
           Label(destination)) ||
      renderTarget->memory.size() != destination->memory.size() ||
      renderTarget->desc.Format != destination->desc.Format)
    return D3DERR_INVALIDCALL;
  destination->memory = renderTarget->memory;
  return D3D_OK;
}

uint32_t IDirect3DSwapChain9_Release(Direct3DSwapChain9Handle swapChain) {
  Note("IDirect3DSwapChain9_Release");
  return swapChain->Release();
}

HResult IDirect3DSwapChain9_Present(Direct3DSwapChain9Handle swapChain,
                                    const WindowRect* sourceRect, const WindowRect* destRect,
                                    WindowHandle, const void*, uint32_t flags) {
  return Presented(swapChain->device, Call("IDirect3DSwapChain9_Present", "%s,%s,%u",
                                          RectText(sourceRect).c_str(),
                                          RectText(destRect).c_str(), flags));
}

// The fake display spends a tenth of each "refresh" in the vertical blank,
// counted in calls.
HResult IDirect3DSwapChain9_GetRasterStatus(Direct3DSwapChain9Handle, D3DRasterStatus* status) {
  if (Call("IDirect3DSwapChain9_GetRasterStatus")) return D3DERR_INVALIDCALL;
  static uint32_t calls = 0;
  calls += 1;
  status->InVBlank = calls % 10 == 0;
  status->ScanLine = status->InVBlank ? 0 : calls % 10;
  return D3D_OK;
}

uint32_t IDirect3DTexture9_Release(Direct3DTexture9Handle texture) {
  Note("IDirect3DTexture9_Release", "%s", Label(texture->levels[0]));
  return texture->Release();
}

HResult IDirect3DTexture9_LockRect(Direct3DTexture9Handle texture, uint32_t level,
                                   D3DLockedRect* locked, const WindowRect* rect, uint32_t flags) {
  if (Call("IDirect3DTexture9_LockRect", "%s,%s,0x%X",
           level < texture->levels.size() ? Label(texture->levels[level]) : "none",
           RectText(rect).c_str(), flags) ||
      level >= texture->levels.size())
    return D3DERR_INVALIDCALL;
  // A rectangle outside the level is refused rather than written past.
  WindowRect inside;
  if (!Clip(texture->levels[level], rect, &inside)) return D3DERR_INVALIDCALL;
  return LockSurface(texture->levels[level], locked, rect);
}

HResult IDirect3DTexture9_UnlockRect(Direct3DTexture9Handle texture, uint32_t level) {
  if (Call("IDirect3DTexture9_UnlockRect", "%u", level)) return D3DERR_INVALIDCALL;
  return level < texture->levels.size() ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult IDirect3DTexture9_GetSurfaceLevel(Direct3DTexture9Handle texture, uint32_t level,
                                          Direct3DSurface9Handle* surface) {
  *surface = nullptr;
  if (Call("IDirect3DTexture9_GetSurfaceLevel", "%u", level) || level >= texture->levels.size())
    return D3DERR_INVALIDCALL;
  texture->levels[level]->references += 1;
  *surface = texture->levels[level];
  return D3D_OK;
}

uint32_t IDirect3DSurface9_Release(Direct3DSurface9Handle surface) {
  Note("IDirect3DSurface9_Release", "%s", Label(surface));
  return surface->Release();
}

HResult IDirect3DSurface9_LockRect(Direct3DSurface9Handle surface, D3DLockedRect* locked,
                                   const WindowRect* rect, uint32_t flags) {
  if (Call("IDirect3DSurface9_LockRect", "%s,%s,0x%X", Label(surface), RectText(rect).c_str(),
           flags))
    return D3DERR_INVALIDCALL;
  return LockSurface(surface, locked, rect);
}

HResult IDirect3DSurface9_UnlockRect(Direct3DSurface9Handle surface) {
  return Call("IDirect3DSurface9_UnlockRect", "%s", Label(surface)) ? D3DERR_INVALIDCALL : D3D_OK;
}

HResult IDirect3DSurface9_GetDesc(Direct3DSurface9Handle surface, D3DSurfaceDesc* desc) {
  if (Call("IDirect3DSurface9_GetDesc", "%s", Label(surface))) return D3DERR_INVALIDCALL;
  *desc = surface->desc;
  return D3D_OK;
}

}  // namespace port
