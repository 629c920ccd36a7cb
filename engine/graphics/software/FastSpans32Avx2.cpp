// AVX2 forms of the 32-bit span loops the game draws most: sprites with an
// alpha channel (mode 0 with transparency, and mode 1 at any parameter),
// keyed sprites, keyed sprites blended half and half (mode 1 at 128) or by
// any other P, and text: keyed glyphs under a modulation colour. Eight
// pixels per register, the same arithmetic as the SSE2 loops of
// FastSpans32 (unpacking to 16-bit lanes within each 128-bit half, so the
// pack puts every pixel back in place), rows finished in scalar form.
// Keyed loops skip a wholly keyed group of eight before any arithmetic:
// most of a glyph, and the corners of a round sprite.
//
// Only these functions are built for AVX2 (a target attribute each), so
// the rest of the program runs on any x86-64 processor; the table offers
// them only when start-up found AVX2 usable (MEMIMG_AVX2).
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/ScalarBlend32.h"
#include "engine/graphics/software/SpanLoopTable.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define VEXLO_AVX2 __attribute__((target("avx2")))

namespace {

constexpr int ALL_LANES = -1;  // _mm256_movemask_epi8 of an all-ones mask

VEXLO_AVX2 inline __m256i LoadPixels8(const uint8_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
VEXLO_AVX2 inline void StorePixels8(uint8_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Each pixel's 32-bit value (below 65536) in the four 16-bit lanes of that
// pixel, for the low and the high unpacked halves.
VEXLO_AVX2 inline void SpreadPerPixel8(__m256i values, __m256i* low, __m256i* high) {
  __m256i pairs = _mm256_or_si256(values, _mm256_slli_epi32(values, 16));
  *low = _mm256_unpacklo_epi32(pairs, pairs);
  *high = _mm256_unpackhi_epi32(pairs, pairs);
}

// d + floor((s - d) * f / 256) per lane, the weight given as f << 6.
VEXLO_AVX2 inline __m256i BlendLanesByWeight8(__m256i d, __m256i s, __m256i weightShifted) {
  __m256i difference = _mm256_slli_epi16(_mm256_sub_epi16(s, d), 2);
  return _mm256_add_epi16(d, _mm256_mulhi_epi16(difference, weightShifted));
}

// d + floor((s - d) * F / 65536) per lane, F 0..65535 (the signed high
// half corrected for F's top bit).
VEXLO_AVX2 inline __m256i BlendLanesByProduct8(__m256i d, __m256i s, __m256i product) {
  __m256i difference = _mm256_sub_epi16(s, d);
  __m256i high = _mm256_mulhi_epi16(difference, product);
  __m256i correction = _mm256_and_si256(_mm256_srai_epi16(product, 15), difference);
  return _mm256_add_epi16(d, _mm256_add_epi16(high, correction));
}

// Eight pixels blended by per-pixel weights (f << 6 in each pixel's lane).
VEXLO_AVX2 inline __m256i BlendPixelsByWeights8(__m256i d, __m256i s, __m256i weights) {
  __m256i zero = _mm256_setzero_si256();
  __m256i weightLow, weightHigh;
  SpreadPerPixel8(weights, &weightLow, &weightHigh);
  __m256i low = BlendLanesByWeight8(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero), weightLow);
  __m256i high = BlendLanesByWeight8(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero), weightHigh);
  return _mm256_packus_epi16(low, high);
}

// Eight pixels blended by one weight (f << 6 in every lane).
VEXLO_AVX2 inline __m256i BlendPixelsByWeight8(__m256i d, __m256i s, __m256i weight) {
  __m256i zero = _mm256_setzero_si256();
  __m256i low = BlendLanesByWeight8(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero), weight);
  __m256i high = BlendLanesByWeight8(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero), weight);
  return _mm256_packus_epi16(low, high);
}

