#include "engine/graphics/GraphCreationOptions.h"

#include "engine/core/Engine.h"
#include "engine/graphics/Screen.h"

GraphCreationOptions graphCreationOptions = {0, 1, 1, 0, 2048};

void ResetGraphCreationOptions() {
  graphCreationOptions.colorKey = 0;
  graphCreationOptions.alphaTestFormat = 1;
  graphCreationOptions.colorKeyInConversion = 1;
  graphCreationOptions.bitDepthOverride = 0;
}

int SetColorKey(int red, int green, int blue) {
  // An 8-bit screen has no colour key to change.
  if (ScreenColorBits() == 8) return 0;
  graphCreationOptions.colorKey =
      uint32_t(red & 0xFF) << 16 | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF);
  return 0;
}
