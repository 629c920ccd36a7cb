#include "engine/graphics/DrawState.h"

#include <algorithm>
#include <cstring>

#include "engine/core/Engine.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/DrawTarget.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/HardwareScene.h"

DrawState drawState = {0, 0, 255, 255, 255, 0xFFFFFFFFu, 0, 1, 0.2f, {0, 0, 0, 0, 0, 0, 0, 0, 1}};

namespace {

int Clamp255(int value) { return std::min(255, std::max(0, value)); }

}  // namespace

void RecomputeVertexColor() {
  uint32_t alpha = drawState.blendMode != BLEND_NONE ? uint32_t(drawState.blendParameter) : 255u;
  drawState.vertexColor = alpha << 24 | uint32_t(drawState.modulateRed) << 16 |
                          uint32_t(drawState.modulateGreen) << 8 | drawState.modulateBlue;
}

void ResetDrawState(int targetWidth, int targetHeight) {
  std::memset(&drawState, 0, sizeof drawState);
  drawState.modulateRed = drawState.modulateGreen = drawState.modulateBlue = 255;
  drawState.filter = 0;
  drawState.maxAnisotropy = 1;
  drawState.depth2D = 0.2f;
  RecomputeVertexColor();
  drawTargetWidth = targetWidth;
  drawTargetHeight = targetHeight;
  SetDrawArea(0, 0, targetWidth, targetHeight);
}

void SetDrawArea(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  DrawArea& area = drawState.area;
  area.left = std::clamp(left, 0, std::max(0, drawTargetWidth));
  area.right = std::clamp(right, 0, std::max(0, drawTargetWidth));
  area.top = std::clamp(top, 0, std::max(0, drawTargetHeight));
  area.bottom = std::clamp(bottom, 0, std::max(0, drawTargetHeight));
  area.leftF = float(area.left);
  area.topF = float(area.top);
  area.rightF = float(area.right);
  area.bottomF = float(area.bottom);
  area.empty = area.left >= area.right || area.top >= area.bottom;
  if (!area.empty && hardwareMode) SetDeviceViewport(area.left, area.top, area.right, area.bottom);
}

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
