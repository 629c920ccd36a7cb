// Direct3D 9 (and 9Ex), as the graphics logic reaches it: the object, the
// device and its states, textures, surfaces, the swap chain. d3d9.dll is
// loaded at run time. Every interface method is a plain function named
// <interface>_<method> that takes the object as its first argument, with the
// platform's own argument values; the objects are opaque handles, and the
// constants and the structures passed by value are declared here portably
// (the subsets of the platform's records that the engine fills or reads).
//
// The win32 adapter forwards to the real d3d9.dll. The sdl adapter reports
// the library as missing; the headless one too unless a test scripts it to
// offer an object and a device (see headless/HeadlessDirect3D9.h).
#pragma once

#include <cstdint>

#include "engine/platform/WindowPort.h"

namespace port {

using HResult = int32_t;

struct Direct3D9Module;
struct Direct3D9Object;
struct Direct3DDevice9Object;
struct Direct3DSwapChain9Object;
struct Direct3DTexture9Object;
struct Direct3DSurface9Object;
using Direct3D9ModuleHandle = Direct3D9Module*;           // HMODULE of d3d9.dll
using Direct3D9Handle = Direct3D9Object*;                 // IDirect3D9 / IDirect3D9Ex
using Direct3DDevice9Handle = Direct3DDevice9Object*;     // IDirect3DDevice9 / 9Ex
using Direct3DSwapChain9Handle = Direct3DSwapChain9Object*;
using Direct3DTexture9Handle = Direct3DTexture9Object*;
using Direct3DSurface9Handle = Direct3DSurface9Object*;

// Results.
constexpr HResult D3D_OK = 0;
constexpr HResult D3DERR_DEVICELOST = int32_t(0x88760868u);
constexpr HResult D3DERR_NOTAVAILABLE = int32_t(0x8876086Au);
constexpr HResult D3DERR_INVALIDCALL = int32_t(0x8876086Cu);
constexpr bool Succeeded(HResult result) { return result >= 0; }

constexpr uint32_t D3D_SDK_VERSION = 32;
constexpr uint32_t D3DADAPTER_DEFAULT = 0;

// D3DFORMAT.
constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
         uint32_t(uint8_t(d)) << 24;
}
constexpr uint32_t D3DFMT_UNKNOWN = 0;
constexpr uint32_t D3DFMT_R8G8B8 = 20;
constexpr uint32_t D3DFMT_A8R8G8B8 = 21;
constexpr uint32_t D3DFMT_X8R8G8B8 = 22;
constexpr uint32_t D3DFMT_R5G6B5 = 23;
constexpr uint32_t D3DFMT_X1R5G5B5 = 24;
constexpr uint32_t D3DFMT_A1R5G5B5 = 25;
constexpr uint32_t D3DFMT_A4R4G4B4 = 26;
constexpr uint32_t D3DFMT_R3G3B2 = 27;
constexpr uint32_t D3DFMT_A8R3G3B2 = 29;
constexpr uint32_t D3DFMT_X4R4G4B4 = 30;
constexpr uint32_t D3DFMT_A2B10G10R10 = 31;
constexpr uint32_t D3DFMT_A8B8G8R8 = 32;
constexpr uint32_t D3DFMT_X8B8G8R8 = 33;
constexpr uint32_t D3DFMT_A2R10G10B10 = 35;
constexpr uint32_t D3DFMT_D32 = 71;
constexpr uint32_t D3DFMT_D24X8 = 77;
constexpr uint32_t D3DFMT_D16 = 80;
constexpr uint32_t D3DFMT_DXT1 = MakeFourCC('D', 'X', 'T', '1');
constexpr uint32_t D3DFMT_DXT2 = MakeFourCC('D', 'X', 'T', '2');
constexpr uint32_t D3DFMT_DXT3 = MakeFourCC('D', 'X', 'T', '3');
constexpr uint32_t D3DFMT_DXT4 = MakeFourCC('D', 'X', 'T', '4');
constexpr uint32_t D3DFMT_DXT5 = MakeFourCC('D', 'X', 'T', '5');

