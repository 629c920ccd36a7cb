#include "engine/images/ColorFormat.h"

#include <cstring>

#include "engine/images/PixelImage.h"

namespace {

// Lowest set bit and the run of set bits from there.
void MaskShape(uint32_t mask, uint8_t* shift, uint8_t* width) {
  *shift = 0;
  *width = 0;
  if (mask == 0) return;
  int s = 0;
  while (((mask >> s) & 1u) == 0) ++s;
  int w = 0;
  while (s + w < 32 && ((mask >> (s + w)) & 1u) != 0) ++w;
  *shift = static_cast<uint8_t>(s);
  *width = static_cast<uint8_t>(w);
}

uint32_t AllPixelBits(int bitsPerPixel) {
  return bitsPerPixel >= 32 ? 0xFFFFFFFFu : (1u << bitsPerPixel) - 1u;
}

// The channel fields of a format, leaving the palette alone.
void SetChannels(ColorFormat* format, int bitsPerPixel, uint32_t redMask, uint32_t greenMask,
                 uint32_t blueMask, uint32_t alphaMask, uint32_t noneMask) {
  format->bitsPerPixel = static_cast<uint16_t>(bitsPerPixel);
  format->bytesPerPixel = static_cast<uint16_t>(bitsPerPixel / 8);
  format->redMask = redMask;
  format->greenMask = greenMask;
  format->blueMask = blueMask;
  format->alphaMask = alphaMask;
  MaskShape(redMask, &format->redShift, &format->redWidth);
  MaskShape(greenMask, &format->greenShift, &format->greenWidth);
  MaskShape(blueMask, &format->blueShift, &format->blueWidth);
  MaskShape(alphaMask, &format->alphaShift, &format->alphaWidth);
  format->noneMask = noneMask;
  MaskShape(noneMask, &format->noneShift, &format->noneWidth);
}

constexpr uint32_t RED8 = 0xFF0000u, GREEN8 = 0xFF00u, BLUE8 = 0xFFu, ALPHA8 = 0xFF000000u;

}  // namespace

void SetPaletteColorFormat(ColorFormat* format) {
  SetChannels(format, 8, RED8, GREEN8, BLUE8, 0, 0xFF000000u);
}

void SetXrgb8ColorFormat(ColorFormat* format) {
  SetChannels(format, 32, RED8, GREEN8, BLUE8, 0, 0xFF000000u);
}

void SetArgb8ColorFormat(ColorFormat* format) {
  SetChannels(format, 32, RED8, GREEN8, BLUE8, ALPHA8, 0);
}

void SetFullColorFormat(ColorFormat* format) {
  SetChannels(format, 24, RED8, GREEN8, BLUE8, 0, 0);
}

void SetGrayColorFormat(ColorFormat* format) {
  SetPaletteColorFormat(format);
  for (int i = 0; i < 256; ++i) {
    format->palette[i][0] = format->palette[i][1] = format->palette[i][2] =
        static_cast<uint8_t>(i);
    format->palette[i][3] = 0;
  }
}

void SetGenericColorFormat(ColorFormat* format, int bitsPerPixel, uint32_t redMask,
                           uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask) {
  uint32_t none = AllPixelBits(bitsPerPixel) & ~(redMask | greenMask | blueMask | alphaMask);
  SetChannels(format, bitsPerPixel, redMask, greenMask, blueMask, alphaMask, none);
}

void SetPaletteColorFormat(PixelImage* image) {
  SetPaletteColorFormat(&image->format);
  image->blockCompression = 0;
}
void SetXrgb8ColorFormat(PixelImage* image) {
  SetXrgb8ColorFormat(&image->format);
  image->blockCompression = 0;
}
void SetArgb8ColorFormat(PixelImage* image) {
  SetArgb8ColorFormat(&image->format);
  image->blockCompression = 0;
}
void SetFullColorFormat(PixelImage* image) {
  SetFullColorFormat(&image->format);
  image->blockCompression = 0;
}
void SetGrayColorFormat(PixelImage* image) {
  SetGrayColorFormat(&image->format);
  image->blockCompression = 0;
}
void SetGenericColorFormat(PixelImage* image, int bitsPerPixel, uint32_t redMask,
                           uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask) {
  SetGenericColorFormat(&image->format, bitsPerPixel, redMask, greenMask, blueMask, alphaMask);
  image->blockCompression = 0;
}

void RecomputeNoneMask(ColorFormat* format) {
  int widths = format->redWidth + format->greenWidth + format->blueWidth + format->alphaWidth;
  uint32_t none = 0;
  if (widths != format->bitsPerPixel) {
    none = AllPixelBits(format->bitsPerPixel) &
           ~(format->redMask | format->greenMask | format->blueMask | format->alphaMask);
  }
  format->noneMask = none;
  MaskShape(none, &format->noneShift, &format->noneWidth);
}

bool IsPaletteFormat(const ColorFormat& format) {
  return format.bytesPerPixel == 1 &&
         ((format.redMask | format.greenMask | format.blueMask | format.alphaMask) & ~0xFFu) != 0;
}
