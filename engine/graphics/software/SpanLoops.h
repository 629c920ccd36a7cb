// The inner loops of the drawing routines.
//
// Every image routine reduces its geometry to spans: a run of destination
// pixels with the source (and blend-image) pixels that land on them, laid
// out one after the other. Which loop runs a span depends only on a
// SpanKey (destination depth, source kind, blend mode, the shortcut the
// parameter allows, modulation, blend image, transparency); the loop is
// chosen once per draw from a table of specialised loops whose last entry,
// the general per-pixel rule, matches every key.
//
// Colour routines (fills and lines) work the same way with ColorSpanKey.
#pragma once

#include <cstdint>

enum class SourceKind : uint8_t { PALETTE, DIRECT, ALPHA };

// Whole-pixel forms that some parameter values allow.
enum class BlendShortcut : uint8_t {
  NONE,
  HALVING,           // mode 1 at 128: ((s >> 1) & mask) + ((d >> 1) & mask)
  SATURATING_BYTES,  // modes 2 and 3 at 255: exact per-byte add or subtract
};

struct SpanKey {
  int depth;  // 16 or 32 bits per destination pixel
  SourceKind source;
  // 0, 1, 2, 3, 4, 10 or 11. Mode 1 at parameter 255 arrives as mode 0;
  // modes 1 to 3 at parameter 0 never arrive (they draw nothing).
  int mode;
  BlendShortcut shortcut;
  bool modulated;  // the modulation colour is not white
  bool blendImage;
  bool transparent;
  uint8_t vectorExtensions;  // the MEMIMG_SSE41 / MEMIMG_AVX2 bits usable
};

struct SpanContext {
  SpanKey key;
  int parameter;  // P, 1..255 where the mode uses it
  uint8_t modulateRed, modulateGreen, modulateBlue;
  uint32_t colorKey;
  const uint8_t* palette;     // the source's entries (2 or 4 bytes each)
  const uint8_t* blendTable;  // BlendImageTable
};

// count destination pixels at dst, count source pixels at src (1, 2 or 4
// bytes each by source kind and depth) and, with a blend image, count grey
// bytes at blend.
using ImageSpanLoop = void (*)(uint8_t* dst, const uint8_t* src, const uint8_t* blend,
                               int count, const SpanContext& context);

struct ColorSpanKey {
  int depth;
  int mode;  // as SpanKey::mode
};

struct ColorSpanContext {
  ColorSpanKey key;
  int parameter;
  // The colour in the destination's format, already modulated.
  uint32_t color;
};

using ColorSpanLoop = void (*)(uint8_t* dst, int count, const ColorSpanContext& context);

struct ImageSpanChoice {
  const char* name;
  ImageSpanLoop loop;
};
struct ColorSpanChoice {
  const char* name;
  ColorSpanLoop loop;
};

// The first table entry that matches the key (the general rule when
// memImgForceGeneralRule is set).
ImageSpanChoice SelectImageSpanLoop(const SpanKey& key);
ColorSpanChoice SelectColorSpanLoop(const ColorSpanKey& key);

// The general rules, one pixel at a time.
void GeneralImageSpan(uint8_t* dst, const uint8_t* src, const uint8_t* blend, int count,
                      const SpanContext& context);
void GeneralColorSpan(uint8_t* dst, int count, const ColorSpanContext& context);

// Bytes of one source pixel in a span.
inline int SpanSourceBytes(const SpanKey& key) {
  if (key.source == SourceKind::PALETTE) return 1;
  return key.depth == 16 && key.source == SourceKind::DIRECT ? 2 : 4;
}
