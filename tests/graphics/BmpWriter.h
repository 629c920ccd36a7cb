// A minimal 24-bit BMP writer for the tests that load files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace graphicstest {

namespace detail {
inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}
}  // namespace detail

template <typename ColorOf>
void WriteBmp(const std::filesystem::path& path, int width, int height, ColorOf colorOf) {
  using detail::Put16;
  using detail::Put32;
  const uint32_t rowBytes = (uint32_t(width) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * uint32_t(height);
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixelBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, uint32_t(width));
  Put32(out, uint32_t(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, pixelBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int row = height - 1; row >= 0; --row) {
    for (int x = 0; x < width; ++x) {
      uint32_t color = colorOf(x, row);
      out.push_back(uint8_t(color));
      out.push_back(uint8_t(color >> 8));
      out.push_back(uint8_t(color >> 16));
    }
    for (uint32_t pad = uint32_t(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
}

}  // namespace graphicstest
