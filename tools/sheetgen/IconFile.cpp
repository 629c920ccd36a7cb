#include "IconFile.h"

#include "PngFile.h"

namespace {

constexpr uint32_t DIRECTORY_BYTES = 6, ENTRY_BYTES = 16, BITMAP_HEADER_BYTES = 40;
constexpr int PNG_FROM_SIZE = 256;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(uint8_t(value));
  out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A bitmap as icons store it: the information header with twice the height
// (the colour rows and the mask rows), the colour rows bottom-up in BGRA,
// then the 1-bit mask that marks the transparent pixels for systems that
// ignore alpha, each mask row padded to four bytes.
std::vector<uint8_t> EncodeIconBitmap(const Image& image) {
  const int size = image.width();
  const uint32_t maskRowBytes = ((uint32_t(size) + 31) / 32) * 4;
  const uint32_t colourBytes = uint32_t(size) * size * 4, maskBytes = maskRowBytes * size;
  std::vector<uint8_t> out;
  out.reserve(BITMAP_HEADER_BYTES + colourBytes + maskBytes);
  Put32(out, BITMAP_HEADER_BYTES);
  Put32(out, uint32_t(size));
  Put32(out, uint32_t(size) * 2);
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, colourBytes + maskBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const Rgb c = image.straight(x, y);
      out.insert(out.end(), {c.b, c.g, c.r, image.alpha(x, y)});
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskRowBytes, 0);
    for (int x = 0; x < size; ++x)
      if (image.alpha(x, y) == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<Image>& images) {
  std::vector<std::vector<uint8_t>> encoded;
  for (const Image& image : images) {
    if (image.width() != image.height() || image.width() < 1 || image.width() > 256) return {};
    encoded.push_back(image.width() >= PNG_FROM_SIZE ? EncodePng(image) : EncodeIconBitmap(image));
    if (encoded.back().empty()) return {};
  }
  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, uint32_t(images.size()));
  uint32_t offset = DIRECTORY_BYTES + ENTRY_BYTES * uint32_t(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const int size = images[i].width();
    // 256 is written as 0: the field is one byte.
    out.push_back(uint8_t(size & 0xFF));
    out.push_back(uint8_t(size & 0xFF));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, uint32_t(encoded[i].size()));
    Put32(out, offset);
    offset += uint32_t(encoded[i].size());
  }
  for (const auto& bytes : encoded) out.insert(out.end(), bytes.begin(), bytes.end());
  return out;
}
