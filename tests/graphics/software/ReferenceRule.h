// The blending rules written out plainly, pixel by pixel, from the
// formulas, independently of the renderer's tables and loops: the tests
// compare both the specialised loops and the general rule against this.
//
// Conventions shared with the renderer: a 32-bit pixel computed channel by
// channel has a zero fourth byte; whole copies and the exact saturating
// byte forms carry the fourth byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace reference {

enum Kind { PALETTE, DIRECT, ALPHA };

struct Draw {
  int depth;  // 16 or 32
  Kind kind;
  int mode;
  int parameter;
  int modulation[3];  // red, green, blue
  bool transparent;
  bool blendImage;
  bool mmx;
  uint32_t colorKey;
  const std::vector<uint32_t>* palette;  // entries as pixel values
  const int* blendWeights;               // 256 weights
};

inline int BlendWeight(int grey, int border, int range) {
  int v = grey * 256 / (range + 1) + 256 - ((65536 / (range + 1) + 256) * border) / 256;
  return std::clamp(v, 0, 255);
}

// Channel layouts, red first.
struct Layout {
  int shift[3];
  int bits[3];
};
constexpr Layout LAYOUT32{{16, 8, 0}, {8, 8, 8}};
constexpr Layout LAYOUT16{{11, 5, 0}, {5, 6, 5}};

inline int Field(uint32_t v, const Layout& l, int i) {
  return static_cast<int>((v >> l.shift[i]) & ((1u << l.bits[i]) - 1));
}
inline uint32_t Compose(const int c[3], const Layout& l) {
  return static_cast<uint32_t>(c[0]) << l.shift[0] | static_cast<uint32_t>(c[1]) << l.shift[1] |
         static_cast<uint32_t>(c[2]) << l.shift[2];
}

// d blended toward x by the weights: (d * 2^(8n) + (x - d) * product) / 2^(8n),
// never negative since every weight is below 256.
inline int BlendTo(int d, int x, const std::vector<int>& weights) {
  int64_t product = 1;
  for (int w : weights) product *= w;
  int64_t scale = int64_t{1} << (8 * weights.size());
  return static_cast<int>((d * scale + (x - d) * product) / scale);
}

// Packed add and subtract, channels red, green, blue.
inline void PackedAdd32(const int d[3], const int c[3], int out[3]) {
  out[2] = std::min(255, d[2] + c[2]);
  int carry = d[2] + c[2] > 255;
  for (int i : {1, 0}) {
    int sum = (d[i] & 0xFE) + (c[i] & 0xFE);
    out[i] = sum > 255 ? 255 : (sum | (d[i] & 1) | (c[i] & 1) | carry);
    carry = sum > 255;
  }
}
inline void PackedSub32(const int d[3], const int c[3], int out[3]) {
  out[2] = std::max(0, d[2] - c[2]);
  bool below = d[2] < c[2];
  for (int i : {1, 0}) {
    int v = ((d[i] & 0xFE) | (below ? 0 : 1)) - (c[i] & 0xFE);
    out[i] = std::max(0, v);
    below = v < 0;
  }
}
inline void PackedAdd16(const int d[3], const int c[3], int out[3]) {
  out[2] = std::min(31, d[2] + c[2]);
  int blueCarry = d[2] + c[2] > 31;
  int greenSum = (d[1] & 0x3E) + (c[1] & 0x3E);
  int greenBits = (d[1] & 1) | (c[1] & 1) | blueCarry;
  out[1] = greenSum > 63 ? (62 | greenBits) : (greenSum | greenBits);
  int greenCarry = greenSum > 63;
  int redSum = (d[0] & 0x1E) + (c[0] & 0x1E);
  out[0] = redSum > 31 ? 31 : (redSum | (d[0] & 1) | (c[0] & 1) | greenCarry);
}
inline void PackedSub16(const int d[3], const int c[3], int out[3]) {
  out[2] = std::max(0, d[2] - c[2]);
  int green = (d[1] & 0x3E) - (c[1] & 0x3E);
  out[1] = std::max(0, green);
  out[0] = std::max(0, ((d[0] & 0x1E) | (green >= 0 ? 1 : 0)) - (c[0] & 0x1E));
}

inline bool DrawnMode(int mode) { return (mode >= 0 && mode <= 4) || mode == 10 || mode == 11; }
inline bool UsesParameter(int mode) {
  return mode == 1 || mode == 2 || mode == 3 || mode == 10 || mode == 11;
}

