// The hardware attempt of the display set-up: the Direct3D 9 object, the
// device with its back buffer and swap chain, what the device can do, and
// the depth buffer. Each step logs its progress; a failed step logs why and
// returns -1, and the set-up then falls back to software mode.
#include "engine/graphics/hardware/HardwareDevice.h"

#include <cstdio>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/Time.h"
#include "engine/graphics/hardware/DeviceStateCache.h"
#include "engine/graphics/hardware/HardwareCapabilities.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/hardware/VertexBatch.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/services/Log.h"

namespace {

using port::D3DADAPTER_DEFAULT;
using port::D3DDEVTYPE_HAL;

void ReleaseSurface(port::Direct3DSurface9Handle* surface) {
  if (*surface == nullptr) return;
  port::IDirect3DSurface9_Release(*surface);
  *surface = nullptr;
}

// The back-buffer format of window mode is the desktop's; the screen's
// colour bits follow it.
int WindowBackBufferFormat(uint32_t* format) {
  port::D3DDisplayMode desktop{};
  if (port::IDirect3D9_GetAdapterDisplayMode(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                             &desktop) < 0)
    return WriteLog("デスクトップの画面モードの取得に失敗しました\n");
  *format = desktop.Format;
  if (desktop.Format == port::D3DFMT_X8R8G8B8) screenState.colorBits = 32;
  if (desktop.Format >= port::D3DFMT_R5G6B5 && desktop.Format <= port::D3DFMT_A1R5G5B5)
    screenState.colorBits = 16;
  return 0;
}

int FullScreenBackBufferFormat(uint32_t* format) {
  if (screenState.colorBits == 32) {
    *format = port::D3DFMT_X8R8G8B8;
  } else if (screenState.colorBits == 16) {
    bool r5g6b5 = port::IDirect3D9_GetAdapterModeCount(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                                       port::D3DFMT_R5G6B5) != 0;
    *format = r5g6b5 ? port::D3DFMT_R5G6B5 : port::D3DFMT_X1R5G5B5;
  } else {
    return WriteLog("非対応のバックバッファービット深度が指定されました\n");
  }
  return 0;
}

// The options' multisampling, lowered until the back-buffer format and
// D16 both support it; the quality stays below the supported levels.
void ChooseMultiSample(uint32_t format, int windowed) {
  uint32_t type = displayOptions.multiSampleType;
  uint32_t quality = displayOptions.multiSampleQuality;
  while (type > port::D3DMULTISAMPLE_NONE) {
    uint32_t levels = 0, depthLevels = 0;
    if (port::IDirect3D9_CheckDeviceMultiSampleType(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                                    D3DDEVTYPE_HAL, format, windowed, type,
                                                    &levels) >= 0 &&
        port::IDirect3D9_CheckDeviceMultiSampleType(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                                    D3DDEVTYPE_HAL, port::D3DFMT_D16, windowed,
                                                    type, &depthLevels) >= 0) {
      uint32_t supported = levels < depthLevels ? levels : depthLevels;
      if (supported == 0) supported = 1;
      if (quality > supported - 1) quality = supported - 1;
      break;
    }
    type -= 1;
    if (type == 1) type = 0;  // D3DMULTISAMPLE_NONMASKABLE is not a sample count
  }
  if (type == port::D3DMULTISAMPLE_NONE) quality = 0;
  displayDevice.multiSampleType = type;
  displayDevice.multiSampleQuality = quality;
}

int FillPresentParameters(port::D3DPresentParameters* parameters) {
  int windowed = windowModeFlag != 0;
  uint32_t format = 0;
  if ((windowed ? WindowBackBufferFormat(&format) : FullScreenBackBufferFormat(&format)) != 0)
    return -1;
  *parameters = {};
  parameters->BackBufferWidth = uint32_t(screenState.width);
  parameters->BackBufferHeight = uint32_t(screenState.height);
  parameters->BackBufferFormat = format;
  parameters->BackBufferCount = 1;
  parameters->hDeviceWindow = mainWindow;
  parameters->Windowed = windowed;
  ChooseMultiSample(format, windowed);
  parameters->MultiSampleType = displayDevice.multiSampleType;
  parameters->MultiSampleQuality = displayDevice.multiSampleQuality;
  bool multiSampled = displayDevice.multiSampleType != port::D3DMULTISAMPLE_NONE;
  parameters->SwapEffect = multiSampled ? port::D3DSWAPEFFECT_DISCARD : port::D3DSWAPEFFECT_COPY;
  parameters->Flags = multiSampled ? 0 : port::D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  parameters->PresentationInterval = presentOptions.noVerticalSyncWait
                                         ? port::D3DPRESENT_INTERVAL_IMMEDIATE
                                         : port::D3DPRESENT_INTERVAL_ONE;
  if (!windowed) parameters->FullScreen_RefreshRateInHz = uint32_t(screenState.refreshRate);
  if (windowed) {
    SwitchDesktopComposition(!displayOptions.compositionOffInWindow);
  } else {
    SwitchDesktopComposition(0);
    if (displayDevice.compositionDisabled) WriteLog("Desktop Window Manager を無効にしました\n");
  }
  return 0;
}

// Mixed vertex processing when the device has version 2.0 shaders (and
// software processing is not forced).
uint32_t BehaviorFlags() {
  uint32_t flags = port::D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  port::D3DCaps caps{};
  if (!displayOptions.forceSoftwareVertexProcessing &&
      port::IDirect3D9_GetDeviceCaps(displayDevice.direct3D, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                     &caps) >= 0 &&
      ShaderVersionAtLeast20(caps.VertexShaderVersion) &&
      ShaderVersionAtLeast20(caps.PixelShaderVersion))
    flags = port::D3DCREATE_MIXED_VERTEXPROCESSING;
  if (displayOptions.multithreaded) flags |= port::D3DCREATE_MULTITHREADED;
  if (displayOptions.fpuPreserve) flags |= port::D3DCREATE_FPU_PRESERVE;
  return flags;
}

port::HResult CreateDeviceWith(uint32_t flags, port::D3DPresentParameters parameters) {
  if (displayDevice.isEx) {
    port::D3DDisplayModeEx mode = {24,
                                   parameters.BackBufferWidth,
                                   parameters.BackBufferHeight,
                                   parameters.FullScreen_RefreshRateInHz,
                                   parameters.BackBufferFormat,
                                   port::D3DSCANLINEORDERING_PROGRESSIVE};
    return port::IDirect3D9Ex_CreateDeviceEx(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                             D3DDEVTYPE_HAL, mainWindow, flags, &parameters,
                                             parameters.Windowed ? nullptr : &mode,
                                             &displayDevice.device);
  }
  return port::IDirect3D9_CreateDevice(displayDevice.direct3D, D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL,
                                       mainWindow, flags, &parameters, &displayDevice.device);
}

// The device itself, retried with software vertex processing when mixed
// processing is refused.
int MakeDevice(const port::D3DPresentParameters& parameters) {
  WriteLog(displayDevice.isEx ? "IDirect3DDevice9Ex オブジェクトを取得します.... "
                              : "IDirect3DDevice9 オブジェクトを取得します.... ");
  uint32_t flags = BehaviorFlags();
  if (CreateDeviceWith(flags, parameters) < 0 && (flags & port::D3DCREATE_MIXED_VERTEXPROCESSING)) {
    flags = (flags & ~port::D3DCREATE_MIXED_VERTEXPROCESSING) |
            port::D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    CreateDeviceWith(flags, parameters);
  }
  if (displayDevice.device == nullptr)
    return WriteLog(displayDevice.isEx ? "Direct3DDevice9Ex の作成に失敗しました\n"
                                       : "Direct3DDevice9 の作成に失敗しました\n");
  if (displayDevice.isEx) port::IDirect3DDevice9Ex_SetMaximumFrameLatency(displayDevice.device, 1);
  displayDevice.hardwareVertexProcessing = (flags & port::D3DCREATE_MIXED_VERTEXPROCESSING) != 0;
  WriteLog(displayDevice.hardwareVertexProcessing ? "ハードウエア頂点演算を使用します\n"
                                                  : "ソフトウエア頂点演算を使用します\n");
  return 0;
}

uint32_t BackgroundClearColor() {
  return uint32_t(backgroundColor.red & 0xFF) << 16 | uint32_t(backgroundColor.green & 0xFF) << 8 |
         uint32_t(backgroundColor.blue & 0xFF);
}

// Every buffer of the swap chain starts cleared, so none shows garbage.
void ClearAndPresentFourTimes() {
  for (int i = 0; i < 4; ++i) {
    port::IDirect3DDevice9_Clear(displayDevice.device, 0, nullptr, port::D3DCLEAR_TARGET,
                                 BackgroundClearColor(), 1.0f, 0);
    port::IDirect3DDevice9_Present(displayDevice.device, nullptr, nullptr, mainWindow, nullptr);
  }
}

// Waits (at most a quarter of a second) until the raster reports the
// vertical blank as wanted.
void WaitForRasterBlank(int inBlank) {
  port::D3DRasterStatus status{};
  uint64_t start = NowMicroseconds(1);
  for (long spins = 0; spins < 10000000; ++spins) {
    if (port::IDirect3DSwapChain9_GetRasterStatus(displayDevice.swapChain, &status) < 0) return;
    if ((status.InVBlank != 0) == (inBlank != 0)) return;
    if (NowMicroseconds(1) - start > 250000) return;
  }
}

// One refresh in milliseconds: from the end of one vertical blank to the
// end of the next.
void TimeOneRefresh() {
  WaitForRasterBlank(1);
  WaitForRasterBlank(0);
  int start = NowMilliseconds(0);
  WaitForRasterBlank(1);
  WaitForRasterBlank(0);
  displayDevice.refreshMilliseconds = NowMilliseconds(0) - start;
}

int GetBackBufferAndSwapChain() {
  if (port::IDirect3DDevice9_GetBackBuffer(displayDevice.device, 0, 0,
                                           port::D3DBACKBUFFER_TYPE_MONO,
                                           &displayDevice.backBuffer) < 0)
    return WriteLog("バックバッファの取得に失敗しました\n");
  if (port::IDirect3DDevice9_GetSwapChain(displayDevice.device, 0, &displayDevice.swapChain) < 0)
    return WriteLog("スワップチェインの取得に失敗しました\n");
  return 0;
}

void LogAdapter() {
  port::D3DAdapterIdentifier identifier{};
  if (port::IDirect3D9_GetAdapterIdentifier(displayDevice.direct3D, D3DADAPTER_DEFAULT, 0,
                                            &identifier) < 0)
    return;
  identifier.Driver[sizeof identifier.Driver - 1] = 0;
  identifier.Description[sizeof identifier.Description - 1] = 0;
  LogPrintf("Driver:%s  Description:%s", identifier.Driver, identifier.Description);
}

int ReadBackBufferFormat() {
  port::D3DSurfaceDesc desc{};
  if (port::IDirect3DSurface9_GetDesc(displayDevice.backBuffer, &desc) < 0)
    return WriteLog("バックバッファの情報の取得に失敗しました\n");
  displayDevice.backBufferFormat = desc.Format;
  switch (desc.Format) {
    case port::D3DFMT_X8R8G8B8: LogPrintf("画面のフォーマットは %s です", "D3DFMT_X8R8G8B8"); break;
    case port::D3DFMT_R5G6B5: LogPrintf("画面のフォーマットは %s です", "D3DFMT_R5G6B5"); break;
    case port::D3DFMT_X1R5G5B5: LogPrintf("画面のフォーマットは %s です", "D3DFMT_X1R5G5B5"); break;
    default: LogPrintf("バックバッファが対応していないフォーマット %d です", int(desc.Format));
  }
  return 0;
}

int ChooseDepthFormat() {
  struct Candidate {
    uint32_t format;
    const char* name;
  } const candidates[] = {{port::D3DFMT_D16, "D3DFMT_D16"},
                          {port::D3DFMT_D24X8, "D3DFMT_D24X8"},
                          {port::D3DFMT_D32, "D3DFMT_D32"}};
  uint32_t screen = displayDevice.backBufferFormat;
  for (const Candidate& candidate : candidates)
    if (port::IDirect3D9_CheckDepthStencilMatch(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                                D3DDEVTYPE_HAL, screen, screen,
                                                candidate.format) >= 0) {
      displayDevice.depthFormat = candidate.format;
      LogPrintf("Ｚバッファのフォーマットは %s です", candidate.name);
      return 0;
    }
  return WriteLog("使用できる Zバッファフォーマットが見つかりませんでした\n");
}

void LogCapabilities() {
  LogPrintf("最大テクスチャサイズ　幅:%d 高さ:%d", int(displayDevice.caps.MaxTextureWidth),
            int(displayDevice.caps.MaxTextureHeight));
  LogPrintf("テクスチャステージテンポラリレジスタ：%s",
            displayDevice.temporaryRegister ? "使用可" : "使用不可");
  LogPrintf("減算合成のハードウェア対応：%s",
            displayDevice.subtractiveBlend ? "ネイティブ" : "エミュレート");
  LogPrintf("頂点シェーダーバージョンコード：%x", displayDevice.caps.VertexShaderVersion);
  LogPrintf("ピクセルシェーダーバージョンコード：%x", displayDevice.caps.PixelShaderVersion);
}

}  // namespace