// D3DDEVTYPE, D3DRESOURCETYPE, D3DPOOL, D3DUSAGE.
constexpr uint32_t D3DDEVTYPE_HAL = 1;
constexpr uint32_t D3DRTYPE_SURFACE = 1;
constexpr uint32_t D3DRTYPE_TEXTURE = 3;
constexpr uint32_t D3DPOOL_DEFAULT = 0;
constexpr uint32_t D3DPOOL_MANAGED = 1;
constexpr uint32_t D3DPOOL_SYSTEMMEM = 2;
constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x00000001;
constexpr uint32_t D3DUSAGE_DEPTHSTENCIL = 0x00000002;
constexpr uint32_t D3DUSAGE_DYNAMIC = 0x00000200;

// Multisampling, swap effects, presentation.
constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
constexpr uint32_t D3DMULTISAMPLE_2_SAMPLES = 2;
constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr uint32_t D3DSWAPEFFECT_COPY = 3;
constexpr uint32_t D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 0x00000001;
constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 0x00000001;
constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000;
constexpr uint32_t D3DSCANLINEORDERING_PROGRESSIVE = 1;
constexpr uint32_t D3DBACKBUFFER_TYPE_MONO = 0;

// CreateDevice behaviour flags.
constexpr uint32_t D3DCREATE_FPU_PRESERVE = 0x00000002;
constexpr uint32_t D3DCREATE_MULTITHREADED = 0x00000004;
constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x00000020;
constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x00000040;
constexpr uint32_t D3DCREATE_MIXED_VERTEXPROCESSING = 0x00000080;

// Clear, lock, primitives, vertex formats.
constexpr uint32_t D3DCLEAR_TARGET = 0x00000001;
constexpr uint32_t D3DCLEAR_ZBUFFER = 0x00000002;
constexpr uint32_t D3DLOCK_READONLY = 0x00000010;
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DFVF_XYZRHW = 0x004;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_SPECULAR = 0x080;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t D3DFVF_TEX2 = 0x200;

// D3DRENDERSTATETYPE and its values.
constexpr uint32_t D3DRS_ZENABLE = 7;
constexpr uint32_t D3DRS_FILLMODE = 8;
constexpr uint32_t D3DRS_SHADEMODE = 9;
constexpr uint32_t D3DRS_ZWRITEENABLE = 14;
constexpr uint32_t D3DRS_ALPHATESTENABLE = 15;
constexpr uint32_t D3DRS_SRCBLEND = 19;
constexpr uint32_t D3DRS_DESTBLEND = 20;
constexpr uint32_t D3DRS_CULLMODE = 22;
constexpr uint32_t D3DRS_ZFUNC = 23;
constexpr uint32_t D3DRS_ALPHAREF = 24;
constexpr uint32_t D3DRS_ALPHAFUNC = 25;
constexpr uint32_t D3DRS_DITHERENABLE = 26;
constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRS_FOGENABLE = 28;
constexpr uint32_t D3DRS_SPECULARENABLE = 29;
constexpr uint32_t D3DRS_TEXTUREFACTOR = 60;
constexpr uint32_t D3DRS_LIGHTING = 137;
constexpr uint32_t D3DRS_BLENDOP = 171;
constexpr uint32_t D3DFILL_SOLID = 3;
constexpr uint32_t D3DSHADE_FLAT = 1;
constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCMP_GREATER = 5;
constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;
constexpr uint32_t D3DBLENDOP_ADD = 1;
constexpr uint32_t D3DBLENDOP_SUBTRACT = 2;
constexpr uint32_t D3DBLENDOP_REVSUBTRACT = 3;

// D3DTEXTURESTAGESTATETYPE and its values.
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_COLORARG2 = 3;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr uint32_t D3DTSS_TEXCOORDINDEX = 11;
constexpr uint32_t D3DTOP_DISABLE = 1;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_SELECTARG2 = 3;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTOP_MODULATE4X = 6;
constexpr uint32_t D3DTOP_BLENDCURRENTALPHA = 16;
constexpr uint32_t D3DTA_DIFFUSE = 0x00000000;
constexpr uint32_t D3DTA_CURRENT = 0x00000001;
constexpr uint32_t D3DTA_TEXTURE = 0x00000002;
constexpr uint32_t D3DTA_TFACTOR = 0x00000003;
constexpr uint32_t D3DTA_COMPLEMENT = 0x00000010;

