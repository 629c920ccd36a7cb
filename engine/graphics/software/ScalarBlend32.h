// One 32-bit pixel blended toward another, channel by channel, in the
// exact forms of the mode formulas; the vector loops finish their rows with
// these.
#pragma once

#include <cstdint>

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
