// Helpers shared by the image tests: formats by name, images over plain
// vectors, and a StreamSource over a byte vector.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/files/StreamSource.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"

namespace imagetest {

inline ColorFormat Generic(int bits, uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
  ColorFormat f{};
  SetGenericColorFormat(&f, bits, r, g, b, a);
  return f;
}
inline ColorFormat Argb8() { ColorFormat f{}; SetArgb8ColorFormat(&f); return f; }
inline ColorFormat Xrgb8() { ColorFormat f{}; SetXrgb8ColorFormat(&f); return f; }
inline ColorFormat FullColor() { ColorFormat f{}; SetFullColorFormat(&f); return f; }
inline ColorFormat Gray() { ColorFormat f{}; SetGrayColorFormat(&f); return f; }
inline ColorFormat Palette(std::mt19937& random) {
  ColorFormat f{};
  SetPaletteColorFormat(&f);
  for (auto& entry : f.palette)
    for (auto& byte : entry) byte = static_cast<uint8_t>(random());
  return f;
}
inline ColorFormat R5G6B5() { return Generic(16, 0xF800, 0x7E0, 0x1F, 0); }
inline ColorFormat A1R5G5B5() { return Generic(16, 0x7C00, 0x3E0, 0x1F, 0x8000); }

// A stream over bytes the caller keeps alive: the fread contract, seeks
// clamped to the data.
struct VectorStream {
  const std::vector<uint8_t>* data;
  int32_t position = 0;
  bool atEnd = false;
  int reads = 0;
};

inline VectorStream& AsStream(StreamHandle handle) { return *reinterpret_cast<VectorStream*>(handle); }

inline StreamSource MakeVectorSource(VectorStream* stream) {
  StreamOps ops{};
  ops.Tell = [](StreamHandle h) { return AsStream(h).position; };
  ops.Seek = [](StreamHandle h, int32_t offset, int origin) {
    VectorStream& s = AsStream(h);
    int64_t base = origin == STREAM_SEEK_CUR ? s.position
                   : origin == STREAM_SEEK_END ? static_cast<int64_t>(s.data->size())
                                               : 0;
    int64_t target = base + offset;
    if (target < 0) target = 0;
    if (target > static_cast<int64_t>(s.data->size())) target = static_cast<int64_t>(s.data->size());
    s.position = static_cast<int32_t>(target);
    s.atEnd = false;
    return 0;
  };
  ops.Read = [](void* destination, size_t size, size_t count, StreamHandle h) -> size_t {
    VectorStream& s = AsStream(h);
    ++s.reads;
    size_t left = s.data->size() - static_cast<size_t>(s.position);
    if (size == 0 || count == 0) return 0;
    if (left == 0) {
      s.atEnd = true;
      return 0;
    }
    size_t whole = left / size < count ? left / size : count;
    size_t bytes = whole * size;
    if (whole == 0) bytes = left;  // less than one element: the rest, counted as 1
    std::memcpy(destination, s.data->data() + s.position, bytes);
    s.position += static_cast<int32_t>(bytes);
    return whole == 0 ? 1 : whole;
  };
  ops.Eof = [](StreamHandle h) { return AsStream(h).atEnd ? 1 : 0; };
  ops.IsIdle = [](StreamHandle) { return 1; };
  ops.Close = [](StreamHandle) { return 0; };
  return StreamSource{ops, reinterpret_cast<StreamHandle>(stream)};
}

// 0xAARRGGBB of a pixel through GetPixelColor.
inline uint32_t PixelArgb(PixelImage* image, int x, int y) {
  int r = -1, g = -1, b = -1, a = -1;
  if (GetPixelColor(image, x, y, &r, &g, &b, &a) != 0) return 0xDEADBEEF;
  return (static_cast<uint32_t>(a) << 24) | (r << 16) | (g << 8) | b;
}

}  // namespace imagetest