// The new destination pixel for an image member.
inline uint32_t ImagePixel(const Draw& q, uint32_t d, uint32_t raw, int grey) {
  int mode = q.mode, p = q.parameter;
  if (!DrawnMode(mode)) return d;
  if ((mode == 1 || mode == 2 || mode == 3) && p == 0) return d;
  if (mode == 1 && p == 255) mode = 0;
  bool wide = q.depth == 32;
  const Layout& layout = wide ? LAYOUT32 : LAYOUT16;
  bool white = q.modulation[0] == 255 && q.modulation[1] == 255 && q.modulation[2] == 255;

  int alpha = 255;
  if (q.kind == ALPHA) alpha = wide ? static_cast<int>(raw >> 24) : static_cast<int>((raw >> 16) & 0xFF);
  if (q.transparent) {
    if (q.kind == ALPHA) {
      if (alpha == 0 && mode <= 3) return d;
    } else if (raw == q.colorKey) {
      return d;
    }
  }
  uint32_t s = q.kind == PALETTE ? (*q.palette)[raw] : raw;
  if (!wide) s &= 0xFFFF;
  int S[3], D[3], out[3];
  for (int i = 0; i < 3; ++i) {
    S[i] = Field(s, layout, i);
    D[i] = Field(d, layout, i);
    if (!white) S[i] = q.modulation[i] * S[i] / 255;
  }

  std::vector<int> weights;
  if (UsesParameter(mode)) weights.push_back(p);
  // An opaque pixel under transparency drops its alpha weight in modes 0 to
  // 4 only; modes 10 and 11 blend by a = 255 too.
  bool alphaWeighs = q.kind == ALPHA && !(q.transparent && alpha == 255 && mode <= 4) &&
                     !(mode == 0 && !q.transparent && white && !q.blendImage);
  if (alphaWeighs) weights.push_back(alpha);
  if (q.blendImage) weights.push_back(q.blendWeights[grey]);
  bool parameterAlone = UsesParameter(mode) && weights.size() == 1;
  int64_t product = 1;
  for (int w : weights) product *= w;
  int n = static_cast<int>(weights.size());
  // A signed step by P alone, on 16-bit channels: d + P * (x - d) / 255.
  auto step = [&](int dc, int x) { return dc + p * (x - dc) / 255; };

  switch (mode) {
    case 0:
      if (weights.empty()) {
        if (white) return s;
        return Compose(S, layout);
      }
      for (int i = 0; i < 3; ++i) out[i] = BlendTo(D[i], S[i], weights);
      return Compose(out, layout);
    case 1:
      if (p == 128 && q.kind != ALPHA && !q.blendImage && white) {
        return wide ? ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F)
                    : ((s >> 1) & 0x7BEF) + ((d >> 1) & 0x7BEF);
      }
      for (int i = 0; i < 3; ++i) {
        if (wide || !parameterAlone) {
          out[i] = BlendTo(D[i], S[i], weights);
        } else if (q.kind != ALPHA) {
          int k = p / 4;
          out[i] = (k * S[i] + (63 - k) * D[i]) / 63;
        } else {
          out[i] = step(D[i], S[i]);
        }
      }
      return Compose(out, layout);
    case 2:
    case 3: {
      if (wide && p == 255 && q.kind != ALPHA && white && !q.blendImage && q.mmx) {
        uint32_t r = 0;
        for (int b = 0; b < 32; b += 8) {
          int x = (d >> b) & 0xFF, y = (s >> b) & 0xFF;
          r |= static_cast<uint32_t>(mode == 2 ? std::min(255, x + y) : std::max(0, x - y)) << b;
        }
        return r;
      }
      int C[3];
      for (int i = 0; i < 3; ++i) {
        C[i] = parameterAlone ? p * S[i] / 255 : static_cast<int>(S[i] * product >> (8 * n));
      }
      if (wide) {
        mode == 2 ? PackedAdd32(D, C, out) : PackedSub32(D, C, out);
      } else {
        mode == 2 ? PackedAdd16(D, C, out) : PackedSub16(D, C, out);
      }
      return Compose(out, layout);
    }
    case 4:
      for (int i = 0; i < 3; ++i) {
        int shift = (wide ? 8 : layout.bits[i]) + 8 * n;
        out[i] = static_cast<int>(D[i] * S[i] * product >> shift);
      }
      return Compose(out, layout);
    case 10:
    case 11:
      for (int i = 0; i < 3; ++i) {
        int top = (1 << layout.bits[i]) - 1;
        int x = mode == 10 ? top - S[i] : (D[i] * S[i]) >> (wide ? 8 : layout.bits[i]);
        out[i] = !wide && parameterAlone ? step(D[i], x) : BlendTo(D[i], x, weights);
      }
      return Compose(out, layout);
  }
  return d;
}

// The new destination pixel for the colour members (fills and lines).
inline uint32_t ColorPixel(int depth, int mode, int p, const int modulation[3], uint32_t d,
                           uint32_t color) {
  if (!DrawnMode(mode)) return d;
  if ((mode == 1 || mode == 2 || mode == 3) && p == 0) return d;
  if (mode == 1 && p == 255) mode = 0;
  bool wide = depth == 32;
  const Layout& layout = wide ? LAYOUT32 : LAYOUT16;
  bool white = modulation[0] == 255 && modulation[1] == 255 && modulation[2] == 255;
  if (!wide) color &= 0xFFFF;
  int C[3], D[3], out[3];
  for (int i = 0; i < 3; ++i) {
    C[i] = Field(color, layout, i);
    D[i] = Field(d, layout, i);
    if (!white) C[i] = C[i] * modulation[i] >> 8;
  }
  if (!white) color = Compose(C, layout);
  auto toward = [&](int dc, int x) {
    return wide ? (dc * 256 + (x - dc) * p) >> 8 : dc + p * (x - dc) / 255;
  };
  switch (mode) {
    case 0: return color;
    case 1:
      for (int i = 0; i < 3; ++i) out[i] = toward(D[i], C[i]);
      return Compose(out, layout);
    case 2:
    case 3: {
      int scaled[3];
      for (int i = 0; i < 3; ++i) scaled[i] = p * C[i] / 255;
      if (wide) {
        mode == 2 ? PackedAdd32(D, scaled, out) : PackedSub32(D, scaled, out);
      } else {
        mode == 2 ? PackedAdd16(D, scaled, out) : PackedSub16(D, scaled, out);
      }
      return Compose(out, layout);
    }
    case 4:
      for (int i = 0; i < 3; ++i) out[i] = D[i] * C[i] >> (wide ? 8 : layout.bits[i]);
      return Compose(out, layout);
    case 10:
    case 11:
      for (int i = 0; i < 3; ++i) {
        int top = (1 << layout.bits[i]) - 1;
        int x = mode == 10 ? top - C[i] : D[i] * C[i] >> (wide ? 8 : layout.bits[i]);
        out[i] = toward(D[i], x);
      }
      return Compose(out, layout);
  }
  return d;
}

}  // namespace reference
