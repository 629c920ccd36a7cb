// A reader for the uncompressed 24-bit BMP files of the sheets, written for
// these tests: every size and offset in the headers is checked against the
// bytes actually read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BmpPixel {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const BmpPixel& o) const { return r == o.r && g == o.g && b == o.b; }
  bool IsBlack() const { return r == 0 && g == 0 && b == 0; }
};

struct BmpFile {
  int width = 0, height = 0;
  int bitsPerPixel = 0;
  uint32_t compression = 0;
  std::vector<BmpPixel> pixels;  // top row first

  const BmpPixel& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

// Empty string on success, otherwise why the file was refused.
std::string ReadBmpFile(const std::string& path, BmpFile& bmp);
