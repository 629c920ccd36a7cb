// Specialised span loops for 32-bit destinations. Each handles one
// combination of the general rule with no decisions in its inner loop but
// the transparency test; the SSE2 loops work on four pixels at a time and
// finish the row with the same arithmetic in scalar form.
#include <cstring>

#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/PackedWords.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/ScalarBlend32.h"
#include "engine/graphics/software/SpanLoopTable.h"
#include "engine/graphics/software/Sse2Pixels.h"

namespace {

constexpr uint32_t COLOR_BYTES = 0x00FFFFFF;

// The modulation colour's rows of MulTable: each channel becomes m * s / 255.
struct ModulationRows {
  const int* red;
  const int* green;
  const int* blue;
};

ModulationRows ModulationOf(const SpanContext& c) {
  return ModulationRows{MulTable[c.modulateRed], MulTable[c.modulateGreen], MulTable[c.modulateBlue]};
}

// The colour bytes of s modulated; fourth byte 0.
uint32_t Modulate(const ModulationRows& m, uint32_t s) {
  return static_cast<uint32_t>(m.red[(s >> 16) & 0xFF]) << 16 |
         static_cast<uint32_t>(m.green[(s >> 8) & 0xFF]) << 8 |
         static_cast<uint32_t>(m.blue[s & 0xFF]);
}

#if VEXLO_HAVE_SSE2
// The modulation colour as 16-bit lanes in pixel byte order (blue, green,
// red, 0) for two pixels, for MulDiv255Lanes.
__m128i ModulationLanes(const SpanContext& c) {
  return _mm_setr_epi16(c.modulateBlue, c.modulateGreen, c.modulateRed, 0, c.modulateBlue,
                        c.modulateGreen, c.modulateRed, 0);
}
#endif

// ---- whole-pixel copies ----------------------------------------------------

void CopyRow32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext&) {
  std::memmove(dst, src, static_cast<size_t>(count) * 4);
}

void KeyedCopy32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                 const SpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i keyed = _mm_cmpeq_epi32(s, key);
    int mask = _mm_movemask_epi8(keyed);
    if (mask == 0xFFFF) continue;
    if (mask != 0) s = SelectLanes(keyed, LoadPixels4(dst + 4 * i), s);
    StorePixels4(dst + 4 * i, s);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (s != c.colorKey) StorePixel32(dst + 4 * i, s);
  }
}

template <bool Transparent>
void PaletteCopy32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                   const SpanContext& c) {
  for (int i = 0; i < count; ++i) {
    uint32_t index = src[i];
    if (Transparent && index == c.colorKey) continue;
    std::memcpy(dst + 4 * i, c.palette + 4 * index, 4);
  }
}

// Mode 0, alpha source, transparent: alpha 0 skips, 255 copies the pixel
// whole, anything else blends by the alpha. In the vector loop alpha 255
// weighs 256 and alpha 0 weighs 0, which give the source and the
// destination exactly, so only the fourth byte of the blended pixels needs
// clearing.
void AlphaCopy32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext&) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i alpha = _mm_srli_epi32(s, 24);
    __m128i clear = _mm_cmpeq_epi32(alpha, _mm_setzero_si128());
    __m128i opaque = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(255));
    if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
      StorePixels4(dst + 4 * i, s);
      continue;
    }
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i weightLow, weightHigh;
    SpreadPerPixel(_mm_slli_epi32(_mm_sub_epi32(alpha, opaque), 6), &weightLow, &weightHigh);
    __m128i blended = PerChannel(d, s, [&](__m128i dl, __m128i sl, int half) {
      return BlendLanesByWeight(dl, sl, half == 0 ? weightLow : weightHigh);
    });
    __m128i keepFourth = _mm_or_si128(_mm_or_si128(opaque, clear), _mm_set1_epi32(0x00FFFFFF));
    StorePixels4(dst + 4 * i, _mm_and_si128(blended, keepFourth));
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    uint32_t alpha = s >> 24;
    if (alpha == 0) continue;
    StorePixel32(dst + 4 * i, AlphaCopyPixel(LoadPixel32(dst + 4 * i), s));
  }
}

// Mode 0 with a modulation colour: each channel m * s / 255.
template <bool Transparent>
void ModulatedCopy32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                     const SpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  __m128i modulation = ModulationLanes(c);
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    // Keyed groups (most of a glyph) are skipped before any arithmetic.
    __m128i keyed = _mm_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm_movemask_epi8(keyed) : 0;
    if (mask == 0xFFFF) continue;
    __m128i zero = _mm_setzero_si128();
    __m128i low = MulDiv255Lanes(_mm_unpacklo_epi8(s, zero), modulation);
    __m128i high = MulDiv255Lanes(_mm_unpackhi_epi8(s, zero), modulation);
    __m128i result = _mm_packus_epi16(low, high);
    if (mask != 0) result = SelectLanes(keyed, LoadPixels4(dst + 4 * i), result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  const ModulationRows rows = ModulationOf(c);
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, Modulate(rows, s));
  }
}

