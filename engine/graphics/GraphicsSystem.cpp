#include "engine/graphics/GraphicsSystem.h"

#include "engine/core/EngineSettings.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/DrawTarget.h"
#include "engine/graphics/GraphCreationOptions.h"
#include "engine/graphics/ScreenState.h"

int graphicsStarted = 0;
int hardwareMode = 0;

int StartupGraphics() {
  if (graphicsStarted) return 0;
  screenState.width = RequestedScreenWidth();
  screenState.height = RequestedScreenHeight();
  screenState.colorBits = RequestedScreenColorBits();
  screenState.refreshRate = engineSettings.screenRefreshRate;
  hardwareMode = 0;
  ResetDrawTarget();
  ResetDrawState(screenState.width, screenState.height);
  ResetGraphCreationOptions();
  graphicsStarted = 1;
  return 0;
}

int ShutdownGraphics() {
  if (!graphicsStarted) return 0;
  graphicsStarted = 0;
  ResetDrawTarget();
  return 0;
}
