// DXT1 to DXT5 (S3TC) blocks expanded to ARGB8 pixels. Each 4 x 4 block
// holds two 5-6-5 end colours and 2-bit indices; DXT2/3 add explicit 4-bit
// alpha, DXT4/5 two end alphas and 3-bit indices. DXT2 and DXT4 (alpha
// premultiplied) are expanded as stored.
#include <cstring>

#include "engine/images/ImageLimits.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Memory.h"

namespace {

struct Rgb {
  int r, g, b;
};

Rgb From565(uint16_t value) {
  int r = (value >> 11) & 31, g = (value >> 5) & 63, b = value & 31;
  return {(r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)};
}

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Argb(int a, const Rgb& c) {
  return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(c.r) << 16) |
         (static_cast<uint32_t>(c.g) << 8) | static_cast<uint32_t>(c.b);
}

// The four colours of a colour block; DXT1 with c0 <= c1 has three colours
// and transparent black.
void DecodeColorBlock(const uint8_t* block, bool allowTransparent, uint32_t out[16]) {
  uint16_t v0 = Read16(block), v1 = Read16(block + 2);
  Rgb c0 = From565(v0), c1 = From565(v1);
  uint32_t palette[4];
  palette[0] = Argb(255, c0);
  palette[1] = Argb(255, c1);
  if (v0 > v1 || !allowTransparent) {
    palette[2] = Argb(255, {(2 * c0.r + c1.r) / 3, (2 * c0.g + c1.g) / 3, (2 * c0.b + c1.b) / 3});
    palette[3] = Argb(255, {(c0.r + 2 * c1.r) / 3, (c0.g + 2 * c1.g) / 3, (c0.b + 2 * c1.b) / 3});
  } else {
    palette[2] = Argb(255, {(c0.r + c1.r) / 2, (c0.g + c1.g) / 2, (c0.b + c1.b) / 2});
    palette[3] = 0;
  }
  uint32_t indices = block[4] | (block[5] << 8) | (block[6] << 16) |
                     (static_cast<uint32_t>(block[7]) << 24);
  for (int i = 0; i < 16; ++i) out[i] = palette[(indices >> (2 * i)) & 3];
}

void ApplyExplicitAlpha(const uint8_t* block, uint32_t pixels[16]) {
  for (int i = 0; i < 16; ++i) {
    int nibble = (block[i / 2] >> ((i & 1) * 4)) & 15;
    pixels[i] = (pixels[i] & 0xFFFFFFu) | (static_cast<uint32_t>(nibble * 17) << 24);
  }
}

void ApplyInterpolatedAlpha(const uint8_t* block, uint32_t pixels[16]) {
  int a0 = block[0], a1 = block[1];
  int alphas[8] = {a0, a1};
  if (a0 > a1) {
    for (int i = 1; i < 7; ++i) alphas[i + 1] = ((7 - i) * a0 + i * a1) / 7;
  } else {
    for (int i = 1; i < 5; ++i) alphas[i + 1] = ((5 - i) * a0 + i * a1) / 5;
    alphas[6] = 0;
    alphas[7] = 255;
  }
  uint64_t indices = 0;
  for (int i = 0; i < 6; ++i) indices |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
  for (int i = 0; i < 16; ++i) {
    int a = alphas[(indices >> (3 * i)) & 7];
    pixels[i] = (pixels[i] & 0xFFFFFFu) | (static_cast<uint32_t>(a) << 24);
  }
}

int BlockBytes(int blockCompression) { return blockCompression == 1 ? 8 : 16; }

void DecodeBlock(int blockCompression, const uint8_t* block, uint32_t pixels[16]) {
  if (blockCompression == 1) {
    DecodeColorBlock(block, true, pixels);
  } else if (blockCompression <= 3) {
    DecodeColorBlock(block + 8, false, pixels);
    ApplyExplicitAlpha(block, pixels);
  } else {
    DecodeColorBlock(block + 8, false, pixels);
    ApplyInterpolatedAlpha(block, pixels);
  }
}

}  // namespace

int64_t BlockCompressedLevelSize(int blockCompression, int width, int height) {
  if (blockCompression < 1 || blockCompression > 5 || width < 0 || height < 0) return 0;
  int64_t across = (static_cast<int64_t>(width) + 3) / 4;
  int64_t down = (static_cast<int64_t>(height) + 3) / 4;
  return across * down * BlockBytes(blockCompression);
}

int ExpandBlockCompressed(PixelImage* image) {
  if (image == nullptr) return -1;
  if (image->blockCompression == 0) return 0;
  if (image->blockCompression < 1 || image->blockCompression > 5 || image->pixels == nullptr)
    return -1;
  int64_t pitch = 0, bytes = 0;
  if (!ImageBufferSize(image->width, image->height, 4, 1, &pitch, &bytes)) return -1;
  uint8_t* expanded = static_cast<uint8_t*>(MemAlloc(bytes > 0 ? static_cast<size_t>(bytes) : 1, "", 0));
  if (expanded == nullptr) return -1;

  const uint8_t* block = static_cast<const uint8_t*>(image->pixels);
  const int step = BlockBytes(image->blockCompression);
  for (int by = 0; by < image->height; by += 4) {
    for (int bx = 0; bx < image->width; bx += 4, block += step) {
      uint32_t texels[16];
      DecodeBlock(image->blockCompression, block, texels);
      for (int y = 0; y < 4 && by + y < image->height; ++y) {
        uint8_t* row = expanded + (by + y) * pitch;
        for (int x = 0; x < 4 && bx + x < image->width; ++x)
          std::memcpy(row + (bx + x) * 4, &texels[y * 4 + x], 4);
      }
    }
  }
  MemFree(image->pixels);
  image->pixels = expanded;
  image->pitch = static_cast<int>(pitch);
  image->blockCompression = 0;
  image->mipCount = 0;
  SetArgb8ColorFormat(&image->format);
  return 0;
}
