#include "engine/images/PixelImage.h"

#include <cstring>

#include "engine/images/ImageLimits.h"
#include "engine/services/Memory.h"

namespace {

bool InsideImage(const PixelImage& image, int x, int y) {
  return x >= 0 && y >= 0 && x < image.width && y < image.height;
}

uint8_t* PixelAddress(const PixelImage& image, int x, int y) {
  return static_cast<uint8_t*>(image.pixels) + static_cast<ptrdiff_t>(y) * image.pitch +
         static_cast<ptrdiff_t>(x) * image.format.bytesPerPixel;
}

}  // namespace

int CreatePixelImage(int width, int height, const ColorFormat* format, PixelImage* image) {
  if (width < 0 || height < 0 || format == nullptr) return -1;
  int64_t pitch = 0, bytes = 0;
  if (!ImageBufferSize(width, height, format->bytesPerPixel, 4, &pitch, &bytes)) return -1;
  void* pixels = MemAlloc(bytes > 0 ? static_cast<size_t>(bytes) : 1, "", 0);
  if (pixels == nullptr) return -1;
  std::memset(image, 0, sizeof *image);
  image->format = *format;
  image->width = width;
  image->height = height;
  image->pitch = static_cast<int>(pitch);
  image->pixels = pixels;
  return 0;
}

int CreatePixelImage(int width, int height, const PixelImage* format, PixelImage* image) {
  if (format == nullptr) return -1;
  int compression = format->blockCompression;
  ColorFormat copy = format->format;  // format may be image itself
  if (CreatePixelImage(width, height, &copy, image) != 0) return -1;
  image->blockCompression = compression;
  return 0;
}

int CreateXrgb8PixelImage(int width, int height, PixelImage* image) {
  ColorFormat format{};
  SetXrgb8ColorFormat(&format);
  return CreatePixelImage(width, height, &format, image);
}

int CreateArgb8PixelImage(int width, int height, PixelImage* image) {
  ColorFormat format{};
  SetArgb8ColorFormat(&format);
  return CreatePixelImage(width, height, &format, image);
}

void ReleasePixelImage(PixelImage* image) {
  if (image == nullptr) return;
  MemFree(image->pixels);
  std::memset(image, 0, sizeof *image);
}

int ClearPixelRect(PixelImage* image, int x, int y, int width, int height) {
  if (image == nullptr || image->pixels == nullptr || width <= 0 || height <= 0) return -1;
  if (ExpandBlockCompressed(image) != 0) return -1;
  if (x < 0 || y < 0 || x + static_cast<int64_t>(width) > image->width ||
      y + static_cast<int64_t>(height) > image->height) {
    return -1;
  }
  size_t rowBytes = static_cast<size_t>(width) * image->format.bytesPerPixel;
  for (int row = 0; row < height; ++row) std::memset(PixelAddress(*image, x, y + row), 0, rowBytes);
  return 0;
}

int GetPixelColor(PixelImage* image, int x, int y, int* red, int* green, int* blue, int* alpha) {
  if (image == nullptr || image->pixels == nullptr) return -1;
  if (ExpandBlockCompressed(image) != 0) return -1;
  if (!InsideImage(*image, x, y)) return -1;
  uint32_t value = ReadPixelValue(PixelAddress(*image, x, y), image->format.bytesPerPixel);
  if (IsPaletteFormat(image->format)) {
    const uint8_t* entry = image->format.palette[value & 0xFF];
    if (red) *red = entry[2];
    if (green) *green = entry[1];
    if (blue) *blue = entry[0];
    if (alpha) *alpha = entry[3];
    return 0;
  }
  DecodeColor(image->format, value, red, green, blue, alpha);
  return 0;
}

int SetPixelColor(PixelImage* image, int x, int y, int red, int green, int blue, int alpha) {
  if (image == nullptr || image->pixels == nullptr) return -1;
  if (ExpandBlockCompressed(image) != 0) return -1;
  if (!InsideImage(*image, x, y)) return -1;
  uint32_t value = EncodeColor(image->format, red, green, blue, alpha);
  WritePixelValue(PixelAddress(*image, x, y), image->format.bytesPerPixel, value);
  return 0;
}
