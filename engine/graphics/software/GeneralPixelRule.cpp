// The general per-pixel rule: every combination of destination depth,
// source kind, blend mode, parameter, modulation, blend image and
// transparency, one pixel at a time. The specialised loops must give
// exactly these pixels.
//
// Channel conventions: 32-bit pixels hold blue, green, red in bytes 0-2; a
// pixel computed channel by channel has a zero fourth byte, while whole-pixel
// copies and the saturating byte forms carry the fourth byte along. 16-bit
// pixels are R5G6B5; a 16-bit source with alpha keeps alpha in its third
// byte.
#include <algorithm>
#include <cstdint>

#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/SpanLoops.h"

namespace {

constexpr int BLUE = 0, GREEN = 1, RED = 2;

// The weights a pixel is blended by: some of P, the source alpha a and the
// blend-image weight w. Blending x into d by n weights is
// d + floor((x - d) * product / 2^(8n)).
struct Weights {
  int64_t product = 1;
  int count = 0;
  bool parameterAlone = false;  // the only weight is P

  void Add(int weight) {
    product *= weight;
    ++count;
  }
};

bool ModeUsesParameter(int mode) {
  return mode == 1 || mode == 2 || mode == 3 || mode == 10 || mode == 11;
}

Weights PixelWeights(const SpanContext& c, int alpha, const uint8_t* blend) {
  const SpanKey& k = c.key;
  // With transparency an opaque pixel drops its alpha weight in modes 0 to
  // 4; modes 10 and 11 keep it (alpha 255 weighs 255/256 there). Mode 0
  // without transparency, modulation or blend image copies alpha pixels
  // whole.
  bool opaqueDropsAlpha = k.transparent && alpha == 255 && k.mode <= 4;
  bool useAlpha = k.source == SourceKind::ALPHA && !opaqueDropsAlpha;
  if (k.mode == 0 && k.source == SourceKind::ALPHA && !k.transparent && !k.modulated &&
      !k.blendImage) {
    useAlpha = false;
  }
  Weights w;
  if (ModeUsesParameter(k.mode)) w.Add(c.parameter);
  if (useAlpha) w.Add(alpha);
  if (k.blendImage) w.Add(c.blendTable[*blend]);
  w.parameterAlone = ModeUsesParameter(k.mode) && w.count == 1;
  return w;
}

// floor(value / 2^shift) for negative values too.
int64_t FloorShift(int64_t value, int shift) {
  int64_t divisor = int64_t{1} << shift;
  int64_t q = value / divisor;
  if (value % divisor != 0 && value < 0) --q;
  return q;
}

int BlendChannel(int d, int x, const Weights& w) {
  return d + static_cast<int>(FloorShift((x - d) * w.product, 8 * w.count));
}

// The colour added or subtracted by modes 2 and 3.
int AddendChannel(int s, const Weights& w, int parameter) {
  if (w.parameterAlone) return MulTable[parameter][s];
  return static_cast<int>((s * w.product) >> (8 * w.count));
}

void Channels32(uint32_t v, int out[3]) {
  out[BLUE] = v & 0xFF;
  out[GREEN] = (v >> 8) & 0xFF;
  out[RED] = (v >> 16) & 0xFF;
}
uint32_t Compose32(const int c[3]) {
  return static_cast<uint32_t>(c[RED] << 16 | c[GREEN] << 8 | c[BLUE]);
}

void Channels16(uint32_t v, int out[3]) {
  out[BLUE] = v & 0x1F;
  out[GREEN] = (v >> 5) & 0x3F;
  out[RED] = (v >> 11) & 0x1F;
}
uint32_t Compose16(const int c[3]) {
  return static_cast<uint32_t>(c[RED] << 11 | c[GREEN] << 5 | c[BLUE]);
}

constexpr int CHANNEL_MAX16[3] = {31, 63, 31};
constexpr int CHANNEL_BITS16[3] = {5, 6, 5};

// Packed add, 8-bit channels: blue saturates exactly; green and red add
// their upper seven bits, saturate when that sum overflows, and otherwise
// OR in both lowest bits and the carry out of the channel below.
uint32_t PackedAdd32(const int d[3], const int c[3]) {
  int out[3];
  int blue = d[BLUE] + c[BLUE];
  out[BLUE] = std::min(blue, 255);
  int carry = blue > 255 ? 1 : 0;
  for (int ch : {GREEN, RED}) {
    int upper = (d[ch] & 0xFE) + (c[ch] & 0xFE);
    out[ch] = upper > 255 ? 255 : upper | (d[ch] & 1) | (c[ch] & 1) | carry;
    carry = upper > 255 ? 1 : 0;
  }
  return Compose32(out);
}

// Packed subtract, 8-bit channels: blue is exact; green and red replace
// their lowest bit by 1 when the channel below did not go below zero.
uint32_t PackedSub32(const int d[3], const int c[3]) {
  int out[3];
  int blue = d[BLUE] - c[BLUE];
  out[BLUE] = std::max(blue, 0);
  bool borrowed = blue < 0;
  for (int ch : {GREEN, RED}) {
    int value = ((d[ch] & 0xFE) | (borrowed ? 0 : 1)) - (c[ch] & 0xFE);
    out[ch] = std::max(value, 0);
    borrowed = value < 0;
  }
  return Compose32(out);
}

// The 5-6-5 packed add: green saturates to 62 plus its low bits.
uint32_t PackedAdd16(const int d[3], const int c[3]) {
  int out[3];
  int blue = d[BLUE] + c[BLUE];
  out[BLUE] = std::min(blue, 31);
  int blueCarry = blue > 31 ? 1 : 0;
  int greenUpper = (d[GREEN] & 0x3E) + (c[GREEN] & 0x3E);
  int greenLow = (d[GREEN] & 1) | (c[GREEN] & 1) | blueCarry;
  out[GREEN] = greenUpper > 63 ? 62 | greenLow : greenUpper | greenLow;
  int greenCarry = greenUpper > 63 ? 1 : 0;
  int redUpper = (d[RED] & 0x1E) + (c[RED] & 0x1E);
  out[RED] = redUpper > 31 ? 31 : redUpper | (d[RED] & 1) | (c[RED] & 1) | greenCarry;
  return Compose16(out);
}

// The 5-6-5 packed subtract: green loses its lowest bit, red takes 1 as its
// lowest bit when green did not go below zero.
uint32_t PackedSub16(const int d[3], const int c[3]) {
  int out[3];
  out[BLUE] = std::max(d[BLUE] - c[BLUE], 0);
  int green = (d[GREEN] & 0x3E) - (c[GREEN] & 0x3E);
  out[GREEN] = std::max(green, 0);
  int red = ((d[RED] & 0x1E) | (green < 0 ? 0 : 1)) - (c[RED] & 0x1E);
  out[RED] = std::max(red, 0);
  return Compose16(out);
}

uint32_t SaturatingBytes(uint32_t d, uint32_t s, bool add) {
  uint32_t out = 0;
  for (int i = 0; i < 4; ++i) {
    int a = (d >> (8 * i)) & 0xFF;
    int b = (s >> (8 * i)) & 0xFF;
    int v = add ? std::min(a + b, 255) : std::max(a - b, 0);
    out |= static_cast<uint32_t>(v) << (8 * i);
  }
  return out;
}

void Modulate(int s[3], const SpanContext& c) {
  s[RED] = MulTable[c.modulateRed][s[RED]];
  s[GREEN] = MulTable[c.modulateGreen][s[GREEN]];
  s[BLUE] = MulTable[c.modulateBlue][s[BLUE]];
}

// The raw source pixel and its alpha; false when transparency skips it.
bool ReadSource(const uint8_t* src, const SpanContext& c, uint32_t* raw, int* alpha) {
  const SpanKey& k = c.key;
  *raw = 0;
  switch (k.source) {
    case SourceKind::PALETTE: *raw = *src; break;
    case SourceKind::DIRECT: *raw = k.depth == 16 ? LoadPixel16(src) : LoadPixel32(src); break;
    case SourceKind::ALPHA: *raw = LoadPixel32(src); break;
  }
  *alpha = 255;
  if (k.source == SourceKind::ALPHA) {
    *alpha = k.depth == 16 ? (*raw >> 16) & 0xFF : *raw >> 24;
    return !(k.transparent && *alpha == 0 && k.mode <= 3);
  }
  return !(k.transparent && *raw == c.colorKey);
}

void ImagePixel32(uint8_t* dstPixel, const uint8_t* src, const uint8_t* blend,
                  const SpanContext& c) {
  const SpanKey& k = c.key;
  uint32_t raw;
  int alpha;
  if (!ReadSource(src, c, &raw, &alpha)) return;
  uint32_t s = k.source == SourceKind::PALETTE ? LoadPixel32(c.palette + 4 * raw) : raw;
  uint32_t d = LoadPixel32(dstPixel);
  int sc[3], dc[3], out[3];
  Channels32(s, sc);
  Channels32(d, dc);
  if (k.modulated) Modulate(sc, c);
  Weights w = PixelWeights(c, alpha, blend);
  uint32_t result = 0;
  switch (k.mode) {
    case 0:
      if (w.count == 0) {
        result = k.modulated ? Compose32(sc) : s;
        break;
      }
      for (int ch = 0; ch < 3; ++ch) out[ch] = BlendChannel(dc[ch], sc[ch], w);
      result = Compose32(out);
      break;
    case 1:
      if (k.shortcut == BlendShortcut::HALVING) {
        result = ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F);
        break;
      }
      for (int ch = 0; ch < 3; ++ch) out[ch] = BlendChannel(dc[ch], sc[ch], w);
      result = Compose32(out);
      break;
    case 2:
    case 3:
      if (k.shortcut == BlendShortcut::SATURATING_BYTES) {
        result = SaturatingBytes(d, s, k.mode == 2);
        break;
      }
      for (int ch = 0; ch < 3; ++ch) out[ch] = AddendChannel(sc[ch], w, c.parameter);
      result = k.mode == 2 ? PackedAdd32(dc, out) : PackedSub32(dc, out);
      break;
    case 4:
      for (int ch = 0; ch < 3; ++ch) {
        out[ch] = static_cast<int>((dc[ch] * sc[ch] * w.product) >> (8 * (w.count + 1)));
      }
      result = Compose32(out);
      break;
    case 10:
      for (int ch = 0; ch < 3; ++ch) out[ch] = BlendChannel(dc[ch], 255 - sc[ch], w);
      result = Compose32(out);
      break;
    case 11:
      for (int ch = 0; ch < 3; ++ch) {
        out[ch] = BlendChannel(dc[ch], (dc[ch] * sc[ch]) >> 8, w);
      }
      result = Compose32(out);
      break;
    default: return;
  }
  StorePixel32(dstPixel, result);
}

