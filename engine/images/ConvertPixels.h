// The general converting rectangle copy between two pixel layouts, used by
// image loading, graph upload, screen read-back and the software renderer.
#pragma once

#include "engine/images/ColorFormat.h"

// A rectangle (x1, y1) inclusive to (x2, y2) exclusive.
struct PixelRect {
  int x1, y1, x2, y2;
};

// Dither modes for channels that are narrowed.
constexpr int DITHER_NONE = 0;
constexpr int DITHER_ORDERED = 1;
constexpr int DITHER_DIFFUSION = 2;

// Copies the source rectangle to (destinationX, destinationY) of the
// destination, converting every pixel:
// - a palette source gives its entries' colours; into a palette destination
//   colours are encoded as the nearest entry, and palette-to-palette copies
//   keep indices unless paletteRemap is on and the palettes differ;
// - channels are narrowed by dropping low bits (dithered as asked) and
//   widened to full scale;
// - destination alpha: the source's alpha, else the red channel of the
//   alpha image (may be null) at the same source position, else opaque;
//   alphaFromRed takes the red channel instead; keyToAlpha (only without
//   source alpha, alpha image and alphaFromRed) gives pixels of colour key
//   (0x00RRGGBB) alpha 0;
// - keyedCopy leaves pixels of colour key unwritten (not with mirror);
// - alphaOnly writes black with the computed alpha;
// - mirror writes each destination row right to left;
// - the destination noneMask bits are set in every written pixel.
// 0, or -1 for an empty rectangle.
int ConvertPixels(void* destination, int destinationPitch, const ColorFormat& destinationFormat,
                  const void* source, int sourcePitch, const ColorFormat& sourceFormat,
                  const void* alpha, int alphaPitch, const ColorFormat* alphaFormat,
                  int destinationX, int destinationY, const PixelRect& sourceRect, int mirror,
                  int keyToAlpha, uint32_t key, int ditherMode, int alphaOnly, int alphaFromRed,
                  int keyedCopy, int paletteRemap);
