// How a pixel's bits hold red, green, blue and alpha, or that pixels are
// indices into a 256-entry palette; the standard layouts and the conversion
// of single colour values between layouts.
#pragma once

#include <cstddef>
#include <cstdint>

struct ColorFormat {
  uint16_t bitsPerPixel;   // 8, 16, 24 or 32
  uint16_t bytesPerPixel;  // bitsPerPixel / 8
  uint8_t redWidth, greenWidth, blueWidth, alphaWidth;  // 0: channel absent
  uint8_t redShift, greenShift, blueShift, alphaShift;  // lowest bit of the channel
  uint32_t redMask, greenMask, blueMask, alphaMask;
  // Bits that belong to no channel; every encoded pixel has them set.
  uint32_t noneMask;
  // Blue, green, red, alpha per entry (0xAARRGGBB read little-endian);
  // used by 8-bit palette formats.
  uint8_t palette[256][4];
  uint8_t noneShift, noneWidth;
};

struct PixelImage;

// The standard formats. The masks of the palette and gray formats describe
// the palette entries (read as 32-bit values), not the 8-bit pixels.
void SetPaletteColorFormat(ColorFormat* format);  // palette left unchanged
void SetXrgb8ColorFormat(ColorFormat* format);
void SetArgb8ColorFormat(ColorFormat* format);
void SetFullColorFormat(ColorFormat* format);     // 24-bit, no alpha
void SetGrayColorFormat(ColorFormat* format);     // palette entry i = (i, i, i, 0)
// Any layout: shifts and widths from the masks, noneMask = the bits of the
// pixel outside all four masks.
void SetGenericColorFormat(ColorFormat* format, int bitsPerPixel, uint32_t redMask,
                           uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask);
// The same builders for an image's format; they also clear its blockCompression.
void SetPaletteColorFormat(PixelImage* image);
void SetXrgb8ColorFormat(PixelImage* image);
void SetArgb8ColorFormat(PixelImage* image);
void SetFullColorFormat(PixelImage* image);
void SetGrayColorFormat(PixelImage* image);
void SetGenericColorFormat(PixelImage* image, int bitsPerPixel, uint32_t redMask,
                           uint32_t greenMask, uint32_t blueMask, uint32_t alphaMask);

// noneMask: 0 when the four widths fill bitsPerPixel, else the pixel's bits
// outside the four masks (noneShift and noneWidth follow).
void RecomputeNoneMask(ColorFormat* format);

// True for 8-bit formats whose pixels are palette indices: their masks
// describe 32-bit palette entries (the palette and gray formats, the
// software renderer's palette stores). An 8-bit format whose masks lie in
// the low byte (3-3-2, single channel) holds its colour in the pixel itself.
bool IsPaletteFormat(const ColorFormat& format);

// The pixel value of a colour (each component 0-255). Palette formats give
// the index of the nearest entry (lowest index on ties).
uint32_t EncodeColor(const ColorFormat& format, int red, int green, int blue, int alpha);
// The components of a pixel value, widened to 0-255; absent alpha gives 0.
// Any output may be null.
void DecodeColor(const ColorFormat& format, uint32_t value, int* red, int* green, int* blue,
                 int* alpha);
// A pixel value moved into another layout by plain shifts; a source without
// alpha gives full destination alpha.
uint32_t ConvertColor(const ColorFormat& destination, const ColorFormat& source, uint32_t value);

// Little-endian pixel access of 1 to 4 bytes (inline: the conversion loops
// call them once per pixel).
inline uint32_t ReadPixelValue(const uint8_t* pixel, int bytesPerPixel) {
  switch (bytesPerPixel) {
    case 1: return pixel[0];
    case 2: return static_cast<uint32_t>(pixel[0] | (pixel[1] << 8));
    case 3: return pixel[0] | (pixel[1] << 8) | (static_cast<uint32_t>(pixel[2]) << 16);
    case 4: return pixel[0] | (pixel[1] << 8) | (pixel[2] << 16) | (static_cast<uint32_t>(pixel[3]) << 24);
    default: return 0;
  }
}

inline void WritePixelValue(uint8_t* pixel, int bytesPerPixel, uint32_t value) {
  switch (bytesPerPixel) {
    case 4: pixel[3] = static_cast<uint8_t>(value >> 24); [[fallthrough]];
    case 3: pixel[2] = static_cast<uint8_t>(value >> 16); [[fallthrough]];
    case 2: pixel[1] = static_cast<uint8_t>(value >> 8); [[fallthrough]];
    case 1: pixel[0] = static_cast<uint8_t>(value); break;
    default: break;
  }
}
