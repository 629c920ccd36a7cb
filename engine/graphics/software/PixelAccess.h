// Unaligned little-endian pixel loads and stores: views of external pixel
// memory may start anywhere, and memcpy compiles to plain moves.
#pragma once

#include <cstdint>
#include <cstring>

inline uint32_t LoadPixel32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline uint16_t LoadPixel16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline void StorePixel32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void StorePixel16(uint8_t* p, uint32_t v) {
  uint16_t w = static_cast<uint16_t>(v);
  std::memcpy(p, &w, 2);
}
