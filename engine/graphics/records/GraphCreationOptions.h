// Engine-wide values read when a graph is created from an image.
#pragma once

#include <cstdint>

struct GraphCreationOptions {
  uint32_t colorKey;        // 0x00RRGGBB; black at start
  int alphaTestFormat;      // an image without alpha gets an alpha-test format
  int colorKeyInConversion; // the upload clears keyed pixels' alpha
  int bitDepthOverride;     // 0 = none
  int maxTextureSize;       // the device's maximum texture size
};
extern GraphCreationOptions graphCreationOptions;

// The graphics start-up's defaults: key black, alpha-test format on, key in
// conversion on, no override.
void ResetGraphCreationOptions();
