// The engine-wide draw state: blend mode and parameter, modulation colour,
// filter and draw area, and the background colour targets are cleared to.
// Graphics start-up zeroes it and sets the defaults, so values stored
// before StartupEngine do not survive it. The engine operations that change
// it are in DrawSettings.cpp; the draw area follows the draw target
// (display/DrawTarget.h).
#pragma once

#include <cstdint>

struct DrawArea {
  int left, top, right, bottom;  // right and bottom exclusive
  float leftF, topF, rightF, bottomF;
  int empty;  // 1: every drawing call returns 0 without drawing
};

struct DrawState {
  int blendMode;       // 0-14, BLEND_NONE ...
  int blendParameter;  // 0-255
  uint8_t modulateRed, modulateGreen, modulateBlue;
  // Hardware mode: alpha = the parameter when the mode is not 0, else 255;
  // red, green, blue = the modulation colour.
  uint32_t vertexColor;
  int filter;  // 0 nearest, 1 bilinear, 2 anisotropic
  int maxAnisotropy;
  float depth2D;
  DrawArea area;
};

extern DrawState drawState;

// Zeroes the state and applies the defaults: mode 0, parameter 0, white
// modulation, nearest filter, anisotropy 1, depth 0.2; the draw area is left
// empty for the draw target to set.
void ResetDrawState();

// vertexColor from the blend mode, parameter and modulation colour.
void RecomputeVertexColor();

// Background colour of ClearDrawTarget, set by the window layer; black by
// default.
struct BackgroundColor {
  int red, green, blue;
};
extern BackgroundColor backgroundColor;

// 1 when the modulation colour is white.
inline int ModulationIsWhite() {
  return drawState.modulateRed == 255 && drawState.modulateGreen == 255 &&
         drawState.modulateBlue == 255;
}
