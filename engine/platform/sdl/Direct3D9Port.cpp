// Direct3D 9 on Linux: there is no d3d9.dll, so the library never loads and
// the display set-up takes the software renderer. The functions behind it
// exist for the link and answer "not available".
#include "engine/platform/Direct3D9Port.h"

namespace port {

Direct3D9ModuleHandle LoadDirect3D9Library() { return nullptr; }
void FreeDirect3D9Library(Direct3D9ModuleHandle) {}
int HasDirect3DCreate9Ex(Direct3D9ModuleHandle) { return 0; }
int HasDirect3DCreate9(Direct3D9ModuleHandle) { return 0; }
HResult Direct3DCreate9Ex(Direct3D9ModuleHandle, uint32_t, Direct3D9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
Direct3D9Handle Direct3DCreate9(Direct3D9ModuleHandle, uint32_t) { return nullptr; }
uint32_t IDirect3D9_Release(Direct3D9Handle) { return 0; }
int IDirect3D9_IsEx(Direct3D9Handle) { return 0; }
HResult IDirect3D9_GetAdapterDisplayMode(Direct3D9Handle, uint32_t, D3DDisplayMode*) {
  return D3DERR_NOTAVAILABLE;
}
uint32_t IDirect3D9_GetAdapterModeCount(Direct3D9Handle, uint32_t, uint32_t) { return 0; }
HResult IDirect3D9_GetAdapterIdentifier(Direct3D9Handle, uint32_t, uint32_t,
                                        D3DAdapterIdentifier*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9_GetDeviceCaps(Direct3D9Handle, uint32_t, uint32_t, D3DCaps*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9_CheckDeviceFormat(Direct3D9Handle, uint32_t, uint32_t, uint32_t, uint32_t,
                                     uint32_t, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9_CheckDepthStencilMatch(Direct3D9Handle, uint32_t, uint32_t, uint32_t, uint32_t,
                                          uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9_CheckDeviceMultiSampleType(Direct3D9Handle, uint32_t, uint32_t, uint32_t,
                                              int32_t, uint32_t, uint32_t*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9_CreateDevice(Direct3D9Handle, uint32_t, uint32_t, WindowHandle, uint32_t,
                                D3DPresentParameters*, Direct3DDevice9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3D9Ex_CreateDeviceEx(Direct3D9Handle, uint32_t, uint32_t, WindowHandle, uint32_t,
                                    D3DPresentParameters*, D3DDisplayModeEx*,
                                    Direct3DDevice9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
uint32_t IDirect3DDevice9_Release(Direct3DDevice9Handle) { return 0; }
HResult IDirect3DDevice9Ex_SetMaximumFrameLatency(Direct3DDevice9Handle, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_GetDeviceCaps(Direct3DDevice9Handle, D3DCaps*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_BeginScene(Direct3DDevice9Handle) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DDevice9_EndScene(Direct3DDevice9Handle) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DDevice9_Present(Direct3DDevice9Handle, const WindowRect*, const WindowRect*,
                                 WindowHandle, const void*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_Clear(Direct3DDevice9Handle, uint32_t, const D3DRect*, uint32_t, uint32_t,
                               float, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetRenderState(Direct3DDevice9Handle, uint32_t, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetTextureStageState(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetSamplerState(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetTexture(Direct3DDevice9Handle, uint32_t, Direct3DTexture9Handle) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetFVF(Direct3DDevice9Handle, uint32_t) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DDevice9_SetVertexShaderNone(Direct3DDevice9Handle) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DDevice9_SetPixelShaderNone(Direct3DDevice9Handle) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DDevice9_SetViewport(Direct3DDevice9Handle, const D3DViewport*) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_DrawPrimitiveUP(Direct3DDevice9Handle, uint32_t, uint32_t, const void*,
                                         uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_CreateTexture(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t,
                                       uint32_t, uint32_t, uint32_t,
                                       Direct3DTexture9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_UpdateTexture(Direct3DDevice9Handle, Direct3DTexture9Handle,
                                       Direct3DTexture9Handle) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_ColorFill(Direct3DDevice9Handle, Direct3DSurface9Handle, const WindowRect*,
                                   uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_CreateDepthStencilSurface(Direct3DDevice9Handle, uint32_t, uint32_t,
                                                   uint32_t, uint32_t, uint32_t, int32_t,
                                                   Direct3DSurface9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetDepthStencilSurface(Direct3DDevice9Handle, Direct3DSurface9Handle) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_CreateRenderTarget(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t,
                                            uint32_t, uint32_t, int32_t,
                                            Direct3DSurface9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_SetRenderTarget(Direct3DDevice9Handle, uint32_t, Direct3DSurface9Handle) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_GetBackBuffer(Direct3DDevice9Handle, uint32_t, uint32_t, uint32_t,
                                       Direct3DSurface9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_GetSwapChain(Direct3DDevice9Handle, uint32_t,
                                      Direct3DSwapChain9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_StretchRect(Direct3DDevice9Handle, Direct3DSurface9Handle,
                                     const WindowRect*, Direct3DSurface9Handle, const WindowRect*,
                                     uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_CreateOffscreenPlainSurface(Direct3DDevice9Handle, uint32_t, uint32_t,
                                                     uint32_t, uint32_t,
                                                     Direct3DSurface9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DDevice9_GetRenderTargetData(Direct3DDevice9Handle, Direct3DSurface9Handle,
                                             Direct3DSurface9Handle) {
  return D3DERR_NOTAVAILABLE;
}
uint32_t IDirect3DSwapChain9_Release(Direct3DSwapChain9Handle) { return 0; }
HResult IDirect3DSwapChain9_Present(Direct3DSwapChain9Handle, const WindowRect*, const WindowRect*,
                                    WindowHandle, const void*, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DSwapChain9_GetRasterStatus(Direct3DSwapChain9Handle, D3DRasterStatus*) {
  return D3DERR_NOTAVAILABLE;
}
uint32_t IDirect3DTexture9_Release(Direct3DTexture9Handle) { return 0; }
HResult IDirect3DTexture9_LockRect(Direct3DTexture9Handle, uint32_t, D3DLockedRect*,
                                   const WindowRect*, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DTexture9_UnlockRect(Direct3DTexture9Handle, uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DTexture9_GetSurfaceLevel(Direct3DTexture9Handle, uint32_t,
                                          Direct3DSurface9Handle* handle) {
  *handle = nullptr;
  return D3DERR_NOTAVAILABLE;
}
uint32_t IDirect3DSurface9_Release(Direct3DSurface9Handle) { return 0; }
HResult IDirect3DSurface9_LockRect(Direct3DSurface9Handle, D3DLockedRect*, const WindowRect*,
                                   uint32_t) {
  return D3DERR_NOTAVAILABLE;
}
HResult IDirect3DSurface9_UnlockRect(Direct3DSurface9Handle) { return D3DERR_NOTAVAILABLE; }
HResult IDirect3DSurface9_GetDesc(Direct3DSurface9Handle, D3DSurfaceDesc*) {
  return D3DERR_NOTAVAILABLE;
}

}  // namespace port