int CreateDirect3DObject() {
  port::Direct3D9ModuleHandle module = displayDevice.d3d9Module;
  WriteLog("IDirect3D9Ex オブジェクトを取得します.... ");
  port::Direct3D9Handle object = nullptr;
  if (port::HasDirect3DCreate9Ex(module) &&
      port::Direct3DCreate9Ex(module, port::D3D_SDK_VERSION, &object) >= 0 && object != nullptr) {
    displayDevice.direct3D = object;
    displayDevice.isEx = 1;
    WriteLog("成功\n");
    return 0;
  }
  WriteLog("IDirect3D9 オブジェクトを取得します.... ");
  if (!port::HasDirect3DCreate9(module))
    return WriteLog("Direct3DCreate9 APIのアドレス取得に失敗しました\n");
  object = port::Direct3DCreate9(module, port::D3D_SDK_VERSION);
  if (object == nullptr) return WriteLog("IDirect3D9 オブジェクトの取得に失敗しました\n");
  displayDevice.direct3D = object;
  displayDevice.isEx = 0;
  WriteLog("成功\n");
  return 0;
}

int CreateDirect3DDevice() {
  if (displayDevice.device != nullptr) {
    WriteLog("Direct3DDevice9 の解放 1\n");
    port::IDirect3DDevice9_Release(displayDevice.device);
    displayDevice.device = nullptr;
  }
  port::D3DPresentParameters parameters{};
  if (FillPresentParameters(&parameters) != 0) return -1;
  return MakeDevice(parameters);
}