// D3DSAMPLERSTATETYPE and its values.
constexpr uint32_t D3DSAMP_ADDRESSU = 1;
constexpr uint32_t D3DSAMP_ADDRESSV = 2;
constexpr uint32_t D3DSAMP_MAGFILTER = 5;
constexpr uint32_t D3DSAMP_MINFILTER = 6;
constexpr uint32_t D3DSAMP_MIPFILTER = 7;
constexpr uint32_t D3DSAMP_MAXANISOTROPY = 10;
constexpr uint32_t D3DTEXF_NONE = 0;
constexpr uint32_t D3DTEXF_POINT = 1;
constexpr uint32_t D3DTEXF_LINEAR = 2;
constexpr uint32_t D3DTEXF_ANISOTROPIC = 3;
constexpr uint32_t D3DTADDRESS_CLAMP = 3;

// Capability bits.
constexpr uint32_t D3DPTEXTURECAPS_SQUAREONLY = 0x00000020;
constexpr uint32_t D3DPMISCCAPS_TSSARGTEMP = 0x00000400;
constexpr uint32_t D3DPMISCCAPS_BLENDOP = 0x00000800;
constexpr uint32_t D3DPBLENDCAPS_INVDESTCOLOR = 0x00000200;
constexpr uint32_t D3DVS_VERSION(uint32_t major, uint32_t minor) {
  return 0xFFFE0000u | major << 8 | minor;
}
constexpr uint32_t D3DPS_VERSION(uint32_t major, uint32_t minor) {
  return 0xFFFF0000u | major << 8 | minor;
}

// D3DDISPLAYMODE.
struct D3DDisplayMode {
  uint32_t Width, Height, RefreshRate, Format;
};

// D3DDISPLAYMODEEX.
struct D3DDisplayModeEx {
  uint32_t Size;  // 24
  uint32_t Width, Height, RefreshRate, Format, ScanLineOrdering;
};

// D3DPRESENT_PARAMETERS.
struct D3DPresentParameters {
  uint32_t BackBufferWidth, BackBufferHeight, BackBufferFormat, BackBufferCount;
  uint32_t MultiSampleType, MultiSampleQuality;
  uint32_t SwapEffect;
  WindowHandle hDeviceWindow;
  int32_t Windowed;
  int32_t EnableAutoDepthStencil;
  uint32_t AutoDepthStencilFormat;
  uint32_t Flags;
  uint32_t FullScreen_RefreshRateInHz;
  uint32_t PresentationInterval;
};

// The fields of D3DCAPS9 the engine reads.
struct D3DCaps {
  uint32_t DevCaps;
  uint32_t PrimitiveMiscCaps;
  uint32_t SrcBlendCaps, DestBlendCaps;
  uint32_t TextureCaps;
  uint32_t MaxTextureWidth, MaxTextureHeight;
  uint32_t MaxAnisotropy;
  uint32_t VertexShaderVersion, PixelShaderVersion;
};

// The texts of D3DADAPTER_IDENTIFIER9 the engine logs.
struct D3DAdapterIdentifier {
  char Driver[512];
  char Description[512];
};

// D3DLOCKED_RECT.
struct D3DLockedRect {
  int32_t Pitch;
  void* pBits;
};

// D3DVIEWPORT9.
struct D3DViewport {
  uint32_t X, Y, Width, Height;
  float MinZ, MaxZ;
};

// D3DSURFACE_DESC.
struct D3DSurfaceDesc {
  uint32_t Format, Type, Usage, Pool, MultiSampleType, MultiSampleQuality, Width, Height;
};

// D3DRASTER_STATUS.
struct D3DRasterStatus {
  int32_t InVBlank;
  uint32_t ScanLine;
};

// D3DRECT, as Clear takes it.
struct D3DRect {
  int32_t x1, y1, x2, y2;
};

// d3d9.dll: LoadLibraryA("d3d9.dll"), null when it cannot be loaded; and
// FreeLibrary.
Direct3D9ModuleHandle LoadDirect3D9Library();
void FreeDirect3D9Library(Direct3D9ModuleHandle module);
// Whether the module exports "Direct3DCreate9Ex" / "Direct3DCreate9".
int HasDirect3DCreate9Ex(Direct3D9ModuleHandle module);
int HasDirect3DCreate9(Direct3D9ModuleHandle module);
// The exports themselves. The Ex object also serves as the plain one.
HResult Direct3DCreate9Ex(Direct3D9ModuleHandle module, uint32_t sdkVersion,
                          Direct3D9Handle* object);
Direct3D9Handle Direct3DCreate9(Direct3D9ModuleHandle module, uint32_t sdkVersion);

