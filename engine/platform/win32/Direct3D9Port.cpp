// Direct3D 9 forwarded to the real d3d9.dll, loaded at run time. The
// portable records are copied field by field into the platform's own.
//
// The port header comes first: d3d9.h defines macros with the names of the
// port's constants, so this file only uses the platform's own names for
// them (the values are checked against the SDK in Direct3D9Constants.cpp).
// The SDK also defines its C helper macros under the names the port's
// functions keep (IDirect3DDevice9_BeginScene ...): the definitions below put
// each name in parentheses, which a function-like macro does not expand.
#include "engine/platform/Direct3D9Port.h"

#include <windows.h>
#include <d3d9.h>

#include <cstring>

#include "engine/platform/win32/Direct3D9Window.h"

namespace {

IDirect3D9* Object(port::Direct3D9Handle handle) { return reinterpret_cast<IDirect3D9*>(handle); }
IDirect3DDevice9* Device(port::Direct3DDevice9Handle handle) {
  return reinterpret_cast<IDirect3DDevice9*>(handle);
}
IDirect3DSwapChain9* SwapChain(port::Direct3DSwapChain9Handle handle) {
  return reinterpret_cast<IDirect3DSwapChain9*>(handle);
}
IDirect3DTexture9* Texture(port::Direct3DTexture9Handle handle) {
  return reinterpret_cast<IDirect3DTexture9*>(handle);
}
IDirect3DSurface9* Surface(port::Direct3DSurface9Handle handle) {
  return reinterpret_cast<IDirect3DSurface9*>(handle);
}

const RECT* Rect(const port::WindowRect* rect) { return reinterpret_cast<const RECT*>(rect); }
static_assert(sizeof(RECT) == sizeof(port::WindowRect), "RECT layout");
static_assert(sizeof(D3DRECT) == sizeof(port::D3DRect), "D3DRECT layout");
static_assert(sizeof(D3DVIEWPORT9) == sizeof(port::D3DViewport), "D3DVIEWPORT9 layout");
static_assert(sizeof(D3DRASTER_STATUS) == sizeof(port::D3DRasterStatus), "raster status layout");

void ToPresentParameters(const port::D3DPresentParameters& from, D3DPRESENT_PARAMETERS* to) {
  std::memset(to, 0, sizeof *to);
  to->BackBufferWidth = from.BackBufferWidth;
  to->BackBufferHeight = from.BackBufferHeight;
  to->BackBufferFormat = D3DFORMAT(from.BackBufferFormat);
  to->BackBufferCount = from.BackBufferCount;
  to->MultiSampleType = D3DMULTISAMPLE_TYPE(from.MultiSampleType);
  to->MultiSampleQuality = from.MultiSampleQuality;
  to->SwapEffect = D3DSWAPEFFECT(from.SwapEffect);
  to->hDeviceWindow = Direct3DWindow(from.hDeviceWindow);
  to->Windowed = from.Windowed;
  to->EnableAutoDepthStencil = from.EnableAutoDepthStencil;
  to->AutoDepthStencilFormat = D3DFORMAT(from.AutoDepthStencilFormat);
  to->Flags = from.Flags;
  to->FullScreen_RefreshRateInHz = from.FullScreen_RefreshRateInHz;
  to->PresentationInterval = from.PresentationInterval;
}

// CreateDevice may adjust the parameters (a zero back-buffer size, say);
// the caller sees what the device was made with.
void FromPresentParameters(const D3DPRESENT_PARAMETERS& from, port::D3DPresentParameters* to) {
  to->BackBufferWidth = from.BackBufferWidth;
  to->BackBufferHeight = from.BackBufferHeight;
  to->BackBufferFormat = uint32_t(from.BackBufferFormat);
  to->BackBufferCount = from.BackBufferCount;
}

void FromCaps(const D3DCAPS9& from, port::D3DCaps* to) {
  to->DevCaps = from.DevCaps;
  to->PrimitiveMiscCaps = from.PrimitiveMiscCaps;
  to->SrcBlendCaps = from.SrcBlendCaps;
  to->DestBlendCaps = from.DestBlendCaps;
  to->TextureCaps = from.TextureCaps;
  to->MaxTextureWidth = from.MaxTextureWidth;
  to->MaxTextureHeight = from.MaxTextureHeight;
  to->MaxAnisotropy = from.MaxAnisotropy;
  to->VertexShaderVersion = from.VertexShaderVersion;
  to->PixelShaderVersion = from.PixelShaderVersion;
}

using Create9ExFunction = HRESULT(WINAPI*)(UINT, IDirect3D9Ex**);
using Create9Function = IDirect3D9*(WINAPI*)(UINT);

// An export of the module as an untyped function pointer, null when absent.
using UntypedFunction = void (*)();
UntypedFunction Export(port::Direct3D9ModuleHandle module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<UntypedFunction>(
      GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

}  // namespace

namespace port {

Direct3D9ModuleHandle LoadDirect3D9Library() {
  return reinterpret_cast<Direct3D9ModuleHandle>(LoadLibraryW(L"d3d9.dll"));
}

void FreeDirect3D9Library(Direct3D9ModuleHandle module) {
  if (module) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

int HasDirect3DCreate9Ex(Direct3D9ModuleHandle module) {
  return Export(module, "Direct3DCreate9Ex") != nullptr;
}

int HasDirect3DCreate9(Direct3D9ModuleHandle module) {
  return Export(module, "Direct3DCreate9") != nullptr;
}

HResult Direct3DCreate9Ex(Direct3D9ModuleHandle module, uint32_t sdkVersion,
                          Direct3D9Handle* object) {
  *object = nullptr;
  auto create = reinterpret_cast<Create9ExFunction>(Export(module, "Direct3DCreate9Ex"));
  if (create == nullptr) return D3DERR_NOTAVAILABLE;
  IDirect3D9Ex* created = nullptr;
  HRESULT result = create(sdkVersion, &created);
  if (SUCCEEDED(result)) *object = reinterpret_cast<Direct3D9Handle>(created);
  return result;
}

Direct3D9Handle Direct3DCreate9(Direct3D9ModuleHandle module, uint32_t sdkVersion) {
  auto create = reinterpret_cast<Create9Function>(Export(module, "Direct3DCreate9"));
  if (create == nullptr) return nullptr;
  return reinterpret_cast<Direct3D9Handle>(create(sdkVersion));
}

uint32_t (IDirect3D9_Release)(Direct3D9Handle object) { return Object(object)->Release(); }

int (IDirect3D9_IsEx)(Direct3D9Handle object) {
  IDirect3D9Ex* ex = nullptr;
  if (FAILED(Object(object)->QueryInterface(IID_IDirect3D9Ex, reinterpret_cast<void**>(&ex))))
    return 0;
  ex->Release();
  return 1;
}

HResult (IDirect3D9_GetAdapterDisplayMode)(Direct3D9Handle object, uint32_t adapter,
                                         D3DDisplayMode* mode) {
  D3DDISPLAYMODE displayMode{};
  HRESULT result = Object(object)->GetAdapterDisplayMode(adapter, &displayMode);
  mode->Width = displayMode.Width;
  mode->Height = displayMode.Height;
  mode->RefreshRate = displayMode.RefreshRate;
  mode->Format = uint32_t(displayMode.Format);
  return result;
}

uint32_t (IDirect3D9_GetAdapterModeCount)(Direct3D9Handle object, uint32_t adapter,
                                        uint32_t format) {
  return Object(object)->GetAdapterModeCount(adapter, D3DFORMAT(format));
}

HResult (IDirect3D9_GetAdapterIdentifier)(Direct3D9Handle object, uint32_t adapter, uint32_t flags,
                                        D3DAdapterIdentifier* identifier) {
  D3DADAPTER_IDENTIFIER9 platformIdentifier{};
  HRESULT result = Object(object)->GetAdapterIdentifier(adapter, flags, &platformIdentifier);
  static_assert(sizeof identifier->Driver == sizeof platformIdentifier.Driver, "driver text");
  std::memcpy(identifier->Driver, platformIdentifier.Driver, sizeof identifier->Driver);
  std::memcpy(identifier->Description, platformIdentifier.Description,
              sizeof identifier->Description);
  identifier->Driver[sizeof identifier->Driver - 1] = 0;
  identifier->Description[sizeof identifier->Description - 1] = 0;
  return result;
}

HResult (IDirect3D9_GetDeviceCaps)(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                 D3DCaps* caps) {
  D3DCAPS9 platformCaps{};
  HRESULT result = Object(object)->GetDeviceCaps(adapter, D3DDEVTYPE(deviceType), &platformCaps);
  FromCaps(platformCaps, caps);
  return result;
}

HResult (IDirect3D9_CheckDeviceFormat)(Direct3D9Handle object, uint32_t adapter,
                                     uint32_t deviceType, uint32_t adapterFormat, uint32_t usage,
                                     uint32_t resourceType, uint32_t checkFormat) {
  return Object(object)->CheckDeviceFormat(adapter, D3DDEVTYPE(deviceType),
                                           D3DFORMAT(adapterFormat), usage,
                                           D3DRESOURCETYPE(resourceType), D3DFORMAT(checkFormat));
}

HResult (IDirect3D9_CheckDepthStencilMatch)(Direct3D9Handle object, uint32_t adapter,
                                          uint32_t deviceType, uint32_t adapterFormat,
                                          uint32_t renderTargetFormat, uint32_t depthFormat) {
  return Object(object)->CheckDepthStencilMatch(adapter, D3DDEVTYPE(deviceType),
                                                D3DFORMAT(adapterFormat),
                                                D3DFORMAT(renderTargetFormat),
                                                D3DFORMAT(depthFormat));
}

HResult (IDirect3D9_CheckDeviceMultiSampleType)(Direct3D9Handle object, uint32_t adapter,
                                              uint32_t deviceType, uint32_t surfaceFormat,
                                              int32_t windowed, uint32_t multiSampleType,
                                              uint32_t* qualityLevels) {
  DWORD levels = 0;
  HRESULT result = Object(object)->CheckDeviceMultiSampleType(
      adapter, D3DDEVTYPE(deviceType), D3DFORMAT(surfaceFormat), windowed,
      D3DMULTISAMPLE_TYPE(multiSampleType), &levels);
  if (qualityLevels) *qualityLevels = levels;
  return result;
}

HResult (IDirect3D9_CreateDevice)(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                WindowHandle focusWindow, uint32_t behaviorFlags,
                                D3DPresentParameters* parameters, Direct3DDevice9Handle* device) {
  D3DPRESENT_PARAMETERS platformParameters;
  ToPresentParameters(*parameters, &platformParameters);
  IDirect3DDevice9* created = nullptr;
  HRESULT result =
      Object(object)->CreateDevice(adapter, D3DDEVTYPE(deviceType), Direct3DWindow(focusWindow),
                                   behaviorFlags, &platformParameters, &created);
  FromPresentParameters(platformParameters, parameters);
  *device = SUCCEEDED(result) ? reinterpret_cast<Direct3DDevice9Handle>(created) : nullptr;
  return result;
}

HResult (IDirect3D9Ex_CreateDeviceEx)(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                    WindowHandle focusWindow, uint32_t behaviorFlags,
                                    D3DPresentParameters* parameters,
                                    D3DDisplayModeEx* displayMode, Direct3DDevice9Handle* device) {
  *device = nullptr;
  IDirect3D9Ex* ex = nullptr;
  HRESULT result =
      Object(object)->QueryInterface(IID_IDirect3D9Ex, reinterpret_cast<void**>(&ex));
  if (FAILED(result)) return result;
  D3DPRESENT_PARAMETERS platformParameters;
  ToPresentParameters(*parameters, &platformParameters);
  D3DDISPLAYMODEEX platformMode{};
  if (displayMode) {
    platformMode.Size = sizeof platformMode;
    platformMode.Width = displayMode->Width;
    platformMode.Height = displayMode->Height;
    platformMode.RefreshRate = displayMode->RefreshRate;
    platformMode.Format = D3DFORMAT(displayMode->Format);
    platformMode.ScanLineOrdering = D3DSCANLINEORDERING(displayMode->ScanLineOrdering);
  }
  IDirect3DDevice9Ex* created = nullptr;
  result = ex->CreateDeviceEx(adapter, D3DDEVTYPE(deviceType), Direct3DWindow(focusWindow),
                              behaviorFlags, &platformParameters,
                              displayMode ? &platformMode : nullptr, &created);
  ex->Release();
  FromPresentParameters(platformParameters, parameters);
  if (SUCCEEDED(result)) *device = reinterpret_cast<Direct3DDevice9Handle>(created);
  return result;
}

uint32_t (IDirect3DDevice9_Release)(Direct3DDevice9Handle device) {
  return Device(device)->Release();
}

HResult (IDirect3DDevice9Ex_SetMaximumFrameLatency)(Direct3DDevice9Handle device,
                                                  uint32_t maxLatency) {
  IDirect3DDevice9Ex* ex = nullptr;
  HRESULT result =
      Device(device)->QueryInterface(IID_IDirect3DDevice9Ex, reinterpret_cast<void**>(&ex));
  if (FAILED(result)) return result;
  result = ex->SetMaximumFrameLatency(maxLatency);
  ex->Release();
  return result;
}

HResult (IDirect3DDevice9_GetDeviceCaps)(Direct3DDevice9Handle device, D3DCaps* caps) {
  D3DCAPS9 platformCaps{};
  HRESULT result = Device(device)->GetDeviceCaps(&platformCaps);
  FromCaps(platformCaps, caps);
  return result;
}

HResult (IDirect3DDevice9_BeginScene)(Direct3DDevice9Handle device) {
  return Device(device)->BeginScene();
}

HResult (IDirect3DDevice9_EndScene)(Direct3DDevice9Handle device) {
  return Device(device)->EndScene();
}

HResult (IDirect3DDevice9_Present)(Direct3DDevice9Handle device, const WindowRect* sourceRect,
                                 const WindowRect* destRect, WindowHandle destWindow,
                                 const void* dirtyRegion) {
  return Device(device)->Present(Rect(sourceRect), Rect(destRect), Direct3DWindow(destWindow),
                                 static_cast<const RGNDATA*>(dirtyRegion));
}

HResult (IDirect3DDevice9_Clear)(Direct3DDevice9Handle device, uint32_t count,
                               const D3DRect* rects, uint32_t flags, uint32_t color, float z,
                               uint32_t stencil) {
  return Device(device)->Clear(count, reinterpret_cast<const D3DRECT*>(rects), flags, color, z,
                               stencil);
}

HResult (IDirect3DDevice9_SetRenderState)(Direct3DDevice9Handle device, uint32_t state,
                                        uint32_t value) {
  return Device(device)->SetRenderState(D3DRENDERSTATETYPE(state), value);
}

HResult (IDirect3DDevice9_SetTextureStageState)(Direct3DDevice9Handle device, uint32_t stage,
                                              uint32_t type, uint32_t value) {
  return Device(device)->SetTextureStageState(stage, D3DTEXTURESTAGESTATETYPE(type), value);
}

HResult (IDirect3DDevice9_SetSamplerState)(Direct3DDevice9Handle device, uint32_t sampler,
                                         uint32_t type, uint32_t value) {
  return Device(device)->SetSamplerState(sampler, D3DSAMPLERSTATETYPE(type), value);
}

HResult (IDirect3DDevice9_SetTexture)(Direct3DDevice9Handle device, uint32_t stage,
                                    Direct3DTexture9Handle texture) {
  return Device(device)->SetTexture(stage, Texture(texture));
}

HResult (IDirect3DDevice9_SetFVF)(Direct3DDevice9Handle device, uint32_t fvf) {
  return Device(device)->SetFVF(fvf);
}

HResult (IDirect3DDevice9_SetVertexShaderNone)(Direct3DDevice9Handle device) {
  return Device(device)->SetVertexShader(nullptr);
}

HResult (IDirect3DDevice9_SetPixelShaderNone)(Direct3DDevice9Handle device) {
  return Device(device)->SetPixelShader(nullptr);
}

HResult (IDirect3DDevice9_SetViewport)(Direct3DDevice9Handle device, const D3DViewport* viewport) {
  return Device(device)->SetViewport(reinterpret_cast<const D3DVIEWPORT9*>(viewport));
}

HResult (IDirect3DDevice9_DrawPrimitiveUP)(Direct3DDevice9Handle device, uint32_t primitiveType,
                                         uint32_t primitiveCount, const void* vertices,
                                         uint32_t vertexStride) {
  return Device(device)->DrawPrimitiveUP(D3DPRIMITIVETYPE(primitiveType), primitiveCount,
                                         vertices, vertexStride);
}

HResult (IDirect3DDevice9_CreateTexture)(Direct3DDevice9Handle device, uint32_t width,
                                       uint32_t height, uint32_t levels, uint32_t usage,
                                       uint32_t format, uint32_t pool,
                                       Direct3DTexture9Handle* texture) {
  IDirect3DTexture9* created = nullptr;
  HRESULT result = Device(device)->CreateTexture(width, height, levels, usage, D3DFORMAT(format),
                                                 D3DPOOL(pool), &created, nullptr);
  *texture = SUCCEEDED(result) ? reinterpret_cast<Direct3DTexture9Handle>(created) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_UpdateTexture)(Direct3DDevice9Handle device,
                                       Direct3DTexture9Handle source,
                                       Direct3DTexture9Handle destination) {
  return Device(device)->UpdateTexture(Texture(source), Texture(destination));
}

HResult (IDirect3DDevice9_ColorFill)(Direct3DDevice9Handle device, Direct3DSurface9Handle surface,
                                   const WindowRect* rect, uint32_t color) {
  return Device(device)->ColorFill(Surface(surface), Rect(rect), color);
}

HResult (IDirect3DDevice9_CreateDepthStencilSurface)(Direct3DDevice9Handle device, uint32_t width,
                                                   uint32_t height, uint32_t format,
                                                   uint32_t multiSample, uint32_t quality,
                                                   int32_t discard,
                                                   Direct3DSurface9Handle* surface) {
  IDirect3DSurface9* created = nullptr;
  HRESULT result = Device(device)->CreateDepthStencilSurface(
      width, height, D3DFORMAT(format), D3DMULTISAMPLE_TYPE(multiSample), quality, discard,
      &created, nullptr);
  *surface = SUCCEEDED(result) ? reinterpret_cast<Direct3DSurface9Handle>(created) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_SetDepthStencilSurface)(Direct3DDevice9Handle device,
                                                Direct3DSurface9Handle surface) {
  return Device(device)->SetDepthStencilSurface(Surface(surface));
}

HResult (IDirect3DDevice9_CreateRenderTarget)(Direct3DDevice9Handle device, uint32_t width,
                                            uint32_t height, uint32_t format,
                                            uint32_t multiSample, uint32_t quality,
                                            int32_t lockable, Direct3DSurface9Handle* surface) {
  IDirect3DSurface9* created = nullptr;
  HRESULT result = Device(device)->CreateRenderTarget(width, height, D3DFORMAT(format),
                                                      D3DMULTISAMPLE_TYPE(multiSample), quality,
                                                      lockable, &created, nullptr);
  *surface = SUCCEEDED(result) ? reinterpret_cast<Direct3DSurface9Handle>(created) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_SetRenderTarget)(Direct3DDevice9Handle device, uint32_t index,
                                         Direct3DSurface9Handle surface) {
  return Device(device)->SetRenderTarget(index, Surface(surface));
}

HResult (IDirect3DDevice9_GetBackBuffer)(Direct3DDevice9Handle device, uint32_t swapChain,
                                       uint32_t index, uint32_t type,
                                       Direct3DSurface9Handle* surface) {
  IDirect3DSurface9* backBuffer = nullptr;
  HRESULT result =
      Device(device)->GetBackBuffer(swapChain, index, D3DBACKBUFFER_TYPE(type), &backBuffer);
  *surface = SUCCEEDED(result) ? reinterpret_cast<Direct3DSurface9Handle>(backBuffer) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_GetSwapChain)(Direct3DDevice9Handle device, uint32_t index,
                                      Direct3DSwapChain9Handle* swapChain) {
  IDirect3DSwapChain9* chain = nullptr;
  HRESULT result = Device(device)->GetSwapChain(index, &chain);
  *swapChain = SUCCEEDED(result) ? reinterpret_cast<Direct3DSwapChain9Handle>(chain) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_StretchRect)(Direct3DDevice9Handle device, Direct3DSurface9Handle source,
                                     const WindowRect* sourceRect,
                                     Direct3DSurface9Handle destination,
                                     const WindowRect* destRect, uint32_t filter) {
  return Device(device)->StretchRect(Surface(source), Rect(sourceRect), Surface(destination),
                                     Rect(destRect), D3DTEXTUREFILTERTYPE(filter));
}

HResult (IDirect3DDevice9_CreateOffscreenPlainSurface)(Direct3DDevice9Handle device,
                                                     uint32_t width, uint32_t height,
                                                     uint32_t format, uint32_t pool,
                                                     Direct3DSurface9Handle* surface) {
  IDirect3DSurface9* created = nullptr;
  HRESULT result = Device(device)->CreateOffscreenPlainSurface(width, height, D3DFORMAT(format),
                                                               D3DPOOL(pool), &created, nullptr);
  *surface = SUCCEEDED(result) ? reinterpret_cast<Direct3DSurface9Handle>(created) : nullptr;
  return result;
}

HResult (IDirect3DDevice9_GetRenderTargetData)(Direct3DDevice9Handle device,
                                             Direct3DSurface9Handle renderTarget,
                                             Direct3DSurface9Handle destination) {
  return Device(device)->GetRenderTargetData(Surface(renderTarget), Surface(destination));
}

uint32_t (IDirect3DSwapChain9_Release)(Direct3DSwapChain9Handle swapChain) {
  return SwapChain(swapChain)->Release();
}

HResult (IDirect3DSwapChain9_Present)(Direct3DSwapChain9Handle swapChain,
                                    const WindowRect* sourceRect, const WindowRect* destRect,
                                    WindowHandle destWindow, const void* dirtyRegion,
                                    uint32_t flags) {
  return SwapChain(swapChain)->Present(Rect(sourceRect), Rect(destRect),
                                       Direct3DWindow(destWindow),
                                       static_cast<const RGNDATA*>(dirtyRegion), flags);
}

HResult (IDirect3DSwapChain9_GetRasterStatus)(Direct3DSwapChain9Handle swapChain,
                                            D3DRasterStatus* status) {
  return SwapChain(swapChain)->GetRasterStatus(reinterpret_cast<D3DRASTER_STATUS*>(status));
}

uint32_t (IDirect3DTexture9_Release)(Direct3DTexture9Handle texture) {
  return Texture(texture)->Release();
}

HResult (IDirect3DTexture9_LockRect)(Direct3DTexture9Handle texture, uint32_t level,
                                   D3DLockedRect* locked, const WindowRect* rect, uint32_t flags) {
  D3DLOCKED_RECT platformLocked{};
  HRESULT result = Texture(texture)->LockRect(level, &platformLocked, Rect(rect), flags);
  locked->Pitch = platformLocked.Pitch;
  locked->pBits = platformLocked.pBits;
  return result;
}

HResult (IDirect3DTexture9_UnlockRect)(Direct3DTexture9Handle texture, uint32_t level) {
  return Texture(texture)->UnlockRect(level);
}

HResult (IDirect3DTexture9_GetSurfaceLevel)(Direct3DTexture9Handle texture, uint32_t level,
                                          Direct3DSurface9Handle* surface) {
  IDirect3DSurface9* levelSurface = nullptr;
  HRESULT result = Texture(texture)->GetSurfaceLevel(level, &levelSurface);
  *surface =
      SUCCEEDED(result) ? reinterpret_cast<Direct3DSurface9Handle>(levelSurface) : nullptr;
  return result;
}

uint32_t (IDirect3DSurface9_Release)(Direct3DSurface9Handle surface) {
  return Surface(surface)->Release();
}

HResult (IDirect3DSurface9_LockRect)(Direct3DSurface9Handle surface, D3DLockedRect* locked,
                                   const WindowRect* rect, uint32_t flags) {
  D3DLOCKED_RECT platformLocked{};
  HRESULT result = Surface(surface)->LockRect(&platformLocked, Rect(rect), flags);
  locked->Pitch = platformLocked.Pitch;
  locked->pBits = platformLocked.pBits;
  return result;
}

HResult (IDirect3DSurface9_UnlockRect)(Direct3DSurface9Handle surface) {
  return Surface(surface)->UnlockRect();
}

HResult (IDirect3DSurface9_GetDesc)(Direct3DSurface9Handle surface, D3DSurfaceDesc* desc) {
  D3DSURFACE_DESC platformDesc{};
  HRESULT result = Surface(surface)->GetDesc(&platformDesc);
  desc->Format = uint32_t(platformDesc.Format);
  desc->Type = uint32_t(platformDesc.Type);
  desc->Usage = platformDesc.Usage;
  desc->Pool = uint32_t(platformDesc.Pool);
  desc->MultiSampleType = uint32_t(platformDesc.MultiSampleType);
  desc->MultiSampleQuality = platformDesc.MultiSampleQuality;
  desc->Width = platformDesc.Width;
  desc->Height = platformDesc.Height;
  return result;
}

}  // namespace port