int PrepareDirect3DDevice() {
  ResetStateCaches();
  ForgetScene();
  PrepareVertexBatches();
  SetRenderStateCached(port::D3DRS_ZENABLE, 1);
  SetDeviceStatesOnce();
  ClearAndPresentFourTimes();
  if (GetBackBufferAndSwapChain() != 0) return -1;
  TimeOneRefresh();
  WriteLog("成功\n");

  if (ReadDeviceCapabilities() != 0) return -1;
  LogAdapter();
  if (ReadBackBufferFormat() != 0) return -1;
  if (ChooseDepthFormat() != 0) return -1;
  if (ProbeTextureFormats() != 0) return -1;
  LogCapabilities();
  ChooseBackBufferReadPath();
  return 0;
}

int CreateDepthBuffer() {
  WriteLog("Ｚバッファを作成します.... ");
  if (port::IDirect3DDevice9_CreateDepthStencilSurface(
          displayDevice.device, RoundUpToPowerOfTwo(uint32_t(screenState.width)),
          RoundUpToPowerOfTwo(uint32_t(screenState.height)), displayDevice.depthFormat,
          displayDevice.multiSampleType, displayDevice.multiSampleQuality, 1,
          &displayDevice.depthBuffer) < 0) {
    displayDevice.depthBuffer = nullptr;
    return WriteLog("Ｚバッファの作成に失敗しました\n");
  }
  port::IDirect3DDevice9_SetDepthStencilSurface(displayDevice.device, displayDevice.depthBuffer);
  port::IDirect3DDevice9_Clear(displayDevice.device, 0, nullptr, port::D3DCLEAR_ZBUFFER, 0, 1.0f,
                               0);
  WriteLog("成功\n");
  return 0;
}

