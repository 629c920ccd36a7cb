// Specialised span loops for 16-bit (R5G6B5) destinations.
#include <cstring>

#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/PackedWords.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/SpanLoopTable.h"

namespace {

// A 5-6-5 value from its three fields.
uint32_t Pack565(uint32_t red, uint32_t green, uint32_t blue) {
  return red << 11 | green << 5 | blue;
}

void CopyRow16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext&) {
  std::memmove(dst, src, static_cast<size_t>(count) * 2);
}

void KeyedCopy16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                 const SpanContext& c) {
  for (int i = 0; i < count; ++i) {
    uint32_t s = LoadPixel16(src + 2 * i);
    if (s != c.colorKey) StorePixel16(dst + 2 * i, s);
  }
}

template <bool Transparent>
void PaletteCopy16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                   const SpanContext& c) {
  for (int i = 0; i < count; ++i) {
    uint32_t index = src[i];
    if (Transparent && index == c.colorKey) continue;
    std::memcpy(dst + 2 * i, c.palette + 2 * index, 2);
  }
}

// Mode 0, alpha source (alpha in the third byte), transparent.
void AlphaCopy16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext&) {
  for (int i = 0; i < count; ++i) {
    uint32_t raw = LoadPixel32(src + 4 * i);
    uint32_t alpha = (raw >> 16) & 0xFF;
    if (alpha == 0) continue;
    if (alpha == 255) {
      StorePixel16(dst + 2 * i, raw);
      continue;
    }
    uint32_t d = LoadPixel16(dst + 2 * i);
    uint32_t fields[3];
    for (int f = 0; f < 3; ++f) {
      static constexpr int SHIFT[3] = {11, 5, 0};
      static constexpr uint32_t MASK[3] = {0x1F, 0x3F, 0x1F};
      uint32_t dc = (d >> SHIFT[f]) & MASK[f], sc = (raw >> SHIFT[f]) & MASK[f];
      fields[f] = (dc * (256 - alpha) + sc * alpha) >> 8;
    }
    StorePixel16(dst + 2 * i, Pack565(fields[0], fields[1], fields[2]));
  }
}

template <bool Transparent>
void Halve16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  for (int i = 0; i < count; ++i) {
    uint32_t s = LoadPixel16(src + 2 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t d = LoadPixel16(dst + 2 * i);
    StorePixel16(dst + 2 * i, ((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF));
  }
}

// Mode 1 by P alone through Lerp6Table, for direct or palette sources.
template <bool Transparent, bool Palette>
void Lerp16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count, const SpanContext& c) {
  const uint8_t(*lerp)[64] = Lerp6Table[c.parameter / 4];
  for (int i = 0; i < count; ++i) {
    uint32_t raw = Palette ? src[i] : LoadPixel16(src + 2 * i);
    if (Transparent && raw == c.colorKey) continue;
    uint32_t s = Palette ? LoadPixel16(c.palette + 2 * raw) : raw;
    uint32_t d = LoadPixel16(dst + 2 * i);
    StorePixel16(dst + 2 * i, Pack565(lerp[s >> 11][d >> 11], lerp[(s >> 5) & 0x3F][(d >> 5) & 0x3F],
                                      lerp[s & 0x1F][d & 0x1F]));
  }
}

template <bool Transparent, bool Add>
void PackedByParameter16(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                         const SpanContext& c) {
  const int* scale = MulTable[c.parameter];
  for (int i = 0; i < count; ++i) {
    uint32_t s = LoadPixel16(src + 2 * i);
    if (Transparent && s == c.colorKey) continue;
    uint32_t addend = Pack565(static_cast<uint32_t>(scale[s >> 11]),
                              static_cast<uint32_t>(scale[(s >> 5) & 0x3F]),
                              static_cast<uint32_t>(scale[s & 0x1F]));
    uint32_t d = LoadPixel16(dst + 2 * i);
    StorePixel16(dst + 2 * i, Add ? PackedAddWord16(d, addend) : PackedSubWord16(d, addend));
  }
}

constexpr ImageSpanPattern Pattern16(uint8_t sources, uint16_t modes, uint8_t shortcuts,
                                     uint8_t transparency) {
  return ImageSpanPattern{DEPTH16, sources, modes, shortcuts, WHITE, NO_BLEND_IMAGE, transparency};
}

const ImageSpanEntry FAST_SPANS_16[] = {
    {"16: copy rows", Pattern16(FROM_DIRECT, Modes({0}), NO_SHORTCUT, OPAQUE), CopyRow16},
    {"16: keyed copy", Pattern16(FROM_DIRECT, Modes({0}), NO_SHORTCUT, TRANSPARENT), KeyedCopy16},
    {"16: alpha copy", Pattern16(FROM_ALPHA, Modes({0}), NO_SHORTCUT, TRANSPARENT), AlphaCopy16},
    {"16: palette copy", Pattern16(FROM_PALETTE, Modes({0}), NO_SHORTCUT, OPAQUE),
     PaletteCopy16<false>},
    {"16: keyed palette copy", Pattern16(FROM_PALETTE, Modes({0}), NO_SHORTCUT, TRANSPARENT),
     PaletteCopy16<true>},
    {"16: halve", Pattern16(FROM_DIRECT, Modes({1}), HALVING, OPAQUE), Halve16<false>},
    {"16: keyed halve", Pattern16(FROM_DIRECT, Modes({1}), HALVING, TRANSPARENT), Halve16<true>},
    {"16: lerp by P", Pattern16(FROM_DIRECT, Modes({1}), NO_SHORTCUT, OPAQUE),
     Lerp16<false, false>},
    {"16: keyed lerp by P", Pattern16(FROM_DIRECT, Modes({1}), NO_SHORTCUT, TRANSPARENT),
     Lerp16<true, false>},
    {"16: palette lerp by P", Pattern16(FROM_PALETTE, Modes({1}), NO_SHORTCUT, OPAQUE),
     Lerp16<false, true>},
    {"16: keyed palette lerp by P", Pattern16(FROM_PALETTE, Modes({1}), NO_SHORTCUT, TRANSPARENT),
     Lerp16<true, true>},
    {"16: packed add", Pattern16(FROM_DIRECT, Modes({2}), NO_SHORTCUT, OPAQUE),
     PackedByParameter16<false, true>},
    {"16: keyed packed add", Pattern16(FROM_DIRECT, Modes({2}), NO_SHORTCUT, TRANSPARENT),
     PackedByParameter16<true, true>},
    {"16: packed subtract", Pattern16(FROM_DIRECT, Modes({3}), NO_SHORTCUT, OPAQUE),
     PackedByParameter16<false, false>},
    {"16: keyed packed subtract", Pattern16(FROM_DIRECT, Modes({3}), NO_SHORTCUT, TRANSPARENT),
     PackedByParameter16<true, false>},
};

}  // namespace

ImageSpanEntryList FastImageSpans16() {
  return ImageSpanEntryList{FAST_SPANS_16, static_cast<int>(sizeof FAST_SPANS_16 / sizeof FAST_SPANS_16[0])};
}