// Eight pixels blended by per-pixel products of two weights.
VEXLO_AVX2 inline __m256i BlendPixelsByProducts8(__m256i d, __m256i s, __m256i productLow, __m256i productHigh) {
  __m256i zero = _mm256_setzero_si256();
  __m256i low = BlendLanesByProduct8(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero), productLow);
  __m256i high = BlendLanesByProduct8(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero), productHigh);
  return _mm256_packus_epi16(low, high);
}

// Mode 0, alpha source, transparent (as AlphaCopy32): alpha 0 skips, 255
// copies the pixel whole, others blend by the alpha with the fourth byte
// cleared. Weights 0 and 256 give the destination and the source exactly.
VEXLO_AVX2 void AlphaCopy32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext&) {
  int i = 0;
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi32(255);
  const __m256i colorBytes = _mm256_set1_epi32(0x00FFFFFF);
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    __m256i alpha = _mm256_srli_epi32(s, 24);
    __m256i clear = _mm256_cmpeq_epi32(alpha, zero);
    if (_mm256_movemask_epi8(clear) == ALL_LANES) continue;
    __m256i opaque = _mm256_cmpeq_epi32(alpha, full);
    if (_mm256_movemask_epi8(opaque) == ALL_LANES) {
      StorePixels8(dst + 4 * i, s);
      continue;
    }
    __m256i d = LoadPixels8(dst + 4 * i);
    __m256i weights = _mm256_slli_epi32(_mm256_sub_epi32(alpha, opaque), 6);
    __m256i blended = BlendPixelsByWeights8(d, s, weights);
    __m256i keepFourth = _mm256_or_si256(_mm256_or_si256(opaque, clear), colorBytes);
    StorePixels8(dst + 4 * i, _mm256_and_si256(blended, keepFourth));
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    uint32_t alpha = s >> 24;
    if (alpha == 0) continue;
    StorePixel32(dst + 4 * i, AlphaCopyPixel(LoadPixel32(dst + 4 * i), s));
  }
}

// Mode 1, alpha source (as BlendByAlphaAndParameter32): blend by a and P;
// with transparency alpha 0 skips and alpha 255 weighs 256.
template <bool Transparent>
VEXLO_AVX2 void BlendByAlphaAndParameter32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                                               const SpanContext& c) {
  int i = 0;
  const uint32_t p = static_cast<uint32_t>(c.parameter);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi32(255);
  const __m256i colorBytes = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i parameter = _mm256_set1_epi16(static_cast<short>(p));
  const __m256i parameterWeight = _mm256_set1_epi16(static_cast<short>(p << 6));
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    __m256i alpha = _mm256_srli_epi32(s, 24);
    __m256i clear = _mm256_cmpeq_epi32(alpha, zero);
    if (Transparent && _mm256_movemask_epi8(clear) == ALL_LANES) continue;
    __m256i d = LoadPixels8(dst + 4 * i);
    if (Transparent) {
      __m256i opaque = _mm256_cmpeq_epi32(alpha, full);
      if (_mm256_movemask_epi8(opaque) == ALL_LANES) {
        StorePixels8(dst + 4 * i, _mm256_and_si256(BlendPixelsByWeight8(d, s, parameterWeight), colorBytes));
        continue;
      }
      alpha = _mm256_sub_epi32(alpha, opaque);
    }
    __m256i alphaLow, alphaHigh;
    SpreadPerPixel8(alpha, &alphaLow, &alphaHigh);
    __m256i result = _mm256_and_si256(
        BlendPixelsByProducts8(d, s, _mm256_mullo_epi16(alphaLow, parameter), _mm256_mullo_epi16(alphaHigh, parameter)),
        colorBytes);
    if (Transparent) result = _mm256_blendv_epi8(result, d, clear);
    StorePixels8(dst + 4 * i, result);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    uint32_t alpha = s >> 24;
    if (Transparent && alpha == 0) continue;
    uint32_t product = AlphaParameterProduct<Transparent>(alpha, p);
    StorePixel32(dst + 4 * i, BlendByProduct(LoadPixel32(dst + 4 * i), s, product));
  }
}

