// What every drawing routine does before its geometry: check that the
// combination is drawn at all, build the span key and context from the
// draw settings, and choose the loop.
#pragma once

#include "engine/graphics/software/MemImg.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/SpanLoops.h"

struct ImageDrawSetup {
  SpanContext context;
  ImageSpanChoice choice;
  int sourceBytes;       // per source pixel
  int destinationBytes;  // per destination pixel
};

// False when the routine draws nothing: invalid images, mismatched pixel
// types, a destination with palette or alpha, a pixel type other than 0 or
// 1, a mode outside 0-4, 10, 11, P = 0 in modes 1-3, or a blend image that
// is not an 8-bit single-channel image covering the source.
bool PrepareImageDraw(const MEMIMG* destination, const MEMIMG* source, int transparent,
                      const MEMIMG* blendImage, const MemImgDrawSettings& settings,
                      ImageDrawSetup* setup);

struct ColorDrawSetup {
  ColorSpanContext context;
  ColorSpanChoice choice;
  int destinationBytes;
};

// Likewise for the colour routines; the colour is modulated here
// (channel * m >> 8) when the modulation colour is not white.
bool PrepareColorDraw(const MEMIMG* destination, uint32_t color,
                      const MemImgDrawSettings& settings, ColorDrawSetup* setup);

// The destination may be drawn on at all: valid, 16- or 32-bit colour,
// neither palette nor alpha.
bool IsDrawableDestination(const MEMIMG* destination);
