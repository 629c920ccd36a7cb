// Plain, scaled and mirrored copies of pixel images.
#include "engine/images/PixelCopy.h"

#include <algorithm>
#include <cstring>

#include "engine/images/ConvertPixels.h"

namespace {

bool InsideImage(const PixelImage& image, int x1, int y1, int x2, int y2) {
  return x1 >= 0 && y1 >= 0 && x1 < x2 && y1 < y2 && x2 <= image.width && y2 <= image.height;
}

struct Rgba {
  int r, g, b, a;
};

Rgba ReadColor(PixelImage* image, int x, int y) {
  Rgba c{};
  GetPixelColor(image, x, y, &c.r, &c.g, &c.b, &c.a);
  return c;
}

void ScaleNearest(PixelImage* source, int sx1, int sy1, uint32_t stepX, uint32_t stepY,
                  PixelImage* destination, int dx1, int dy1, int dx2, int dy2) {
  uint32_t v = static_cast<uint32_t>(sy1) << 16;
  for (int y = dy1; y < dy2; ++y, v += stepY) {
    uint32_t u = static_cast<uint32_t>(sx1) << 16;
    for (int x = dx1; x < dx2; ++x, u += stepX) {
      Rgba c = ReadColor(source, static_cast<int>(u >> 16), static_cast<int>(v >> 16));
      SetPixelColor(destination, x, y, c.r, c.g, c.b, c.a);
    }
  }
}

// Neighbours beyond the source image repeat its last column or row.
void ScaleBilinear(PixelImage* source, int sx1, int sy1, uint32_t stepX, uint32_t stepY,
                   PixelImage* destination, int dx1, int dy1, int dx2, int dy2) {
  uint32_t v = static_cast<uint32_t>(sy1) << 16;
  for (int y = dy1; y < dy2; ++y, v += stepY) {
    uint32_t u = static_cast<uint32_t>(sx1) << 16;
    for (int x = dx1; x < dx2; ++x, u += stepX) {
      int px = static_cast<int>(u >> 16), py = static_cast<int>(v >> 16);
      int qx = std::min(px + 1, source->width - 1), qy = std::min(py + 1, source->height - 1);
      uint32_t fx = u & 0xFFFF, fy = v & 0xFFFF;
      uint32_t w11 = fx * fy >> 16;
      uint32_t w01 = (0xFFFF - fx) * fy >> 16;
      uint32_t w10 = (0xFFFF - fy) * fx >> 16;
      uint32_t w00 = (0xFFFF - fy) * (0xFFFF - fx) >> 16;
      Rgba p00 = ReadColor(source, px, py), p10 = ReadColor(source, qx, py);
      Rgba p01 = ReadColor(source, px, qy), p11 = ReadColor(source, qx, qy);
      auto mix = [&](int Rgba::*channel) {
        return static_cast<int>((w11 * static_cast<uint32_t>(p11.*channel) +
                                 w01 * static_cast<uint32_t>(p01.*channel) +
                                 w10 * static_cast<uint32_t>(p10.*channel) +
                                 w00 * static_cast<uint32_t>(p00.*channel)) >> 16);
      };
      SetPixelColor(destination, x, y, mix(&Rgba::r), mix(&Rgba::g), mix(&Rgba::b), mix(&Rgba::a));
    }
  }
}

}  // namespace

int BltPixelImage(int sourceX, int sourceY, int width, int height, int destinationX,
                  int destinationY, PixelImage* source, PixelImage* destination) {
  if (source == nullptr || destination == nullptr) return -1;
  if (ExpandBlockCompressed(source) != 0 || ExpandBlockCompressed(destination) != 0) return -1;
  int64_t sx = sourceX, sy = sourceY, dx = destinationX, dy = destinationY, w = width, h = height;
  if (sx < 0) { w += sx; dx -= sx; sx = 0; }
  if (sy < 0) { h += sy; dy -= sy; sy = 0; }
  if (dx < 0) { w += dx; sx -= dx; dx = 0; }
  if (dy < 0) { h += dy; sy -= dy; dy = 0; }
  w = std::min({w, destination->width - dx, source->width - sx});
  h = std::min({h, destination->height - dy, source->height - sy});
  if (w <= 0 || h <= 0) return 0;
  PixelRect rect{static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sx + w),
                 static_cast<int>(sy + h)};
  return ConvertPixels(destination->pixels, destination->pitch, destination->format,
                       source->pixels, source->pitch, source->format, nullptr, 0, nullptr,
                       static_cast<int>(dx), static_cast<int>(dy), rect, 0, 0, 0, DITHER_NONE, 0,
                       0, 0, 1);
}

int ScaleBltPixelImage(int sourceX1, int sourceY1, int sourceX2, int sourceY2, PixelImage* source,
                       int destinationX1, int destinationY1, int destinationX2,
                       int destinationY2, PixelImage* destination, int bilinear) {
  if (source == nullptr || destination == nullptr) return -1;
  if (ExpandBlockCompressed(source) != 0 || ExpandBlockCompressed(destination) != 0) return -1;
  if (!InsideImage(*source, sourceX1, sourceY1, sourceX2, sourceY2) ||
      !InsideImage(*destination, destinationX1, destinationY1, destinationX2, destinationY2)) {
    return -1;
  }
  int sw = sourceX2 - sourceX1, sh = sourceY2 - sourceY1;
  int dw = destinationX2 - destinationX1, dh = destinationY2 - destinationY1;
  if (sw == dw && sh == dh) {
    return BltPixelImage(sourceX1, sourceY1, sw, sh, destinationX1, destinationY1, source,
                         destination);
  }
  uint32_t stepX = static_cast<uint32_t>((static_cast<uint64_t>(sw) << 16) / dw);
  uint32_t stepY = static_cast<uint32_t>((static_cast<uint64_t>(sh) << 16) / dh);
  if (bilinear) {
    ScaleBilinear(source, sourceX1, sourceY1, stepX, stepY, destination, destinationX1,
                  destinationY1, destinationX2, destinationY2);
  } else {
    ScaleNearest(source, sourceX1, sourceY1, stepX, stepY, destination, destinationX1,
                 destinationY1, destinationX2, destinationY2);
  }
  return 0;
}

int MirrorPixelImage(PixelImage* image) {
  if (image == nullptr || image->pixels == nullptr || image->width <= 0 || image->height <= 0)
    return -1;
  if (ExpandBlockCompressed(image) != 0) return -1;
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 1 || bytes > 4) return -1;
  for (int y = 0; y < image->height; ++y) {
    uint8_t* left = static_cast<uint8_t*>(image->pixels) + static_cast<ptrdiff_t>(y) * image->pitch;
    uint8_t* right = left + static_cast<ptrdiff_t>(image->width - 1) * bytes;
    for (; left < right; left += bytes, right -= bytes) {
      uint8_t held[4];
      std::memcpy(held, left, bytes);
      std::memcpy(left, right, bytes);
      std::memcpy(right, held, bytes);
    }
  }
  return 0;
}
