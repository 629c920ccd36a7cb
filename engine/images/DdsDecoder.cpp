// DirectDraw surface files: DXT1-DXT5 blocks, the numeric Direct3D format
// codes and plain RGB masks, with their mip levels one after another.
#include <cstring>

#include "engine/images/Direct3DFormatLayouts.h"
#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLimits.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

constexpr int HEADER_BYTES = 4 + 124;  // magic and surface description

// Offsets in the file (the description starts after the 4-byte magic).
constexpr int FLAGS = 8, HEIGHT = 12, WIDTH = 16, PITCH = 20, MIP_COUNT = 28;
constexpr int PF_FLAGS = 80, PF_FOURCC = 84, PF_BITS = 88, PF_MASKS = 92, CAPS = 108;

constexpr uint32_t FLAG_PITCH = 0x8, FLAG_MIPMAPCOUNT = 0x20000;
constexpr uint32_t PF_ALPHAPIXELS = 0x1, PF_FOURCC_FLAG = 0x4, PF_RGB = 0x40;
constexpr uint32_t CAPS_COMPLEX = 0x8, CAPS_MIPMAP = 0x400000;
constexpr int MAX_MIP_LEVELS = 32;

uint32_t FourCc(const char* text) {
  return static_cast<uint32_t>(text[0]) | (static_cast<uint32_t>(text[1]) << 8) |
         (static_cast<uint32_t>(text[2]) << 16) | (static_cast<uint32_t>(text[3]) << 24);
}

// The layout of the pixels: fills the format (and blockCompression).
bool TakePixelFormat(const uint8_t* h, PixelImage* image) {
  const uint32_t flags = ReadLe32(h + PF_FLAGS), fourCc = ReadLe32(h + PF_FOURCC);
  if (flags & PF_FOURCC_FLAG) {
    const char* names[5] = {"DXT1", "DXT2", "DXT3", "DXT4", "DXT5"};
    for (int i = 0; i < 5; ++i) {
      if (fourCc != FourCc(names[i])) continue;
      SetArgb8ColorFormat(image);
      image->format.bitsPerPixel = i == 0 ? 4 : 8;
      image->blockCompression = i + 1;
      return true;
    }
  }
  if (flags == PF_FOURCC_FLAG) {
    const Direct3DFormatLayout* f = FindDirect3DFormatLayout(fourCc);
    if (f == nullptr) return false;
    SetGenericColorFormat(image, f->bits, f->red, f->green, f->blue, f->alpha);
    return true;
  }
  if (flags == PF_RGB || flags == (PF_RGB | PF_ALPHAPIXELS)) {
    const uint32_t bits = ReadLe32(h + PF_BITS);
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    // The alpha mask counts only when the file says it has alpha.
    const uint32_t alpha = (flags & PF_ALPHAPIXELS) ? ReadLe32(h + PF_MASKS + 12) : 0;
    SetGenericColorFormat(image, static_cast<int>(bits), ReadLe32(h + PF_MASKS),
                          ReadLe32(h + PF_MASKS + 4), ReadLe32(h + PF_MASKS + 8), alpha);
    return true;
  }
  return false;
}

// Bytes of every level together: block levels as the S3TC layout has them
// (whole 4 x 4 blocks), plain levels with the stated pitch for the first
// and packed rows for the smaller ones. -1 past the size limit.
int64_t AllLevelsBytes(const PixelImage& image, int levels) {
  int64_t total = 0;
  for (int level = 0; level < levels; ++level) {
    int w = image.width >> level, hgt = image.height >> level;
    if (w < 1) w = 1;
    if (hgt < 1) hgt = 1;
    int64_t bytes = image.blockCompression
                        ? BlockCompressedLevelSize(image.blockCompression, w, hgt)
                        : (level == 0 ? static_cast<int64_t>(image.pitch)
                                      : static_cast<int64_t>(w) * image.format.bytesPerPixel) * hgt;
    total += bytes;
    if (total > MAX_IMAGE_BYTES) return -1;
  }
  return total;
}

}  // namespace

int DecodeDdsImage(StreamSource* source, PixelImage* image) {
  const int32_t length = StreamLength(source);
  uint8_t h[HEADER_BYTES];
  if (length < HEADER_BYTES || !ReadAt(source, 0, h, sizeof h)) return -1;
  if (h[0] != 'D' || h[1] != 'D' || h[2] != 'S') return -1;
  if (!TakePixelFormat(h, image)) return -1;

  const uint32_t flags = ReadLe32(h + FLAGS), caps = ReadLe32(h + CAPS);
  const uint32_t width = ReadLe32(h + WIDTH), height = ReadLe32(h + HEIGHT);
  if (width == 0 || height == 0 || width > MAX_IMAGE_DIMENSION || height > MAX_IMAGE_DIMENSION)
    return -1;
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  if (image->blockCompression) {
    image->pitch = 0;
  } else {
    const int64_t packed = static_cast<int64_t>(width) * image->format.bytesPerPixel;
    const int64_t pitch = (flags & FLAG_PITCH) ? ReadLe32(h + PITCH) : packed;
    if (pitch < packed || pitch > MAX_IMAGE_BYTES) return -1;
    image->pitch = static_cast<int>(pitch);
  }
  int levels = 1;
  if ((flags & FLAG_MIPMAPCOUNT) && (caps & CAPS_MIPMAP) && (caps & CAPS_COMPLEX)) {
    uint32_t count = ReadLe32(h + MIP_COUNT);
    if (count > MAX_MIP_LEVELS) return -1;
    if (count > 1) levels = static_cast<int>(count);
  }
  const int64_t bytes = AllLevelsBytes(*image, levels);
  if (bytes <= 0 || bytes > length - HEADER_BYTES) return -1;  // the file must hold every level

  void* pixels = MemAlloc(static_cast<size_t>(bytes), "", 0);
  if (pixels == nullptr) return -1;
  if (ReadBytes(source, pixels, static_cast<size_t>(bytes)) != static_cast<size_t>(bytes)) {
    MemFree(pixels);
    return -1;
  }
  image->pixels = pixels;
  image->mipCount = levels - 1;
  return 0;
}