// IDirect3D9 / IDirect3D9Ex.
uint32_t IDirect3D9_Release(Direct3D9Handle object);
int IDirect3D9_IsEx(Direct3D9Handle object);
HResult IDirect3D9_GetAdapterDisplayMode(Direct3D9Handle object, uint32_t adapter,
                                         D3DDisplayMode* mode);
uint32_t IDirect3D9_GetAdapterModeCount(Direct3D9Handle object, uint32_t adapter,
                                        uint32_t format);
HResult IDirect3D9_GetAdapterIdentifier(Direct3D9Handle object, uint32_t adapter, uint32_t flags,
                                        D3DAdapterIdentifier* identifier);
HResult IDirect3D9_GetDeviceCaps(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                 D3DCaps* caps);
HResult IDirect3D9_CheckDeviceFormat(Direct3D9Handle object, uint32_t adapter,
                                     uint32_t deviceType, uint32_t adapterFormat, uint32_t usage,
                                     uint32_t resourceType, uint32_t checkFormat);
HResult IDirect3D9_CheckDepthStencilMatch(Direct3D9Handle object, uint32_t adapter,
                                          uint32_t deviceType, uint32_t adapterFormat,
                                          uint32_t renderTargetFormat, uint32_t depthFormat);
HResult IDirect3D9_CheckDeviceMultiSampleType(Direct3D9Handle object, uint32_t adapter,
                                              uint32_t deviceType, uint32_t surfaceFormat,
                                              int32_t windowed, uint32_t multiSampleType,
                                              uint32_t* qualityLevels);
HResult IDirect3D9_CreateDevice(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                WindowHandle focusWindow, uint32_t behaviorFlags,
                                D3DPresentParameters* parameters, Direct3DDevice9Handle* device);
// displayMode null in window mode.
HResult IDirect3D9Ex_CreateDeviceEx(Direct3D9Handle object, uint32_t adapter, uint32_t deviceType,
                                    WindowHandle focusWindow, uint32_t behaviorFlags,
                                    D3DPresentParameters* parameters,
                                    D3DDisplayModeEx* displayMode, Direct3DDevice9Handle* device);

// IDirect3DDevice9 / IDirect3DDevice9Ex.
uint32_t IDirect3DDevice9_Release(Direct3DDevice9Handle device);
HResult IDirect3DDevice9Ex_SetMaximumFrameLatency(Direct3DDevice9Handle device,
                                                  uint32_t maxLatency);
HResult IDirect3DDevice9_GetDeviceCaps(Direct3DDevice9Handle device, D3DCaps* caps);
HResult IDirect3DDevice9_BeginScene(Direct3DDevice9Handle device);
HResult IDirect3DDevice9_EndScene(Direct3DDevice9Handle device);
// Rectangles and dirty region may be null.
HResult IDirect3DDevice9_Present(Direct3DDevice9Handle device, const WindowRect* sourceRect,
                                 const WindowRect* destRect, WindowHandle destWindow,
                                 const void* dirtyRegion);
HResult IDirect3DDevice9_Clear(Direct3DDevice9Handle device, uint32_t count,
                               const D3DRect* rects, uint32_t flags, uint32_t color, float z,
                               uint32_t stencil);
HResult IDirect3DDevice9_SetRenderState(Direct3DDevice9Handle device, uint32_t state,
                                        uint32_t value);
HResult IDirect3DDevice9_SetTextureStageState(Direct3DDevice9Handle device, uint32_t stage,
                                              uint32_t type, uint32_t value);
HResult IDirect3DDevice9_SetSamplerState(Direct3DDevice9Handle device, uint32_t sampler,
                                         uint32_t type, uint32_t value);
HResult IDirect3DDevice9_SetTexture(Direct3DDevice9Handle device, uint32_t stage,
                                    Direct3DTexture9Handle texture);
HResult IDirect3DDevice9_SetFVF(Direct3DDevice9Handle device, uint32_t fvf);
// No vertex or pixel shader: both are set to null.
HResult IDirect3DDevice9_SetVertexShaderNone(Direct3DDevice9Handle device);
HResult IDirect3DDevice9_SetPixelShaderNone(Direct3DDevice9Handle device);
HResult IDirect3DDevice9_SetViewport(Direct3DDevice9Handle device, const D3DViewport* viewport);
HResult IDirect3DDevice9_DrawPrimitiveUP(Direct3DDevice9Handle device, uint32_t primitiveType,
                                         uint32_t primitiveCount, const void* vertices,
                                         uint32_t vertexStride);
