#include "tests/data/BmpFile.h"

#include <fstream>
#include <iterator>

namespace {

uint32_t Read32(const std::vector<uint8_t>& d, size_t at) {
  return uint32_t(d[at]) | uint32_t(d[at + 1]) << 8 | uint32_t(d[at + 2]) << 16 |
         uint32_t(d[at + 3]) << 24;
}

uint16_t Read16(const std::vector<uint8_t>& d, size_t at) {
  return uint16_t(d[at] | d[at + 1] << 8);
}

}  // namespace

std::string ReadBmpFile(const std::string& path, BmpFile& bmp) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open " + path;
  const std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') return "not a BMP file";
  const uint32_t pixelOffset = Read32(d, 10);
  const uint32_t infoSize = Read32(d, 14);
  if (infoSize < 40) return "old-style information header";
  const int32_t width = int32_t(Read32(d, 18));
  const int32_t signedHeight = int32_t(Read32(d, 22));
  bmp.bitsPerPixel = Read16(d, 28);
  bmp.compression = Read32(d, 30);
  if (Read16(d, 26) != 1) return "planes is not 1";
  if (bmp.bitsPerPixel != 24 || bmp.compression != 0) return "not uncompressed 24-bit";
  if (width <= 0 || signedHeight == 0 || width > 65536 || signedHeight > 65536 ||
      signedHeight < -65536)
    return "bad dimensions";
  const bool bottomUp = signedHeight > 0;
  const int height = bottomUp ? signedHeight : -signedHeight;
  const uint64_t rowBytes = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
  if (pixelOffset < 14 + infoSize || pixelOffset + rowBytes * uint64_t(height) > d.size())
    return "pixel data outside the file";
  bmp.width = width;
  bmp.height = height;
  bmp.pixels.assign(size_t(width) * height, BmpPixel{});
  for (int y = 0; y < height; ++y) {
    const size_t row = pixelOffset + size_t(rowBytes) * size_t(bottomUp ? height - 1 - y : y);
    for (int x = 0; x < width; ++x) {
      const size_t at = row + size_t(x) * 3;
      bmp.pixels[size_t(y) * width + x] = BmpPixel{d[at + 2], d[at + 1], d[at]};
    }
  }
  return "";
}
