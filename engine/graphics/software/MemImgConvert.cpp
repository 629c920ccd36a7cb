#include "engine/graphics/software/MemImgConvert.h"

#include <algorithm>
#include <cstring>

#include "engine/images/ConvertPixels.h"
#include "engine/images/PixelImage.h"

namespace {

// Clips a copy of a width x height rectangle from (sx, sy) of a source of
// size (sw, sh) to (dx, dy) of a destination of size (dw, dh): a negative
// position on either side shortens it and moves the other side along.
// False when nothing is left.
bool ClipCopy(int sw, int sh, int dw, int dh, int* sx, int* sy, int* dx, int* dy, int* width,
              int* height) {
  auto clipAxis = [](int sourceSize, int destinationSize, int* s, int* d, int* size) {
    int64_t skip = std::max<int64_t>({0, -int64_t{*s}, -int64_t{*d}});
    int64_t from = int64_t{*s} + skip, to = int64_t{*d} + skip;
    int64_t length = std::min({int64_t{*size} - skip, sourceSize - from, destinationSize - to});
    if (length <= 0) return false;
    *s = static_cast<int>(from);
    *d = static_cast<int>(to);
    *size = static_cast<int>(length);
    return true;
  };
  return clipAxis(sw, dw, sx, dx, width) && clipAxis(sh, dh, sy, dy, height);
}

// The colour key as 0x00RRGGBB, as the conversion compares it.
uint32_t KeyColor(const MemImgStore& store) {
  if (store.pixelType == MEMIMG_TYPE_COLOR16) {
    int r, g, b;
    DecodeColor(*store.format, store.colorKey & 0xFFFF, &r, &g, &b, nullptr);
    return static_cast<uint32_t>(r << 16 | g << 8 | b);
  }
  return store.colorKey & 0xFFFFFF;
}

// A palette entry of the store as 8-bit blue, green, red.
void PaletteEntryBytes(const MemImgStore& store, int index, uint8_t entry[4]) {
  if (store.pixelType == MEMIMG_TYPE_COLOR32) {
    uint32_t value = ReadPixelValue(store.palette + 4 * index, 4);
    entry[0] = static_cast<uint8_t>(value);
    entry[1] = static_cast<uint8_t>(value >> 8);
    entry[2] = static_cast<uint8_t>(value >> 16);
  } else {
    uint32_t value = ReadPixelValue(store.palette + 2 * index, 2);
    entry[0] = static_cast<uint8_t>((value & 0x1F) * 255 / 31);
    entry[1] = static_cast<uint8_t>(((value >> 5) & 0x3F) * 255 / 63);
    entry[2] = static_cast<uint8_t>(((value >> 11) & 0x1F) * 255 / 31);
  }
  entry[3] = 0;
}

// The store's layout, with its palette in the entries when it has one.
ColorFormat StoreFormat(const MemImgStore& store) {
  ColorFormat format = *store.format;
  if (store.usesPalette) {
    for (int i = 0; i < 256; ++i) PaletteEntryBytes(store, i, format.palette[i]);
  }
  return format;
}

// Writes the image's palette into both halves of the store's block.
void TakePalette(MemImgStore& store, const ColorFormat& imageFormat) {
  bool wide = store.pixelType == MEMIMG_TYPE_COLOR32;
  int bytes = wide ? 4 : 2;
  for (int i = 0; i < 256; ++i) {
    const uint8_t* entry = imageFormat.palette[i];  // blue, green, red, alpha
    uint32_t red = entry[2], green = entry[1], blue = entry[0];
    uint32_t value = wide ? red << 16 | green << 8 | blue : (red >> 3) << 11 | (green >> 2) << 5 | blue >> 3;
    WritePixelValue(store.palette + i * bytes, bytes, value);
    WritePixelValue(store.palette + MEMIMG_PALETTE_BYTES / 2 + i * bytes, bytes, value);
  }
}

}  // namespace

int CopyImageToMemImg(PixelImage* image, const PixelImage* alphaImage, MEMIMG* memimg, int srcX,
                      int srcY, int width, int height, int dstX, int dstY, int useKey) {
  if (image == nullptr || !IsMemImgValid(memimg)) return -1;
  if (ExpandBlockCompressed(image) != 0) return -1;
  if (alphaImage != nullptr && alphaImage->blockCompression != 0) return -1;
  int sourceWidth = image->width, sourceHeight = image->height;
  if (alphaImage != nullptr) {
    sourceWidth = std::min(sourceWidth, alphaImage->width);
    sourceHeight = std::min(sourceHeight, alphaImage->height);
  }
  if (!ClipCopy(sourceWidth, sourceHeight, memimg->width, memimg->height, &srcX, &srcY, &dstX,
                &dstY, &width, &height)) {
    return -1;
  }
  MemImgStore& store = *memimg->store;
  PixelRect rect{srcX, srcY, srcX + width, srcY + height};
  int result = ConvertPixels(memimg->pixels, store.pitch, *store.format, image->pixels,
                             image->pitch, image->format,
                             alphaImage != nullptr ? alphaImage->pixels : nullptr,
                             alphaImage != nullptr ? alphaImage->pitch : 0,
                             alphaImage != nullptr ? &alphaImage->format : nullptr, dstX, dstY,
                             rect, 0, useKey != 0 ? 1 : 0, KeyColor(store), DITHER_NONE, 0, 0, 0,
                             0);
  if (result < 0) return result;
  if (store.usesPalette) TakePalette(store, image->format);
  return result;
}

int ConvertMemImg(MEMIMG* destination, const MEMIMG* source, const Rect* sourceRect, int x,
                  int y) {
  if (!IsMemImgValid(destination) || !IsMemImgValid(source)) return -1;
  Rect from = sourceRect != nullptr ? *sourceRect : Rect{0, 0, source->width, source->height};
  int sx = from.left, sy = from.top;
  int width = from.right - from.left, height = from.bottom - from.top;
  if (!ClipCopy(source->width, source->height, destination->width, destination->height, &sx, &sy,
                &x, &y, &width, &height)) {
    return -1;
  }
  ColorFormat sourceFormat = StoreFormat(*source->store);
  ColorFormat destinationFormat = StoreFormat(*destination->store);
  PixelRect rect{sx, sy, sx + width, sy + height};
  return ConvertPixels(destination->pixels, destination->store->pitch, destinationFormat,
                       source->pixels, source->store->pitch, sourceFormat, nullptr, 0, nullptr, x, y,
                       rect, 0, 0, 0, DITHER_NONE, 0, 0, 0, 0);
}
