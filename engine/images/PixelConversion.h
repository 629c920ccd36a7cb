// The inside of ConvertPixels: one job record, the general rule that
// defines every converted pixel, and the table of special-cased loops that
// must give the same pixels as the general rule.
#pragma once

#include <cstdint>

#include "engine/images/ColorFormat.h"
#include "engine/images/ConvertPixels.h"

struct ConversionJob {
  uint8_t* destination;
  int destinationPitch;
  const ColorFormat* destinationFormat;
  const uint8_t* source;
  int sourcePitch;
  const ColorFormat* sourceFormat;
  const uint8_t* alpha;  // null: no alpha image
  int alphaPitch;
  const ColorFormat* alphaFormat;
  int destinationX, destinationY;
  PixelRect sourceRect;
  bool mirror, keyToAlpha, alphaOnly, alphaFromRed, keyedCopy, paletteRemap;
  uint32_t key;
  int ditherMode;
};

// The running sums of error diffusion, one per colour channel; they start
// again at every row.
struct DiffusionState {
  uint32_t red, green, blue;
};

// One pixel by the general rule: the value to store, or false when
// keyedCopy leaves the pixel unwritten. x and y are the destination
// position (for the ordered dither).
bool ConvertOnePixel(const ConversionJob& job, uint32_t sourceValue, uint32_t alphaImageValue,
                     int x, int y, DiffusionState* diffusion, uint32_t* result);

// The general rule over the whole rectangle.
void ConvertPixelsGeneral(const ConversionJob& job);

struct ConversionPath {
  const char* name;
  bool (*matches)(const ConversionJob& job);
  void (*run)(const ConversionJob& job);
};

// The first path of the table that matches; the last entry, the general
// rule, matches everything.
const ConversionPath& SelectConversionPath(const ConversionJob& job);
// The table itself, for tests that drive every entry.
const ConversionPath* ConversionPaths(int* count);
// With on, every conversion takes the general rule.
void SetGeneralConversionOnly(bool on);
