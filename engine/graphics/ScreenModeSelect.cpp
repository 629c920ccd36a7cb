#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"

int SelectScreenMode(int width, int height, int colorBits, int refreshRate) {
  if (width == 0 || height == 0) return -1;
  if (colorBits != 8 && colorBits != 16 && colorBits != 32) return -1;
  if (!engineStarted) {
    engineSettings.screenWidth = width;
    engineSettings.screenHeight = height;
    engineSettings.screenColorBits = colorBits;
    engineSettings.screenRefreshRate = refreshRate;
    return 0;
  }
  // Changing the mode of the running engine is not supported yet.
  return -1;
}