HResult IDirect3DDevice9_CreateTexture(Direct3DDevice9Handle device, uint32_t width,
                                       uint32_t height, uint32_t levels, uint32_t usage,
                                       uint32_t format, uint32_t pool,
                                       Direct3DTexture9Handle* texture);
HResult IDirect3DDevice9_UpdateTexture(Direct3DDevice9Handle device,
                                       Direct3DTexture9Handle source,
                                       Direct3DTexture9Handle destination);
HResult IDirect3DDevice9_ColorFill(Direct3DDevice9Handle device, Direct3DSurface9Handle surface,
                                   const WindowRect* rect, uint32_t color);
HResult IDirect3DDevice9_CreateDepthStencilSurface(Direct3DDevice9Handle device, uint32_t width,
                                                   uint32_t height, uint32_t format,
                                                   uint32_t multiSample, uint32_t quality,
                                                   int32_t discard,
                                                   Direct3DSurface9Handle* surface);
HResult IDirect3DDevice9_SetDepthStencilSurface(Direct3DDevice9Handle device,
                                                Direct3DSurface9Handle surface);
HResult IDirect3DDevice9_CreateRenderTarget(Direct3DDevice9Handle device, uint32_t width,
                                            uint32_t height, uint32_t format,
                                            uint32_t multiSample, uint32_t quality,
                                            int32_t lockable, Direct3DSurface9Handle* surface);
HResult IDirect3DDevice9_SetRenderTarget(Direct3DDevice9Handle device, uint32_t index,
                                         Direct3DSurface9Handle surface);
HResult IDirect3DDevice9_GetBackBuffer(Direct3DDevice9Handle device, uint32_t swapChain,
                                       uint32_t index, uint32_t type,
                                       Direct3DSurface9Handle* surface);
HResult IDirect3DDevice9_GetSwapChain(Direct3DDevice9Handle device, uint32_t index,
                                      Direct3DSwapChain9Handle* swapChain);
HResult IDirect3DDevice9_StretchRect(Direct3DDevice9Handle device, Direct3DSurface9Handle source,
                                     const WindowRect* sourceRect,
                                     Direct3DSurface9Handle destination,
                                     const WindowRect* destRect, uint32_t filter);
HResult IDirect3DDevice9_CreateOffscreenPlainSurface(Direct3DDevice9Handle device,
                                                     uint32_t width, uint32_t height,
                                                     uint32_t format, uint32_t pool,
                                                     Direct3DSurface9Handle* surface);
HResult IDirect3DDevice9_GetRenderTargetData(Direct3DDevice9Handle device,
                                             Direct3DSurface9Handle renderTarget,
                                             Direct3DSurface9Handle destination);

// IDirect3DSwapChain9.
uint32_t IDirect3DSwapChain9_Release(Direct3DSwapChain9Handle swapChain);
HResult IDirect3DSwapChain9_Present(Direct3DSwapChain9Handle swapChain,
                                    const WindowRect* sourceRect, const WindowRect* destRect,
                                    WindowHandle destWindow, const void* dirtyRegion,
                                    uint32_t flags);
HResult IDirect3DSwapChain9_GetRasterStatus(Direct3DSwapChain9Handle swapChain,
                                            D3DRasterStatus* status);

// IDirect3DTexture9.
uint32_t IDirect3DTexture9_Release(Direct3DTexture9Handle texture);
HResult IDirect3DTexture9_LockRect(Direct3DTexture9Handle texture, uint32_t level,
                                   D3DLockedRect* locked, const WindowRect* rect, uint32_t flags);
HResult IDirect3DTexture9_UnlockRect(Direct3DTexture9Handle texture, uint32_t level);
HResult IDirect3DTexture9_GetSurfaceLevel(Direct3DTexture9Handle texture, uint32_t level,
                                          Direct3DSurface9Handle* surface);

// IDirect3DSurface9.
uint32_t IDirect3DSurface9_Release(Direct3DSurface9Handle surface);
HResult IDirect3DSurface9_LockRect(Direct3DSurface9Handle surface, D3DLockedRect* locked,
                                   const WindowRect* rect, uint32_t flags);
HResult IDirect3DSurface9_UnlockRect(Direct3DSurface9Handle surface);
HResult IDirect3DSurface9_GetDesc(Direct3DSurface9Handle surface, D3DSurfaceDesc* desc);

}  // namespace port
