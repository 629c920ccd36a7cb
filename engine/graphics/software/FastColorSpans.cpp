// Specialised loops for the colour routines (fills and lines): one colour,
// already modulated, combined with every destination pixel.
#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/PackedWords.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/SpanLoopTable.h"
#include "engine/graphics/software/Sse2Pixels.h"

namespace {

void Store32(uint8_t* dst, int count, const ColorSpanContext& c) {
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i color = _mm_set1_epi32(static_cast<int>(c.color));
  for (; i + 4 <= count; i += 4) StorePixels4(dst + 4 * i, color);
#endif
  for (; i < count; ++i) StorePixel32(dst + 4 * i, c.color);
}

void Store16(uint8_t* dst, int count, const ColorSpanContext& c) {
  for (int i = 0; i < count; ++i) StorePixel16(dst + 2 * i, c.color);
}

// Mode 1: (d * 256 + (c - d) * P) >> 8 per channel, fourth byte 0.
void BlendByParameter32(uint8_t* dst, int count, const ColorSpanContext& c) {
  uint32_t p = static_cast<uint32_t>(c.parameter);
  // Each channel's share of the colour, c * P, is the same for every pixel.
  uint32_t share[3];
  for (int ch = 0; ch < 3; ++ch) share[ch] = ((c.color >> (8 * ch)) & 0xFF) * p;
  int i = 0;
#if VEXLO_HAVE_SSE2
  __m128i weight = WeightLanes(static_cast<int>(p));
  __m128i color = _mm_set1_epi32(static_cast<int>(c.color));
  for (; i + 4 <= count; i += 4) {
    __m128i d = LoadPixels4(dst + 4 * i);
    StorePixels4(dst + 4 * i, ColorBytesOnly(PerChannel(d, color, [&](__m128i dl, __m128i cl, int) {
                   return BlendLanesByWeight(dl, cl, weight);
                 })));
  }
#endif
  for (; i < count; ++i) {
    uint32_t d = LoadPixel32(dst + 4 * i);
    uint32_t out = 0;
    for (int ch = 0; ch < 3; ++ch) {
      uint32_t dc = (d >> (8 * ch)) & 0xFF;
      out |= ((dc * (256 - p) + share[ch]) >> 8) << (8 * ch);
    }
    StorePixel32(dst + 4 * i, out);
  }
}

// Mode 1 on 5-6-5: d + SignedMulTable[P][c - d] per field.
void BlendByParameter16(uint8_t* dst, int count, const ColorSpanContext& c) {
  const int* step = SignedMulRow(c.parameter);
  int red = static_cast<int>(c.color >> 11) & 0x1F;
  int green = static_cast<int>(c.color >> 5) & 0x3F;
  int blue = static_cast<int>(c.color) & 0x1F;
  for (int i = 0; i < count; ++i) {
    int d = LoadPixel16(dst + 2 * i);
    int dr = d >> 11, dg = (d >> 5) & 0x3F, db = d & 0x1F;
    StorePixel16(dst + 2 * i, static_cast<uint32_t>((dr + step[red - dr]) << 11 |
                                                    (dg + step[green - dg]) << 5 |
                                                    (db + step[blue - db])));
  }
}

// Modes 2 and 3: MulTable[P][c] per channel, once, then the packed forms.
template <bool Add>
void Packed32(uint8_t* dst, int count, const ColorSpanContext& c) {
  const int* scale = MulTable[c.parameter];
  uint32_t addend = static_cast<uint32_t>(scale[(c.color >> 16) & 0xFF]) << 16 |
                    static_cast<uint32_t>(scale[(c.color >> 8) & 0xFF]) << 8 |
                    static_cast<uint32_t>(scale[c.color & 0xFF]);
  for (int i = 0; i < count; ++i) {
    uint32_t d = LoadPixel32(dst + 4 * i);
    StorePixel32(dst + 4 * i, Add ? PackedAddWord32(d, addend) : PackedSubWord32(d, addend));
  }
}

template <bool Add>
void Packed16(uint8_t* dst, int count, const ColorSpanContext& c) {
  const int* scale = MulTable[c.parameter];
  uint32_t addend = static_cast<uint32_t>(scale[(c.color >> 11) & 0x1F]) << 11 |
                    static_cast<uint32_t>(scale[(c.color >> 5) & 0x3F]) << 5 |
                    static_cast<uint32_t>(scale[c.color & 0x1F]);
  for (int i = 0; i < count; ++i) {
    uint32_t d = LoadPixel16(dst + 2 * i);
    StorePixel16(dst + 2 * i, Add ? PackedAddWord16(d, addend) : PackedSubWord16(d, addend));
  }
}

const ColorSpanEntry FAST_COLOR_SPANS[] = {
    {"32: fill", DEPTH32, Modes({0}), Store32},
    {"16: fill", DEPTH16, Modes({0}), Store16},
    {"32: fill blend by P", DEPTH32, Modes({1}), BlendByParameter32},
    {"16: fill blend by P", DEPTH16, Modes({1}), BlendByParameter16},
    {"32: fill packed add", DEPTH32, Modes({2}), Packed32<true>},
    {"32: fill packed subtract", DEPTH32, Modes({3}), Packed32<false>},
    {"16: fill packed add", DEPTH16, Modes({2}), Packed16<true>},
    {"16: fill packed subtract", DEPTH16, Modes({3}), Packed16<false>},
};

}  // namespace

ColorSpanEntryList FastColorSpans() {
  return ColorSpanEntryList{FAST_COLOR_SPANS,
                            static_cast<int>(sizeof FAST_COLOR_SPANS / sizeof FAST_COLOR_SPANS[0])};
}
