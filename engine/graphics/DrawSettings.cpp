// The engine operations that change the draw state: the blend mode and its
// parameter, and the modulation colour.
#include <algorithm>

#include "engine/core/Engine.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/records/DrawState.h"

namespace {

int Clamp255(int value) { return std::min(255, std::max(0, value)); }

}  // namespace

int ChooseBlendMode(int mode, int parameter) {
  if (mode == drawState.blendMode && parameter == drawState.blendParameter) return 0;
  WaitWhileInactive();
  drawState.blendMode = mode;
  drawState.blendParameter = Clamp255(parameter);
  RecomputeVertexColor();
  return 0;
}

int SetModulateColor(int red, int green, int blue) {
  red = Clamp255(red);
  green = Clamp255(green);
  blue = Clamp255(blue);
  if (red == drawState.modulateRed && green == drawState.modulateGreen &&
      blue == drawState.modulateBlue)
    return 0;
  drawState.modulateRed = uint8_t(red);
  drawState.modulateGreen = uint8_t(green);
  drawState.modulateBlue = uint8_t(blue);
  RecomputeVertexColor();
  return 0;
}
