#include "Image.h"

#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

uint8_t Unpremultiply(uint8_t value, uint8_t alpha) {
  const int straight = (value * 255 + alpha / 2) / alpha;
  return uint8_t(straight > 255 ? 255 : straight);
}

}  // namespace

Rgb Image::straight(int x, int y) const {
  const uint8_t a = alpha(x, y);
  if (a == 0) return Rgb{};
  const Rgb& c = at(x, y);
  return Rgb{Unpremultiply(c.r, a), Unpremultiply(c.g, a), Unpremultiply(c.b, a)};
}

bool Image::WriteBmp(const std::string& path) const {
  const uint32_t rowBytes = (uint32_t(width_) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * uint32_t(height_);
  const uint32_t headerBytes = 14 + 40;
  std::vector<uint8_t> file;
  file.reserve(headerBytes + pixelBytes);
  // File header.
  file.push_back('B');
  file.push_back('M');
  Put32(file, headerBytes + pixelBytes);
  Put32(file, 0);
  Put32(file, headerBytes);
  // Information header: positive height, so rows go bottom-up.
  Put32(file, 40);
  Put32(file, uint32_t(width_));
  Put32(file, uint32_t(height_));
  Put16(file, 1);   // planes
  Put16(file, 24);  // bits per pixel
  Put32(file, 0);   // BI_RGB
  Put32(file, pixelBytes);
  Put32(file, 2835);  // 72 dpi
  Put32(file, 2835);
  Put32(file, 0);
  Put32(file, 0);
  for (int y = height_ - 1; y >= 0; --y) {
    for (int x = 0; x < width_; ++x) {
      const Rgb& p = at(x, y);
      file.push_back(p.b);
      file.push_back(p.g);
      file.push_back(p.r);
    }
    for (uint32_t pad = uint32_t(width_) * 3; pad < rowBytes; ++pad) file.push_back(0);
  }
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}
