// SelectScreenMode: stored before start-up; afterwards the graphics system
// is ended and started again in the new mode, falling back to the previous
// mode and then to 640 x 480 x 16 when the display refuses.
#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/core/FatalError.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/services/Log.h"

namespace {

struct RequestedMode {
  int width, height, bits, refresh;
};

void StoreRequest(const RequestedMode& mode) {
  engineSettings.screenWidth = mode.width;
  engineSettings.screenHeight = mode.height;
  engineSettings.screenColorBits = mode.bits;
  engineSettings.screenRefreshRate = mode.refresh;
}

RequestedMode CurrentRequest() {
  return {RequestedScreenWidth(), RequestedScreenHeight(), RequestedScreenColorBits(),
          engineSettings.screenRefreshRate};
}

// Ends the graphics system and starts it again with the stored request.
bool RestartGraphics(const RequestedMode& mode) {
  ShutdownGraphics();
  StoreRequest(mode);
  return StartupGraphics() == 0;
}

bool InForce(const RequestedMode& mode) {
  return screenState.width == mode.width && screenState.height == mode.height &&
         screenState.colorBits == mode.bits &&
         (mode.refresh == 0 || screenState.refreshRate == mode.refresh);
}

}  // namespace

int SelectScreenMode(int width, int height, int colorBits, int refreshRate) {
  if (width == 0 || height == 0) return -1;
  if (colorBits != 8 && colorBits != 16 && colorBits != 32) return -1;
  RequestedMode wanted = {width, height, colorBits, refreshRate};
  if (!engineStarted) {
    StoreRequest(wanted);
    return 0;
  }

  FlushBatch();
  // -1 keeps the current value.
  RequestedMode previous = CurrentRequest();
  if (wanted.width == -1) wanted.width = previous.width;
  if (wanted.height == -1) wanted.height = previous.height;
  if (wanted.refresh == -1) wanted.refresh = previous.refresh;

  // 320 x 240 is shown as 640 x 480 with every pixel doubled in full
  // screen; window mode drops the emulation.
  int emulate = 0;
  if (windowModeFlag == 0 && width == 320 && height == 240) {
    wanted.width = 640;
    wanted.height = 480;
    emulate = 1;
  }
  if (previous.width == wanted.width && previous.height == wanted.height &&
      previous.bits == wanted.bits && previous.refresh == wanted.refresh &&
      engineSettings.emulate320x240 == emulate)
    return 0;

  int target = currentDrawTarget;
  WriteLog("画面モード変更処理を開始します\n");
  LogIndentIn();
  engineSettings.emulate320x240 = emulate;
  bool fellBack = false;
  if (!RestartGraphics(wanted)) {
    engineSettings.emulate320x240 = 0;
    if (!RestartGraphics(previous)) {
      fellBack = true;
      if (!RestartGraphics({640, 480, 16, 0}))
        FatalError("予期せぬ画面モード変更不能現象が起きました2");
    }
  }
  if (windowModeFlag != 0) FitWindowToScreen();
  LogIndentOut();
  WriteLog("画面モード変更処理は正常に終了しました\n");
  PumpOnce();
  // Graphs do not survive the change: a graph target becomes the screen.
  if (SelectDrawTarget(target) != 0) SelectDrawTarget(TARGET_BACK);
  if (InForce(wanted)) return 0;
  return fellBack ? -2 : -1;
}
