#include "engine/graphics/records/DrawState.h"

#include <cstring>

#include "engine/core/Engine.h"

DrawState drawState = {0, 0, 255, 255, 255, 0xFFFFFFFFu, 0, 1, 0.2f, {0, 0, 0, 0, 0, 0, 0, 0, 1}};
BackgroundColor backgroundColor = {0, 0, 0};

void RecomputeVertexColor() {
  uint32_t alpha = drawState.blendMode != BLEND_NONE ? uint32_t(drawState.blendParameter) : 255u;
  drawState.vertexColor = alpha << 24 | uint32_t(drawState.modulateRed) << 16 |
                          uint32_t(drawState.modulateGreen) << 8 | drawState.modulateBlue;
}

void ResetDrawState() {
  std::memset(&drawState, 0, sizeof drawState);
  drawState.modulateRed = drawState.modulateGreen = drawState.modulateBlue = 255;
  drawState.filter = 0;
  drawState.maxAnisotropy = 1;
  drawState.depth2D = 0.2f;
  drawState.area.empty = 1;
  RecomputeVertexColor();
}
