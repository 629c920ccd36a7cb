// A decoded picture: pixels top row first in a ColorFormat, owned by the
// image (tracked allocator), possibly held as DXT blocks.
#pragma once

#include "engine/images/ColorFormat.h"

struct PixelImage {
  ColorFormat format;
  // 0 plain pixels; 1 to 5: DXT1 to DXT5 blocks (from DDS files).
  int blockCompression;
  int width, height;
  int pitch;  // bytes from one row to the next
  void* pixels;
  int mipCount;  // mip levels held after the first
};

// Copies the format (and blockCompression) of `format`, pitch =
// width * bytesPerPixel rounded up to 4, allocates pitch * height bytes.
int CreatePixelImage(int width, int height, const PixelImage* format, PixelImage* image);
int CreatePixelImage(int width, int height, const ColorFormat* format, PixelImage* image);
int CreateXrgb8PixelImage(int width, int height, PixelImage* image);
int CreateArgb8PixelImage(int width, int height, PixelImage* image);
// Frees the pixels and clears the whole record.
void ReleasePixelImage(PixelImage* image);

// Zero bytes over the rectangle.
int ClearPixelRect(PixelImage* image, int x, int y, int width, int height);
int GetPixelColor(PixelImage* image, int x, int y, int* red, int* green, int* blue, int* alpha);
int SetPixelColor(PixelImage* image, int x, int y, int red, int green, int blue, int alpha);

// Replaces DXT1-DXT5 blocks by ARGB8 pixels (mip levels are dropped). An
// image that is not block compressed is left as it is. 0 / -1.
int ExpandBlockCompressed(PixelImage* image);
// Size in bytes of a block-compressed level of this size.
int64_t BlockCompressedLevelSize(int blockCompression, int width, int height);