template <bool Transparent>
void PaletteModulatedCopy32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                            const SpanContext& c) {
  const ModulationRows rows = ModulationOf(c);
  for (int i = 0; i < count; ++i) {
    uint32_t index = src[i];
    if (Transparent && index == c.colorKey) continue;
    StorePixel32(dst + 4 * i, Modulate(rows, LoadPixel32(c.palette + 4 * index)));
  }
}

// ---- mode 1 ----------------------------------------------------------------

template <bool Transparent>
void Halve32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  __m128i halfMask = _mm_set1_epi32(0x7F7F7F);
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i keyed = _mm_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm_movemask_epi8(keyed) : 0;
    if (mask == 0xFFFF) continue;
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(s, 1), halfMask),
                                   _mm_and_si128(_mm_srli_epi32(d, 1), halfMask));
    if (mask != 0) result = SelectLanes(keyed, d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t d = LoadPixel32(dst + 4 * i);
    StorePixel32(dst + 4 * i, HalvePixel(d, s));
  }
}

// Mode 1, source without alpha: blend by P.
template <bool Transparent>
void BlendByParameter32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                        const SpanContext& c) {
  int i = 0;
  uint32_t p = static_cast<uint32_t>(c.parameter);
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  __m128i weight = WeightLanes(static_cast<int>(p));
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i keyed = _mm_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm_movemask_epi8(keyed) : 0;
    if (mask == 0xFFFF) continue;
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = ColorBytesOnly(PerChannel(
        d, s, [&](__m128i dl, __m128i sl, int) { return BlendLanesByWeight(dl, sl, weight); }));
    if (mask != 0) result = SelectLanes(keyed, d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, BlendByWeight(LoadPixel32(dst + 4 * i), s, p));
  }
}

// Mode 1 with a modulation colour: m * s / 255 per channel, then blended
// by P.
template <bool Transparent>
void ModulatedBlendByParameter32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                                 const SpanContext& c) {
  int i = 0;
  uint32_t p = static_cast<uint32_t>(c.parameter);
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  __m128i weight = WeightLanes(static_cast<int>(p));
  __m128i modulation = ModulationLanes(c);
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = ColorBytesOnly(PerChannel(d, s, [&](__m128i dl, __m128i sl, int) {
      return BlendLanesByWeight(dl, MulDiv255Lanes(sl, modulation), weight);
    }));
    if (Transparent) result = SelectLanes(_mm_cmpeq_epi32(s, key), d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  const ModulationRows rows = ModulationOf(c);
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, BlendByWeight(LoadPixel32(dst + 4 * i), Modulate(rows, s), p));
  }
}

template <bool Transparent>
void PaletteBlendByParameter32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                               const SpanContext& c) {
  uint32_t p = static_cast<uint32_t>(c.parameter);
  for (int i = 0; i < count; ++i) {
    uint32_t index = src[i];
    if (Transparent && index == c.colorKey) continue;
    uint32_t s = LoadPixel32(c.palette + 4 * index);
    StorePixel32(dst + 4 * i, BlendByWeight(LoadPixel32(dst + 4 * i), s, p));
  }
}

// Mode 1, alpha source: blend by a and P (n = 2). With transparency alpha 0
// skips and alpha 255 drops its weight, which is the product P * 256.
template <bool Transparent>
void BlendByAlphaAndParameter32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                                const SpanContext& c) {
  int i = 0;
  uint32_t p = static_cast<uint32_t>(c.parameter);
#if VEXLO_HAVE_SSE2
  __m128i parameter = _mm_set1_epi16(static_cast<short>(p));
  __m128i parameterWeight = WeightLanes(static_cast<int>(p));
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i alpha = _mm_srli_epi32(s, 24);
    __m128i clear = _mm_cmpeq_epi32(alpha, _mm_setzero_si128());
    __m128i d = LoadPixels4(dst + 4 * i);
    if (Transparent) {
      if (_mm_movemask_epi8(clear) == 0xFFFF) continue;
      __m128i opaque = _mm_cmpeq_epi32(alpha, _mm_set1_epi32(255));
      if (_mm_movemask_epi8(opaque) == 0xFFFF) {
        // Four opaque pixels blend by P alone.
        StorePixels4(dst + 4 * i, ColorBytesOnly(PerChannel(d, s, [&](__m128i dl, __m128i sl, int) {
                       return BlendLanesByWeight(dl, sl, parameterWeight);
                     })));
        continue;
      }
      // 255 counts as 256: the product becomes P * 256.
      alpha = _mm_sub_epi32(alpha, opaque);
    }
    __m128i alphaLow, alphaHigh;
    SpreadPerPixel(alpha, &alphaLow, &alphaHigh);
    __m128i productLow = _mm_mullo_epi16(alphaLow, parameter);
    __m128i productHigh = _mm_mullo_epi16(alphaHigh, parameter);
    __m128i result = ColorBytesOnly(PerChannel(d, s, [&](__m128i dl, __m128i sl, int half) {
      return BlendLanesByProduct(dl, sl, half == 0 ? productLow : productHigh);
    }));
    if (Transparent) result = SelectLanes(clear, d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    uint32_t alpha = s >> 24;
    if (Transparent && alpha == 0) continue;
    uint32_t product = AlphaParameterProduct<Transparent>(alpha, p);
    StorePixel32(dst + 4 * i, BlendByProduct(LoadPixel32(dst + 4 * i), s, product));
  }
}

