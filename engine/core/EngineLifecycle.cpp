#include "engine/core/EngineLifecycle.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <thread>

#include "engine/core/Engine.h"
#include "engine/core/EngineCallLock.h"
#include "engine/core/EngineSettings.h"
#include "engine/core/FatalError.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/SystemInfo.h"
#include "engine/core/Time.h"
#include "engine/files/FileSystem.h"
#include "engine/fonts/DefaultFont.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/graphs/GraphRestore.h"
#include "engine/input/Input.h"
#include "engine/mask3d/SineTable.h"
#include "engine/movie/Movie.h"
#include "engine/network/Network.h"
#include "engine/platform/SystemPort.h"
#include "engine/platform/WindowPort.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"
#include "engine/sound/Sound.h"
#include "engine/text_input/TextInput.h"

int engineStarted = 0;
int comStarted = 0;

namespace {

// Full screen on a display without a mode of the requested size runs in a
// window instead; 320 x 240 is always shown as 640 x 480 with every pixel
// doubled.
void CheckDisplayMode() {
  if (windowModeFlag) return;
  const int width = RequestedScreenWidth();
  const int height = RequestedScreenHeight();
  const bool is320x240 = width == 320 && height == 240;
  if (!DisplayModeSizeExists(width, height) && !is320x240) ChangeWindowMode(1);
  if (is320x240 && !windowModeFlag) {
    engineSettings.screenWidth = 640;
    engineSettings.screenHeight = 480;
    engineSettings.emulate320x240 = 1;
  }
}

int DesktopColorBits() {
  port::DeviceContext screen = port::GetDC(nullptr);
  const int bits = port::GetDeviceCaps(screen, port::PLANES) * port::GetDeviceCaps(screen, port::BITSPIXEL);
  port::ReleaseDC(nullptr, screen);
  return bits;
}

// The engine draws in 16 or 32 bits only.
bool RefusesColorDepth() {
  const bool refused = (DesktopColorBits() == 24 && windowModeFlag == 1) ||
                       RequestedScreenColorBits() == 24;
  if (refused) WriteLog("Ｖｅｘｌｏは２４ビットカラーモードに対応していません\n");
  return refused;
}

void StartCom() {
  if (comStarted) return;
  WriteLog("ＣＯＭの初期化... ");
  const int32_t result = ole32Library.CoInitialize != nullptr ? ole32Library.CoInitialize(nullptr) : -1;
  if (result < 0) {
    WriteLog("ＣＯＭの初期化に失敗しました\n");
    return;
  }
  WriteLog("成功しました\n");
  comStarted = 1;
}

void EndCom() {
  if (!comStarted) return;
  if (ole32Library.CoUninitialize != nullptr) ole32Library.CoUninitialize();
  WriteLog("ＣＯＭを終了... 完了\n");
  comStarted = 0;
}

// Full screen: take the foreground from whichever window holds it, past the
// system's foreground lock, and stay on top.
void BringMainWindowToForeground() {
  const uint32_t ownThread = port::GetWindowThreadProcessId(mainWindow, nullptr);
  const uint32_t foregroundThread = port::GetWindowThreadProcessId(port::GetForegroundWindow(), nullptr);
  port::AttachThreadInput(ownThread, foregroundThread, 1);
  uint32_t lockTimeout = 0;
  port::SystemParametersInfoA(port::SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
  port::SystemParametersInfoA(port::SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, 0);
  port::SetForegroundWindow(mainWindow);
  // The setting takes the value itself in its pointer argument.
  port::SystemParametersInfoA(port::SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                              reinterpret_cast<void*>(static_cast<uintptr_t>(lockTimeout)), 0);
  port::AttachThreadInput(ownThread, foregroundThread, 0);
  port::SetWindowPos(mainWindow, port::HWND_TOPMOST, 0, 0, 0, 0,
                     port::SWP_NOREDRAW | port::SWP_NOMOVE | port::SWP_NOSIZE);
}

void FinishStartup() {
  InitializeCharacterBuffer();
  engineStarted = 1;
  if (!windowModeFlag) BringMainWindowToForeground();
  PrepareDefaultFontState();
  SelectDrawTarget(TARGET_BACK);
  SelectDrawTarget(TARGET_FRONT);
  BuildSineTable();
}

// Shut-down, step 8: the class goes, and a window the system still finds
// under it is destroyed until it is gone.
void RemoveWindowClass() {
  port::UnregisterClassA(engineSettings.windowClassName, mainWindowState.moduleInstance);
  if (mainWindow == nullptr) return;  // FindWindowA's "none" would match it forever
  while (port::FindWindowA(engineSettings.windowClassName, nullptr) == mainWindow) {
    port::DestroyWindow(mainWindow);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace

int RunStartupSequence() {
  if (engineStarted) return 0;
  BindStartupLibraries();
  CheckDisplayMode();

  BuildMovieColorTables();
  StartupFileSystem();
  SaveStartDirectory();
  CreateLogFile();

  if (RefusesColorDepth()) return -1;
  DetectPerformanceCounter();
  LogSystemInfo();
  BindWindowLibraries();
  InstallDefaultGraphRestore();
  StartCom();

  if (CreateMainWindow() == -1) return -1;
  if (InitializeInput() == -1) return -1;
  StartupSound();
  if (StartupGraphics() < 0) return -1;

  FinishStartup();
  return 0;
}

int RunShutdownSequence() {
  if (!engineStarted) return 0;
  ReleaseDefaultFontState();

  TerminateNetwork();
  StopMusic();
  ReleaseSineTable();
  ShutdownGraphics();
  TerminateInput();
  ShutdownSound();
  CloseMainWindow();

  EndCom();
  engineStarted = 0;

  while (PumpOnce() == 0 && !mustEnd && !mainWindowState.windowDestroyed) {
  }
  RemoveWindowClass();

  ShutdownFileSystem();
  MemDump();
  FreeRuntimeLibraries();
  return 0;
}

int StartupEngine() {
  if (engineStarted) return 0;
  EnterEngineCall();
  const int result = RunStartupSequence();
  LeaveEngineCall();
  return result;
}

int ShutdownEngine() {
  if (!engineStarted) return 0;
  EnterEngineCall();
  const int result = RunShutdownSequence();
  LeaveEngineCall();
  DestroyEngineCallLock();
  return result;
}

void FatalError(const char* message) {
  WriteLog(message);
  WriteLog("\n");
  RunShutdownSequence();
  DestroyEngineCallLock();
  port::ExitProcess(static_cast<uint32_t>(-1));
}

void FatalErrorf(const char* format, ...) {
  char message[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  FatalError(message);
}