int CreateSubBackBuffer() {
  if (port::IDirect3DDevice9_CreateRenderTarget(
          displayDevice.device, uint32_t(screenState.width), uint32_t(screenState.height),
          displayDevice.backBufferFormat, displayDevice.multiSampleType,
          displayDevice.multiSampleQuality, 0, &displayDevice.subBackBuffer) < 0) {
    displayDevice.subBackBuffer = nullptr;
    return WriteLog("サブバックバッファの作成に失敗しました\n");
  }
  return 0;
}

void ReleaseDirect3D(const char* deviceReleaseLine) {
  ReleaseSurface(&displayDevice.depthBuffer);
  ReleaseSurface(&displayDevice.subBackBuffer);
  ReleaseSurface(&displayDevice.backBuffer);
  if (displayDevice.swapChain != nullptr) {
    port::IDirect3DSwapChain9_Release(displayDevice.swapChain);
    displayDevice.swapChain = nullptr;
  }
  if (displayDevice.device != nullptr) {
    WriteLog(deviceReleaseLine);
    port::IDirect3DDevice9_Release(displayDevice.device);
    displayDevice.device = nullptr;
  }
  ForgetScene();
  if (displayDevice.direct3D != nullptr) {
    port::IDirect3D9_Release(displayDevice.direct3D);
    displayDevice.direct3D = nullptr;
  }
  displayDevice.isEx = 0;
}

void SwitchDesktopComposition(int on) {
  int off = !on;
  if (displayDevice.compositionDisabled == off) return;
  if (dwmapiLibrary.DwmEnableComposition == nullptr) return;
  dwmapiLibrary.DwmEnableComposition(on ? 1u : 0u);
  displayDevice.compositionDisabled = off;
}
