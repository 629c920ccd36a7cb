// Entries of the span-loop tables: what a specialised loop handles, as a
// set of allowed values per key field.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/graphics/software/SpanLoops.h"

// Bit sets for the patterns.
constexpr uint8_t DEPTH16 = 1, DEPTH32 = 2, ANY_DEPTH = DEPTH16 | DEPTH32;
constexpr uint8_t FROM_PALETTE = 1, FROM_DIRECT = 2, FROM_ALPHA = 4;
constexpr uint8_t NO_SHORTCUT = 1, HALVING = 2, SATURATING = 4;
constexpr uint8_t WHITE = 1, MODULATED = 2, ANY_MODULATION = WHITE | MODULATED;
constexpr uint8_t NO_BLEND_IMAGE = 1, WITH_BLEND_IMAGE = 2;
constexpr uint8_t OPAQUE = 1, TRANSPARENT = 2, ANY_TRANSPARENCY = OPAQUE | TRANSPARENT;

constexpr uint16_t Modes(std::initializer_list<int> modes) {
  uint16_t bits = 0;
  for (int mode : modes) bits = static_cast<uint16_t>(bits | (1u << mode));
  return bits;
}

struct ImageSpanPattern {
  uint8_t depths;
  uint8_t sources;
  uint16_t modes;
  uint8_t shortcuts;
  uint8_t modulation;
  uint8_t blendImages;
  uint8_t transparency;
  // The vector extensions the loop is written for (MEMIMG_SSE41,
  // MEMIMG_AVX2); it matches only keys that have them all.
  uint8_t needs = 0;

  bool Matches(const SpanKey& key) const {
    return (depths & (key.depth == 16 ? DEPTH16 : DEPTH32)) != 0 &&
           (sources & (1u << static_cast<int>(key.source))) != 0 &&
           (modes & (1u << key.mode)) != 0 &&
           (shortcuts & (1u << static_cast<int>(key.shortcut))) != 0 &&
           (modulation & (key.modulated ? MODULATED : WHITE)) != 0 &&
           (blendImages & (key.blendImage ? WITH_BLEND_IMAGE : NO_BLEND_IMAGE)) != 0 &&
           (transparency & (key.transparent ? TRANSPARENT : OPAQUE)) != 0 &&
           (needs & key.vectorExtensions) == needs;
  }
};

struct ImageSpanEntry {
  const char* name;
  ImageSpanPattern pattern;
  ImageSpanLoop loop;
};

struct ColorSpanEntry {
  const char* name;
  uint8_t depths;
  uint16_t modes;
  ColorSpanLoop loop;

  bool Matches(const ColorSpanKey& key) const {
    return (depths & (key.depth == 16 ? DEPTH16 : DEPTH32)) != 0 &&
           (modes & (1u << key.mode)) != 0;
  }
};

// The specialised loops, by file; tried in this order before the general
// rule.
struct ImageSpanEntryList {
  const ImageSpanEntry* entries;
  int count;
};
ImageSpanEntryList FastImageSpans32Avx2();   // first: each needs MEMIMG_AVX2
ImageSpanEntryList FastImageSpans32Sse41();  // then: each needs MEMIMG_SSE41
ImageSpanEntryList FastImageSpans32();
ImageSpanEntryList FastImageSpans16();
struct ColorSpanEntryList {
  const ColorSpanEntry* entries;
  int count;
};
ColorSpanEntryList FastColorSpans();