// ---- modes 2, 3 and 4 ------------------------------------------------------

template <bool Transparent, bool Add>
void SaturatingBytes32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                       const SpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = Add ? _mm_adds_epu8(d, s) : _mm_subs_epu8(d, s);
    if (Transparent) result = SelectLanes(_mm_cmpeq_epi32(s, key), d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t d = LoadPixel32(dst + 4 * i);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      int a = static_cast<int>((d >> shift) & 0xFF), b = static_cast<int>((s >> shift) & 0xFF);
      int v = Add ? (a + b > 255 ? 255 : a + b) : (a - b < 0 ? 0 : a - b);
      out |= static_cast<uint32_t>(v) << shift;
    }
    StorePixel32(dst + 4 * i, out);
  }
}

// Modes 2 and 3 at other parameters: the addend is MulTable[P][s] per
// channel, combined with the packed word forms.
template <bool Transparent, bool Add>
void PackedByParameter32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                         const SpanContext& c) {
  const int* scale = MulTable[c.parameter];
  for (int i = 0; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t addend = static_cast<uint32_t>(scale[(s >> 16) & 0xFF]) << 16 |
                      static_cast<uint32_t>(scale[(s >> 8) & 0xFF]) << 8 |
                      static_cast<uint32_t>(scale[s & 0xFF]);
    uint32_t d = LoadPixel32(dst + 4 * i);
    StorePixel32(dst + 4 * i, Add ? PackedAddWord32(d, addend) : PackedSubWord32(d, addend));
  }
}

template <bool Transparent>
void Multiply32(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = ColorBytesOnly(PerChannel(d, s, [](__m128i dl, __m128i sl, int) {
      return _mm_srli_epi16(_mm_mullo_epi16(dl, sl), 8);
    }));
    if (Transparent) result = SelectLanes(_mm_cmpeq_epi32(s, key), d, result);
    StorePixels4(dst + 4 * i, result);
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t d = LoadPixel32(dst + 4 * i);
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
      out |= ((((d >> shift) & 0xFF) * ((s >> shift) & 0xFF)) >> 8) << shift;
    }
    StorePixel32(dst + 4 * i, out & COLOR_BYTES);
  }
}

constexpr ImageSpanPattern Pattern32(uint8_t sources, uint16_t modes, uint8_t shortcuts,
                                     uint8_t modulation, uint8_t transparency) {
  return ImageSpanPattern{DEPTH32, sources, modes, shortcuts, modulation, NO_BLEND_IMAGE,
                          transparency};
}