// Blending toward x where the only weight is P, on 16-bit channels.
int SignedStep16(int d, int x, int parameter) { return d + SignedMulRow(parameter)[x - d]; }

void ImagePixel16(uint8_t* dstPixel, const uint8_t* src, const uint8_t* blend,
                  const SpanContext& c) {
  const SpanKey& k = c.key;
  uint32_t raw;
  int alpha;
  if (!ReadSource(src, c, &raw, &alpha)) return;
  uint32_t s = k.source == SourceKind::PALETTE ? LoadPixel16(c.palette + 2 * raw) : raw & 0xFFFF;
  uint32_t d = LoadPixel16(dstPixel);
  int sc[3], dc[3], out[3];
  Channels16(s, sc);
  Channels16(d, dc);
  if (k.modulated) Modulate(sc, c);
  Weights w = PixelWeights(c, alpha, blend);
  switch (k.mode) {
    case 0:
      for (int ch = 0; ch < 3; ++ch) out[ch] = w.count == 0 ? sc[ch] : BlendChannel(dc[ch], sc[ch], w);
      break;
    case 1:
      if (k.shortcut == BlendShortcut::HALVING) {
        StorePixel16(dstPixel, ((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF));
        return;
      }
      for (int ch = 0; ch < 3; ++ch) {
        if (!w.parameterAlone) {
          out[ch] = BlendChannel(dc[ch], sc[ch], w);
        } else if (k.source != SourceKind::ALPHA) {
          out[ch] = Lerp6Table[c.parameter / 4][sc[ch]][dc[ch]];
        } else {
          out[ch] = SignedStep16(dc[ch], sc[ch], c.parameter);
        }
      }
      break;
    case 2:
    case 3: {
      int addend[3];
      for (int ch = 0; ch < 3; ++ch) addend[ch] = AddendChannel(sc[ch], w, c.parameter);
      StorePixel16(dstPixel, k.mode == 2 ? PackedAdd16(dc, addend) : PackedSub16(dc, addend));
      return;
    }
    case 4:
      for (int ch = 0; ch < 3; ++ch) {
        out[ch] = static_cast<int>((dc[ch] * sc[ch] * w.product) >>
                                   (CHANNEL_BITS16[ch] + 8 * w.count));
      }
      break;
    case 10:
    case 11:
      for (int ch = 0; ch < 3; ++ch) {
        int x = k.mode == 10 ? CHANNEL_MAX16[ch] - sc[ch]
                             : (dc[ch] * sc[ch]) >> CHANNEL_BITS16[ch];
        out[ch] = w.parameterAlone ? SignedStep16(dc[ch], x, c.parameter)
                                   : BlendChannel(dc[ch], x, w);
      }
      break;
    default: return;
  }
  StorePixel16(dstPixel, Compose16(out));
}

void ColorPixel32(uint8_t* dstPixel, const ColorSpanContext& c) {
  uint32_t d = LoadPixel32(dstPixel);
  int dc[3], cc[3], out[3];
  Channels32(d, dc);
  Channels32(c.color, cc);
  int p = c.parameter;
  Weights byParameter;
  byParameter.Add(p);
  switch (c.key.mode) {
    case 0: StorePixel32(dstPixel, c.color); return;
    case 1:
      for (int ch = 0; ch < 3; ++ch) out[ch] = BlendChannel(dc[ch], cc[ch], byParameter);
      break;
    case 2:
    case 3: {
      int addend[3];
      for (int ch = 0; ch < 3; ++ch) addend[ch] = MulTable[p][cc[ch]];
      StorePixel32(dstPixel, c.key.mode == 2 ? PackedAdd32(dc, addend) : PackedSub32(dc, addend));
      return;
    }
    case 4:
      for (int ch = 0; ch < 3; ++ch) out[ch] = (dc[ch] * cc[ch]) >> 8;
      break;
    case 10:
      for (int ch = 0; ch < 3; ++ch) out[ch] = BlendChannel(dc[ch], 255 - cc[ch], byParameter);
      break;
    case 11:
      for (int ch = 0; ch < 3; ++ch) {
        out[ch] = BlendChannel(dc[ch], (dc[ch] * cc[ch]) >> 8, byParameter);
      }
      break;
    default: return;
  }
  StorePixel32(dstPixel, Compose32(out));
}

void ColorPixel16(uint8_t* dstPixel, const ColorSpanContext& c) {
  uint32_t d = LoadPixel16(dstPixel);
  int dc[3], cc[3], out[3];
  Channels16(d, dc);
  Channels16(c.color, cc);
  int p = c.parameter;
  switch (c.key.mode) {
    case 0: StorePixel16(dstPixel, c.color); return;
    case 1:
      for (int ch = 0; ch < 3; ++ch) out[ch] = SignedStep16(dc[ch], cc[ch], p);
      break;
    case 2:
    case 3: {
      int addend[3];
      for (int ch = 0; ch < 3; ++ch) addend[ch] = MulTable[p][cc[ch]];
      StorePixel16(dstPixel, c.key.mode == 2 ? PackedAdd16(dc, addend) : PackedSub16(dc, addend));
      return;
    }
    case 4:
      for (int ch = 0; ch < 3; ++ch) out[ch] = (dc[ch] * cc[ch]) >> CHANNEL_BITS16[ch];
      break;
    case 10:
    case 11:
      for (int ch = 0; ch < 3; ++ch) {
        int x = c.key.mode == 10 ? CHANNEL_MAX16[ch] - cc[ch]
                                 : (dc[ch] * cc[ch]) >> CHANNEL_BITS16[ch];
        out[ch] = SignedStep16(dc[ch], x, p);
      }
      break;
    default: return;
  }
  StorePixel16(dstPixel, Compose16(out));
}

}  // namespace

void GeneralImageSpan(uint8_t* dst, const uint8_t* src, const uint8_t* blend, int count,
                      const SpanContext& context) {
  int dstBytes = context.key.depth / 8;
  int srcBytes = SpanSourceBytes(context.key);
  auto pixel = context.key.depth == 16 ? ImagePixel16 : ImagePixel32;
  for (int i = 0; i < count; ++i) {
    pixel(dst + i * dstBytes, src + i * srcBytes, blend != nullptr ? blend + i : nullptr, context);
  }
}

void GeneralColorSpan(uint8_t* dst, int count, const ColorSpanContext& context) {
  int dstBytes = context.key.depth / 8;
  auto pixel = context.key.depth == 16 ? ColorPixel16 : ColorPixel32;
  for (int i = 0; i < count; ++i) pixel(dst + i * dstBytes, context);
}
