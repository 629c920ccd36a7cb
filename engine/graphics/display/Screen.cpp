#include "engine/graphics/display/Screen.h"

#include "engine/core/EngineSettings.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/ScreenState.h"

ScreenState screenState;

int ScreenWidth() { return graphicsStarted ? screenState.width : RequestedScreenWidth(); }
int ScreenHeight() { return graphicsStarted ? screenState.height : RequestedScreenHeight(); }
int ScreenColorBits() {
  return graphicsStarted ? screenState.colorBits : RequestedScreenColorBits();
}
