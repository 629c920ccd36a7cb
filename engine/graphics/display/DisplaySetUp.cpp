#include "engine/graphics/display/DisplaySetUp.h"

#include <cstdio>

#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/SystemInfo.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/display/VerticalBlank.h"
#include "engine/graphics/hardware/HardwareDevice.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/platform/DirectDrawPort.h"
#include "engine/platform/PresentPort.h"
#include "engine/services/Log.h"

#ifndef VEXLO_HARDWARE_ATTEMPT
#define VEXLO_HARDWARE_ATTEMPT 0
#endif

DisplayOptions displayOptions = {0, 0, 0, 0, 0, 0, 0, VEXLO_HARDWARE_ATTEMPT};
DisplayDevice displayDevice;

namespace {

void FreeDirect3D9Module(const char* message) {
  if (displayDevice.d3d9Module == nullptr) return;
  WriteLog(message);
  port::FreeDirect3D9Library(displayDevice.d3d9Module);
  displayDevice.d3d9Module = nullptr;
}

// The DirectDraw object that paces frames. On a platform without DirectDraw
// the platform's own refresh wait takes its place and nothing is made.
int SetUpDirectDraw() {
  if (!port::DirectDrawAvailable()) return 0;
  WriteLog("DirectDraw オブジェクトの取得を行います....  ");
  port::HResult result = port::CoCreateDirectDraw7(
      ole32Library.CoCreateInstance,
      port::CLSCTX_INPROC_SERVER | port::CLSCTX_INPROC_HANDLER | port::CLSCTX_LOCAL_SERVER,
      &directDraw);
  if (result < 0 || directDraw == nullptr) {
    directDraw = nullptr;
    WriteLog("オブジェクトの取得に失敗しました\n");
    FreeDirect3D9Module("Direct3D9 DLL の解放 3\n");
    return -1;
  }
  WriteLog("成功\n");
  WriteLog("引き続き初期化処理... ");
  if (port::IDirectDraw7_Initialize(directDraw, nullptr) < 0) {
    WriteLog("DirectDrawオブジェクトの初期化に失敗しました\n");
    port::IDirectDraw7_Release(directDraw);
    directDraw = nullptr;
    return -1;
  }
  WriteLog("初期化に成功しました\n");
  uint32_t level = port::DDSCL_NORMAL | (displayOptions.fpuPreserve ? port::DDSCL_FPUPRESERVE : 0);
  port::IDirectDraw7_SetCooperativeLevel(directDraw, mainWindow, level);
  return 0;
}

// The 320 x 240 emulation in full screen on Vista or later changes the
// display mode itself before the device is made.
bool EmulatedModeNeedsDisplayChange() {
  return windowModeFlag == 0 && engineSettings.emulate320x240 &&
         WindowsVersionAtLeast(WINDOWS_VERSION_VISTA);
}

// The Direct3D object, the device and the depth buffer; all three must be
// made. Shaders are not used by this engine.
int TryHardwareMode() {
  if (EmulatedModeNeedsDisplayChange()) {
    if (ChangeDisplayMode(screenState.width, screenState.height, screenState.colorBits,
                          screenState.refreshRate) != 0)
      return -1;
    displayDevice.displayModeChanged = 1;
  }
  if (CreateDirect3DObject() != 0 || CreateDirect3DDevice() != 0) return -1;
  // The new device's frames are paced to the display's refresh.
  MeasureRefreshInterval();
  if (PrepareDirect3DDevice() != 0 || CreateDepthBuffer() != 0) return -1;
  WriteLog("プログラマブルシェーダーを使用しません\n");
  return 0;
}

port::DisplaySettings ModeSettings(int width, int height, int bits, int refreshRate) {
  port::DisplaySettings mode{};
  mode.dmSize = port::DEVMODE_SIZE;
  mode.dmBitsPerPel = uint32_t(bits);
  mode.dmPelsWidth = uint32_t(width);
  mode.dmPelsHeight = uint32_t(height);
  mode.dmFields = port::DM_BITSPERPEL | port::DM_PELSWIDTH | port::DM_PELSHEIGHT;
  if (refreshRate != 0) {
    mode.dmFields |= port::DM_DISPLAYFREQUENCY;
    mode.dmDisplayFrequency = uint32_t(refreshRate);
  }
  return mode;
}

int ModeChanged() {
  WriteLog("成功しました\n");
  return 0;
}

}  // namespace

int ChangeDisplayMode(int width, int height, int bits, int refreshRate) {
  char line[128];
  std::snprintf(line, sizeof line, "画面モードの変更処理を開始します %u x %u  %u bit ",
                unsigned(width), unsigned(height), unsigned(bits));
  WriteLog(line);
  if (bits != 16 && bits != 32) return WriteLog("画面モードの変更に失敗しました\n");
  WriteLog("画面解像度を変更します... ");
  port::DisplaySettings mode = ModeSettings(width, height, bits, refreshRate);
  if (port::ChangeDisplaySettingsA(&mode, port::CDS_FULLSCREEN) == port::DISP_CHANGE_SUCCESSFUL)
    return ModeChanged();
  // Refused with the refresh rate: the rate is forgotten.
  screenState.refreshRate = 0;
  engineSettings.screenRefreshRate = 0;
  mode = ModeSettings(width, height, bits, 0);
  if (port::ChangeDisplaySettingsA(&mode, 0) == port::DISP_CHANGE_SUCCESSFUL)
    return ModeChanged();
  if (width == 320 && height == 240) {
    screenState.width = 640;
    screenState.height = 480;
    engineSettings.emulate320x240 = 1;
    FitWindowToScreen();
    mode = ModeSettings(640, 480, bits, 0);
    if (port::ChangeDisplaySettingsA(&mode, 0) == port::DISP_CHANGE_SUCCESSFUL)
      return ModeChanged();
  }
  return WriteLog("画面モードの変更に失敗しました\n");
}

int SetUpDisplay(int allowHardware) {
  displayDevice.d3d9Module = port::LoadDirect3D9Library();
  // Without d3d9.dll the engine runs in software mode: the message reports
  // the missing library, the set-up goes on.
  if (displayDevice.d3d9Module == nullptr) WriteLog("d3d9.dll の読み込みに失敗しました\n");
  if (SetUpDirectDraw() != 0) return -1;

  bool fullScreen = windowModeFlag == 0;
  hardwareMode = 0;
  if (allowHardware && displayOptions.hardwareAttempt && !displayOptions.softwareModeRequested &&
      displayDevice.d3d9Module != nullptr) {
    if (TryHardwareMode() == 0) {
      hardwareMode = 1;
      return 0;
    }
    ReleaseDirect3D("Direct3DDevice9 の解放 2\n");
  }

  if (fullScreen && !displayDevice.displayModeChanged) {
    if (ChangeDisplayMode(screenState.width, screenState.height, screenState.colorBits,
                          screenState.refreshRate) != 0)
      return -1;
    displayDevice.displayModeChanged = 1;
  }
  MeasureRefreshInterval();
  return 0;
}

void ReleaseDisplay() {
  if (displayDevice.displayModeChanged) {
    port::ChangeDisplaySettingsA(nullptr, 0);
    displayDevice.displayModeChanged = 0;
  }
  ReleaseDirect3D("Direct3DDevice9 の解放 3\n");
  if (directDraw != nullptr) {
    port::IDirectDraw7_Release(directDraw);
    directDraw = nullptr;
  }
  FreeDirect3D9Module("Direct3D9 DLL の解放 4\n");
  ReleaseDisplayModeList();
}