// Mode 0, source without alpha, transparent (as KeyedCopy32): pixels equal
// to the key in all 32 bits are skipped, the others copied whole.
VEXLO_AVX2 void KeyedCopy32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  int i = 0;
  const __m256i key = _mm256_set1_epi32(static_cast<int>(c.colorKey));
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    __m256i keyed = _mm256_cmpeq_epi32(s, key);
    int mask = _mm256_movemask_epi8(keyed);
    if (mask == ALL_LANES) continue;
    if (mask != 0) s = _mm256_blendv_epi8(s, LoadPixels8(dst + 4 * i), keyed);
    StorePixels8(dst + 4 * i, s);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (s != c.colorKey) StorePixel32(dst + 4 * i, s);
  }
}

// Mode 1 at P 128, source without alpha (as Halve32): each colour byte the
// sum of the halves of source and destination; with transparency, pixels
// equal to the key in all 32 bits are left alone.
template <bool Transparent>
VEXLO_AVX2 void Halve32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  int i = 0;
  const __m256i key = _mm256_set1_epi32(static_cast<int>(c.colorKey));
  const __m256i halfMask = _mm256_set1_epi32(0x7F7F7F);
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    // Wholly keyed groups (most of a glyph) are neither read nor written.
    __m256i keyed = _mm256_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm256_movemask_epi8(keyed) : 0;
    if (mask == ALL_LANES) continue;
    __m256i d = LoadPixels8(dst + 4 * i);
    __m256i result = _mm256_add_epi32(_mm256_and_si256(_mm256_srli_epi32(s, 1), halfMask),
                                      _mm256_and_si256(_mm256_srli_epi32(d, 1), halfMask));
    if (mask != 0) result = _mm256_blendv_epi8(result, d, keyed);
    StorePixels8(dst + 4 * i, result);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t d = LoadPixel32(dst + 4 * i);
    StorePixel32(dst + 4 * i, HalvePixel(d, s));
  }
}

// x * m / 255 exactly per 16-bit lane: with t = x * m, (t * 0x8081) >> 23.
VEXLO_AVX2 inline __m256i MulDiv255Lanes8(__m256i x, __m256i m) {
  __m256i t = _mm256_mullo_epi16(x, m);
  return _mm256_srli_epi16(_mm256_mulhi_epu16(t, _mm256_set1_epi16(static_cast<short>(0x8081))), 7);
}

// Mode 0 with a modulation colour, source without alpha (as
// ModulatedCopy32): each colour byte m * s / 255, the fourth byte 0; with
// transparency keyed pixels are left alone, and wholly keyed groups are
// skipped before any arithmetic.
template <bool Transparent>
VEXLO_AVX2 void ModulatedCopy32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                                    const SpanContext& c) {
  int i = 0;
  const __m256i key = _mm256_set1_epi32(static_cast<int>(c.colorKey));
  const __m256i modulation =
      _mm256_setr_epi16(c.modulateBlue, c.modulateGreen, c.modulateRed, 0, c.modulateBlue, c.modulateGreen,
                        c.modulateRed, 0, c.modulateBlue, c.modulateGreen, c.modulateRed, 0, c.modulateBlue,
                        c.modulateGreen, c.modulateRed, 0);
  const __m256i zero = _mm256_setzero_si256();
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    __m256i keyed = _mm256_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm256_movemask_epi8(keyed) : 0;
    if (mask == ALL_LANES) continue;
    __m256i low = MulDiv255Lanes8(_mm256_unpacklo_epi8(s, zero), modulation);
    __m256i high = MulDiv255Lanes8(_mm256_unpackhi_epi8(s, zero), modulation);
    __m256i result = _mm256_packus_epi16(low, high);
    if (mask != 0) result = _mm256_blendv_epi8(result, LoadPixels8(dst + 4 * i), keyed);
    StorePixels8(dst + 4 * i, result);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, ModulatePixel(c, s));
  }
}