const ImageSpanEntry FAST_SPANS_32[] = {
    {"32: copy rows", Pattern32(FROM_DIRECT | FROM_ALPHA, Modes({0}), NO_SHORTCUT, WHITE, OPAQUE),
     CopyRow32},
    {"32: keyed copy", Pattern32(FROM_DIRECT, Modes({0}), NO_SHORTCUT, WHITE, TRANSPARENT),
     KeyedCopy32},
    {"32: alpha copy", Pattern32(FROM_ALPHA, Modes({0}), NO_SHORTCUT, WHITE, TRANSPARENT),
     AlphaCopy32},
    {"32: palette copy", Pattern32(FROM_PALETTE, Modes({0}), NO_SHORTCUT, WHITE, OPAQUE),
     PaletteCopy32<false>},
    {"32: keyed palette copy",
     Pattern32(FROM_PALETTE, Modes({0}), NO_SHORTCUT, WHITE, TRANSPARENT), PaletteCopy32<true>},
    {"32: modulated copy", Pattern32(FROM_DIRECT, Modes({0}), NO_SHORTCUT, MODULATED, OPAQUE),
     ModulatedCopy32<false>},
    {"32: keyed modulated copy",
     Pattern32(FROM_DIRECT, Modes({0}), NO_SHORTCUT, MODULATED, TRANSPARENT),
     ModulatedCopy32<true>},
    {"32: modulated palette copy",
     Pattern32(FROM_PALETTE, Modes({0}), NO_SHORTCUT, MODULATED, OPAQUE),
     PaletteModulatedCopy32<false>},
    {"32: keyed modulated palette copy",
     Pattern32(FROM_PALETTE, Modes({0}), NO_SHORTCUT, MODULATED, TRANSPARENT),
     PaletteModulatedCopy32<true>},
    {"32: halve", Pattern32(FROM_DIRECT, Modes({1}), HALVING, WHITE, OPAQUE), Halve32<false>},
    {"32: keyed halve", Pattern32(FROM_DIRECT, Modes({1}), HALVING, WHITE, TRANSPARENT),
     Halve32<true>},
    {"32: blend by P", Pattern32(FROM_DIRECT, Modes({1}), NO_SHORTCUT, WHITE, OPAQUE),
     BlendByParameter32<false>},
    {"32: keyed blend by P", Pattern32(FROM_DIRECT, Modes({1}), NO_SHORTCUT, WHITE, TRANSPARENT),
     BlendByParameter32<true>},
    {"32: modulated blend by P", Pattern32(FROM_DIRECT, Modes({1}), NO_SHORTCUT, MODULATED, OPAQUE),
     ModulatedBlendByParameter32<false>},
    {"32: keyed modulated blend by P",
     Pattern32(FROM_DIRECT, Modes({1}), NO_SHORTCUT, MODULATED, TRANSPARENT),
     ModulatedBlendByParameter32<true>},
    {"32: palette blend by P", Pattern32(FROM_PALETTE, Modes({1}), NO_SHORTCUT, WHITE, OPAQUE),
     PaletteBlendByParameter32<false>},
    {"32: keyed palette blend by P",
     Pattern32(FROM_PALETTE, Modes({1}), NO_SHORTCUT, WHITE, TRANSPARENT),
     PaletteBlendByParameter32<true>},
    {"32: blend by a and P", Pattern32(FROM_ALPHA, Modes({1}), NO_SHORTCUT, WHITE, OPAQUE),
     BlendByAlphaAndParameter32<false>},
    {"32: transparent blend by a and P",
     Pattern32(FROM_ALPHA, Modes({1}), NO_SHORTCUT, WHITE, TRANSPARENT),
     BlendByAlphaAndParameter32<true>},
    {"32: saturating add", Pattern32(FROM_DIRECT, Modes({2}), SATURATING, WHITE, OPAQUE),
     SaturatingBytes32<false, true>},
    {"32: keyed saturating add", Pattern32(FROM_DIRECT, Modes({2}), SATURATING, WHITE, TRANSPARENT),
     SaturatingBytes32<true, true>},
    {"32: saturating subtract", Pattern32(FROM_DIRECT, Modes({3}), SATURATING, WHITE, OPAQUE),
     SaturatingBytes32<false, false>},
    {"32: keyed saturating subtract",
     Pattern32(FROM_DIRECT, Modes({3}), SATURATING, WHITE, TRANSPARENT),
     SaturatingBytes32<true, false>},
    {"32: packed add", Pattern32(FROM_DIRECT, Modes({2}), NO_SHORTCUT, WHITE, OPAQUE),
     PackedByParameter32<false, true>},
    {"32: keyed packed add", Pattern32(FROM_DIRECT, Modes({2}), NO_SHORTCUT, WHITE, TRANSPARENT),
     PackedByParameter32<true, true>},
    {"32: packed subtract", Pattern32(FROM_DIRECT, Modes({3}), NO_SHORTCUT, WHITE, OPAQUE),
     PackedByParameter32<false, false>},
    {"32: keyed packed subtract",
     Pattern32(FROM_DIRECT, Modes({3}), NO_SHORTCUT, WHITE, TRANSPARENT),
     PackedByParameter32<true, false>},
    {"32: multiply", Pattern32(FROM_DIRECT, Modes({4}), NO_SHORTCUT, WHITE, OPAQUE),
     Multiply32<false>},
    {"32: keyed multiply", Pattern32(FROM_DIRECT, Modes({4}), NO_SHORTCUT, WHITE, TRANSPARENT),
     Multiply32<true>},
};

}  // namespace

ImageSpanEntryList FastImageSpans32() {
  return ImageSpanEntryList{FAST_SPANS_32, static_cast<int>(sizeof FAST_SPANS_32 / sizeof FAST_SPANS_32[0])};
}
