// The software renderer's drawing routines: blend an image, a scaled image,
// a textured triangle, a filled rectangle or a line into a destination
// MEMIMG.
//
// Every routine takes the draw state it needs as a MemImgDrawSettings (the
// caller copies blend mode, parameter, modulation colour and draw area from
// its DrawState) and never fails: unsupported combinations draw nothing.
// Destinations are 16-bit (R5G6B5) or 32-bit colour MEMIMGs without palette
// or alpha; image sources must have the destination's pixel type.
#pragma once

#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/graphics/software/MemImg.h"

struct MemImgDrawSettings {
  int blendMode;       // 0, 1, 2, 3, 4, 10 and 11 are drawn; others draw nothing
  int blendParameter;  // 0..255 (clamped)
  uint8_t modulateRed, modulateGreen, modulateBlue;
  Rect drawArea;  // right and bottom exclusive; drawing also stays inside the view
};

// Mode 0 with white modulation over the whole view.
MemImgDrawSettings DefaultMemImgDrawSettings(const MEMIMG& destination);

// A triangle corner: destination pixel (x, y) shows source pixel (u, v).
struct MemImgVertex {
  int x, y, u, v;
};

// One record of DrawMemImgLines.
struct MemImgLine {
  int x1, y1, x2, y2;
  uint32_t color;
};

// The source with its top-left pixel at (x, y). transparent skips keyed
// pixels (palette and direct sources) or, in modes 0 to 3, pixels of alpha
// 0. blendImage (an 8-bit single-channel MEMIMG at least the source's size,
// or null) weighs each pixel through BlendImageTable.
void BlitMemImg(MEMIMG* destination, const MEMIMG* source, int x, int y, int transparent,
                const MEMIMG* blendImage, const MemImgDrawSettings& settings);

// The source stretched (nearest pixel, 16.16 stepping) over rect, right and
// bottom exclusive; left > right mirrors horizontally, top > bottom
// vertically.
void BlitMemImgScaled(MEMIMG* destination, const MEMIMG* source, const Rect& rect,
                      int transparent, const MEMIMG* blendImage,
                      const MemImgDrawSettings& settings);

// An affinely textured triangle. Pixels on an edge shared by two triangles
// belong to exactly one of them, so a quadrilateral drawn as two triangles
// covers each of its pixels once.
void DrawMemImgTriangle(MEMIMG* destination, const MEMIMG* source,
                        const MemImgVertex vertices[3], int transparent,
                        const MEMIMG* blendImage, const MemImgDrawSettings& settings);

// Fills rect (corners in any order, clipped to the draw area), or the whole
// view when rect is null, with a colour in the destination's format.
void FillMemImgRect(MEMIMG* destination, const Rect* rect, uint32_t color,
                    const MemImgDrawSettings& settings);

// A one-pixel line from (x1, y1) up to, but not including, (x2, y2).
void DrawMemImgLine(MEMIMG* destination, int x1, int y1, int x2, int y2, uint32_t color,
                    const MemImgDrawSettings& settings);
void DrawMemImgLines(MEMIMG* destination, const MemImgLine* lines, int count,
                     const MemImgDrawSettings& settings);

// The processor has exact saturating byte arithmetic (MMX), so modes 2 and
// 3 at parameter 255 add and subtract all four bytes of 32-bit pixels
// exactly. Start-up records it; 1 unless set otherwise.
extern int memImgMmxAvailable;

// The vector extensions beyond SSE2 that the processor offers (start-up
// records them; 0 unless set): loops written for them are chosen only when
// their bits are all here.
constexpr int MEMIMG_SSE41 = 1;
constexpr int MEMIMG_AVX2 = 2;
extern int memImgVectorExtensions;

// Makes every routine use the general per-pixel rule instead of the loops
// specialised for the combination; for comparing the two.
extern bool memImgForceGeneralRule;

// The name of the loop BlitMemImg would run for these arguments, or null
// when it would draw nothing.
const char* MemImgBlitLoopName(const MEMIMG* destination, const MEMIMG* source, int transparent,
                               const MEMIMG* blendImage, const MemImgDrawSettings& settings);
// Likewise for FillMemImgRect and DrawMemImgLine.
const char* MemImgFillLoopName(const MEMIMG* destination, const MemImgDrawSettings& settings);
// The names of all specialised image loops that memImgVectorExtensions
// allows (up to capacity of them); returns how many there are.
int ListMemImgSpanLoops(const char** names, int capacity);
