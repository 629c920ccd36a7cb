// The parts of a BMP file the decoder works from, and the steps it is
// split into (header parsing in BmpDecoder.cpp, run-length data in
// BmpRle.cpp, the conversion of the other variants in BmpDibConversion.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/images/PixelImage.h"

constexpr uint32_t BMP_RGB = 0, BMP_RLE8 = 1, BMP_RLE4 = 2, BMP_BITFIELDS = 3;

struct BmpInfo {
  int32_t width;
  int32_t height;  // the file's value: negative for top-down rows
  int bitCount;
  uint32_t compression;
  uint8_t palette[256][4];  // blue, green, red, reserved; unread entries 0
  int paletteEntries;       // entries the file supplied
  uint32_t masks[3];        // red, green, blue (bit fields, 16 and 32 bits)
  bool topDown() const { return height < 0; }
  int rows() const { return height < 0 ? -height : height; }
};

// The pixel data of the file: everything from the data offset to the end.
struct BmpData {
  const uint8_t* bytes;
  size_t length;
};

// Run-length data into one byte per pixel, pitch (width + 3) & ~3; image
// pixels already allocated and cleared. Stops at the end-of-bitmap code or
// when the data runs out; never writes outside the image.
void DecodeBmpRle8(const BmpInfo& info, const BmpData& data, PixelImage* image);
void DecodeBmpRle4(const BmpInfo& info, const BmpData& data, PixelImage* image);

// 1-bit, 16-bit and bit-field data drawn into a top-down 24-bit image, as
// the platform's DIB conversion does. 0 / -1 (variant the platform refuses,
// or no memory, with its message).
int ConvertBmpToFullColor(const BmpInfo& info, const BmpData& data, PixelImage* image);
