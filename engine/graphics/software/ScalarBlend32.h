// One 32-bit pixel blended toward another, channel by channel, in the
// exact forms of the mode formulas; the vector loops finish their rows with
// these.
#pragma once

#include <cstdint>

#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/SpanLoops.h"

// d + floor((s - d) * f / 256) per channel, f 0..256; fourth byte 0.
inline uint32_t BlendByWeight(uint32_t d, uint32_t s, uint32_t f) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
    out |= ((dc * (256 - f) + sc * f) >> 8) << shift;
  }
  return out;
}

// d + floor((s - d) * product / 65536) per channel; fourth byte 0.
inline uint32_t BlendByProduct(uint32_t d, uint32_t s, uint32_t product) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t dc = (d >> shift) & 0xFF, sc = (s >> shift) & 0xFF;
    out |= ((dc * 65536 + sc * product - dc * product) >> 16) << shift;
  }
  return out;
}

// Mode 0, alpha source, for a pixel whose alpha is above 0: alpha 255
// copies the source whole, any other blends by alpha.
inline uint32_t AlphaCopyPixel(uint32_t d, uint32_t s) {
  uint32_t alpha = s >> 24;
  return alpha == 255 ? s : BlendByWeight(d, s, alpha);
}

// Mode 1 at P 128: the halves of source and destination added per colour
// byte; fourth byte 0.
inline uint32_t HalvePixel(uint32_t d, uint32_t s) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); }

// Mode 1, alpha source: the weight product of alpha and P; with
// transparency, alpha 255 weighs as 256.
template <bool Transparent>
inline uint32_t AlphaParameterProduct(uint32_t alpha, uint32_t p) {
  return Transparent && alpha == 255 ? p * 256 : alpha * p;
}

// The colour bytes of s modulated by the context's colour (m * s / 255 per
// channel); fourth byte 0.
inline uint32_t ModulatePixel(const SpanContext& c, uint32_t s) {
  return static_cast<uint32_t>(MulTable[c.modulateRed][(s >> 16) & 0xFF]) << 16 |
         static_cast<uint32_t>(MulTable[c.modulateGreen][(s >> 8) & 0xFF]) << 8 |
         static_cast<uint32_t>(MulTable[c.modulateBlue][s & 0xFF]);
}
