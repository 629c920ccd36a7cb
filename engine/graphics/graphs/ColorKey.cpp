// SetColorKey: the colour that graphs made from now on treat as transparent.
#include "engine/core/Engine.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/records/GraphCreationOptions.h"

int SetColorKey(int red, int green, int blue) {
  // An 8-bit screen has no colour key to change.
  if (ScreenColorBits() == 8) return 0;
  graphCreationOptions.colorKey =
      uint32_t(red & 0xFF) << 16 | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF);
  return 0;
}
