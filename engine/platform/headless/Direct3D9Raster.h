// The headless Direct3D 9 device's rasteriser: draws the triangles of one
// recorded draw into a render target the way the fixed-function pipeline
// does for pre-transformed 2D vertices. Pixel centres on integer
// coordinates with the top-left fill rule, the viewport as scissor, affine
// texture coordinates sampled at the nearest texel with clamped addressing,
// flat or interpolated diffuse colour, texture stages 0 and 1 (select,
// modulate, modulate 4x, blend by current alpha, complemented arguments),
// the alpha test and the blend factors and operations. Channels are 0-255
// integers; products are rounded to the nearest. Enough to compare the
// engine's hardware-mode frames with its software-mode frames.
#pragma once

#include <cstdint>

#include "engine/platform/Direct3D9Port.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"

namespace headless {

// Pixels in memory: rows of pitch bytes in a Direct3D format.
struct RasterSurface {
  uint8_t* pixels;
  int pitch;
  uint32_t format;
  int width, height;
};

// texture null: no texture bound (it reads as opaque black).
void RasterizeDraw(const Direct3D9Draw& draw, const RasterSurface& target,
                   const port::D3DViewport& viewport, const RasterSurface* texture);

}  // namespace headless
