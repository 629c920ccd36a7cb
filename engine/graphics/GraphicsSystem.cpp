#include "engine/graphics/GraphicsSystem.h"

#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/graphics/display/DisplaySetUp.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/platform/WindowPort.h"
#include "engine/services/Log.h"

namespace {

// The mode the display set-up starts from: the request with its defaults;
// in window mode the desktop's colour depth replaces the requested one.
void ChooseScreenMode() {
  screenState.width = RequestedScreenWidth();
  screenState.height = RequestedScreenHeight();
  screenState.colorBits = RequestedScreenColorBits();
  screenState.refreshRate = engineSettings.screenRefreshRate;
  int desktopBits = mainWindowState.desktopColorBits;
  if (windowModeFlag != 0 && (desktopBits == 16 || desktopBits == 32))
    screenState.colorBits = desktopBits;
  // Both modes draw with 16 or 32 bits only. An 8-bit request is served
  // with 32 bits rather than failing the display: the log says so.
  if (screenState.colorBits == 8) WriteLog("非対応のバックバッファービット深度が指定されました\n");
  if (screenState.colorBits != 16) screenState.colorBits = 32;
}

}  // namespace

int StartupGraphics() {
  if (graphicsStarted) return 0;
  BuildMemImgTables();
  SetDefaultTextureFormats();
  ChooseScreenMode();
  hardwareMode = 0;
  if (SetUpDisplay() != 0) {
    ReleaseDisplay();
    return -1;
  }
  ResetGraphTable();
  ResetGraphCreationOptions();
  ResetDrawTarget();
  graphicsStarted = 1;
  if (!hardwareMode)
    SetupSoftwareScreen(screenState.width, screenState.height, screenState.colorBits,
                        backgroundColor.red, backgroundColor.green, backgroundColor.blue);
  ResetDrawState();
  SetDrawTargetSize(screenState.width, screenState.height);
  return 0;
}

int ShutdownGraphics() {
  if (!graphicsStarted) return 0;
  if (mainWindow != nullptr) port::KillTimer(mainWindow, FRONT_TARGET_TIMER_ID);
  ReleaseAllGraphs();
  if (!hardwareMode) ReleaseSoftwareScreen();
  ReleaseDisplay();
  RestoreDesktopComposition();
  ResetDrawTarget();
  graphicsStarted = 0;
  hardwareMode = 0;
  return 0;
}