// Mode 1, source without alpha (as BlendByParameter32): blend by P; with
// transparency keyed pixels are left alone.
template <bool Transparent>
VEXLO_AVX2 void BlendByParameter32Avx2(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                                       const SpanContext& c) {
  int i = 0;
  const uint32_t p = static_cast<uint32_t>(c.parameter);
  const __m256i key = _mm256_set1_epi32(static_cast<int>(c.colorKey));
  const __m256i weight = _mm256_set1_epi16(static_cast<short>(p << 6));
  const __m256i colorBytes = _mm256_set1_epi32(0x00FFFFFF);
  for (; i + 8 <= count; i += 8) {
    __m256i s = LoadPixels8(src + 4 * i);
    __m256i keyed = _mm256_cmpeq_epi32(s, key);
    int mask = Transparent ? _mm256_movemask_epi8(keyed) : 0;
    if (mask == ALL_LANES) continue;
    __m256i d = LoadPixels8(dst + 4 * i);
    __m256i result = _mm256_and_si256(BlendPixelsByWeight8(d, s, weight), colorBytes);
    if (mask != 0) result = _mm256_blendv_epi8(result, d, keyed);
    StorePixels8(dst + 4 * i, result);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, BlendByWeight(LoadPixel32(dst + 4 * i), s, p));
  }
}

constexpr ImageSpanPattern Avx2Pattern(uint8_t sources, uint16_t modes, uint8_t transparency,
                                       uint8_t shortcuts = NO_SHORTCUT, uint8_t modulation = WHITE) {
  return ImageSpanPattern{DEPTH32, sources, modes, shortcuts, modulation, NO_BLEND_IMAGE, transparency, MEMIMG_AVX2};
}

const ImageSpanEntry FAST_SPANS_32_AVX2[] = {
    {"32 AVX2: keyed copy", Avx2Pattern(FROM_DIRECT, Modes({0}), TRANSPARENT), KeyedCopy32Avx2},
    {"32 AVX2: alpha copy", Avx2Pattern(FROM_ALPHA, Modes({0}), TRANSPARENT), AlphaCopy32Avx2},
    {"32 AVX2: blend by a and P", Avx2Pattern(FROM_ALPHA, Modes({1}), OPAQUE),
     BlendByAlphaAndParameter32Avx2<false>},
    {"32 AVX2: transparent blend by a and P", Avx2Pattern(FROM_ALPHA, Modes({1}), TRANSPARENT),
     BlendByAlphaAndParameter32Avx2<true>},
    {"32 AVX2: halve", Avx2Pattern(FROM_DIRECT, Modes({1}), OPAQUE, HALVING), Halve32Avx2<false>},
    {"32 AVX2: keyed halve", Avx2Pattern(FROM_DIRECT, Modes({1}), TRANSPARENT, HALVING), Halve32Avx2<true>},
    {"32 AVX2: modulated copy", Avx2Pattern(FROM_DIRECT, Modes({0}), OPAQUE, NO_SHORTCUT, MODULATED),
     ModulatedCopy32Avx2<false>},
    {"32 AVX2: keyed modulated copy", Avx2Pattern(FROM_DIRECT, Modes({0}), TRANSPARENT, NO_SHORTCUT, MODULATED),
     ModulatedCopy32Avx2<true>},
    {"32 AVX2: blend by P", Avx2Pattern(FROM_DIRECT, Modes({1}), OPAQUE), BlendByParameter32Avx2<false>},
    {"32 AVX2: keyed blend by P", Avx2Pattern(FROM_DIRECT, Modes({1}), TRANSPARENT), BlendByParameter32Avx2<true>},
};

}  // namespace

ImageSpanEntryList FastImageSpans32Avx2() {
  return ImageSpanEntryList{FAST_SPANS_32_AVX2, static_cast<int>(sizeof FAST_SPANS_32_AVX2 / sizeof FAST_SPANS_32_AVX2[0])};
}

#else

// Other processors have no AVX2 forms.
ImageSpanEntryList FastImageSpans32Avx2() { return ImageSpanEntryList{nullptr, 0}; }

#endif
