#include "engine/graphics/software/MemImg.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgFormats.h"
#include "engine/images/ImageLimits.h"
#include "engine/services/Memory.h"

namespace {

// Row size of an automatic pitch: rounded up to 16 bytes.
constexpr int64_t AUTOMATIC_PITCH_ALIGNMENT = 16;

void FreeStore(MemImgStore* store) {
  if (!store->externalPixels) MemFree(store->pixelStore);
  MemFree(store->palette);
  MemFree(store);
}

// The pixel's BYTES bytes as stored: the low bytes of VALUE, lowest first.
struct PixelBytes {
  uint8_t bytes[4];
  int size;
  bool AllAlike() const {
    for (int i = 1; i < size; ++i)
      if (bytes[i] != bytes[0]) return false;
    return true;
  }
};

PixelBytes SplitPixel(uint32_t value, int size) {
  PixelBytes pixel{{}, size};
  for (int i = 0; i < size; ++i) pixel.bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  return pixel;
}

// Fills TOTAL bytes with copies of the pixel: one pixel, then what is
// filled copied onto as much again at each step, so it runs at memcpy's
// pace rather than a pixel at a time.
void FillRow(uint8_t* row, size_t total, const PixelBytes& pixel) {
  std::memcpy(row, pixel.bytes, static_cast<size_t>(pixel.size));
  for (size_t filled = static_cast<size_t>(pixel.size); filled < total;) {
    const size_t step = std::min(filled, total - filled);
    std::memcpy(row + filled, row, step);
    filled += step;
  }
}

}  // namespace

int MemImgBytesPerPixel(int pixelType, bool usesPalette, bool hasAlpha) {
  switch (pixelType) {
    case MEMIMG_TYPE_COLOR16: return usesPalette ? 1 : hasAlpha ? 4 : 2;
    case MEMIMG_TYPE_COLOR32: return usesPalette ? 1 : 4;
    case MEMIMG_TYPE_GRAY8: return 1;
    case MEMIMG_TYPE_GRAY16: return 2;
    default: return 0;
  }
}

int MemImgBytesPerPixel(const MemImgStore& store) {
  return MemImgBytesPerPixel(store.pixelType, store.usesPalette, store.hasAlpha);
}

int CreateMemImg(MEMIMG* memimg, int width, int height, int pitch, uint32_t colorKey,
                 int pixelType, int usesPalette, int hasAlpha, void* externalPixels) {
  if (memimg == nullptr || memimg->initTag == MEMIMG_INIT_TAG) return -1;
  if (pixelType < MEMIMG_TYPE_COLOR16 || pixelType > MEMIMG_TYPE_GRAY16) return -1;
  bool singleChannel = pixelType == MEMIMG_TYPE_GRAY8 || pixelType == MEMIMG_TYPE_GRAY16;
  bool palette = usesPalette != 0 && !singleChannel;
  bool alpha = hasAlpha != 0 && !singleChannel && !palette;
  int bytesPerPixel = MemImgBytesPerPixel(pixelType, palette, alpha);

  // The size is checked before anything is allocated: a pitch too small for
  // a row would make the last rows run past the pixel block.
  int64_t rowBytes = 0;
  int64_t totalBytes = 0;
  if (!ImageBufferSize(width, height, bytesPerPixel, 1, &rowBytes, &totalBytes)) return -1;
  int64_t rowPitch = pitch;
  if (pitch == -1) {
    rowPitch = (rowBytes + AUTOMATIC_PITCH_ALIGNMENT - 1) / AUTOMATIC_PITCH_ALIGNMENT *
               AUTOMATIC_PITCH_ALIGNMENT;
  } else if (pitch < rowBytes) {
    return -1;
  }
  totalBytes = rowPitch * height;
  if (totalBytes > MAX_IMAGE_BYTES) return -1;

  // A record that is not valid carries no store worth keeping: its store
  // pointer may be left over from a released view.
  auto* store = static_cast<MemImgStore*>(MemCalloc(sizeof(MemImgStore), "", 0));
  if (store == nullptr) return -1;
  store->refCount = 1;
  store->width = width;
  store->height = height;
  store->pitch = static_cast<int>(rowPitch);
  store->colorKey = colorKey;
  store->pixelType = pixelType;
  store->usesPalette = palette;
  store->hasAlpha = alpha;
  store->format = MemImgColorFormat(pixelType, alpha, palette);
  if (palette) {
    store->palette = static_cast<uint8_t*>(MemCalloc(MEMIMG_PALETTE_BYTES, "", 0));
    if (store->palette == nullptr) {
      FreeStore(store);
      return -1;
    }
  }
  if (externalPixels != nullptr) {
    store->externalPixels = true;
    store->pixelStore = static_cast<uint8_t*>(externalPixels);
  } else {
    store->pixelStore =
        static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(std::max<int64_t>(totalBytes, 1)), "", 0));
    if (store->pixelStore == nullptr) {
      FreeStore(store);
      return -1;
    }
  }

  memimg->initTag = MEMIMG_INIT_TAG;
  memimg->width = width;
  memimg->height = height;
  memimg->pixels = store->pixelStore;
  memimg->store = store;
  return 0;
}

int CreateScreenMemImg(MEMIMG* memimg, int width, int height, int pixelType,
                       int screenColorBits) {
  if (memimg == nullptr) return -1;
  *memimg = MEMIMG{};
  if (pixelType == -1) pixelType = screenColorBits == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32;
  return CreateMemImg(memimg, width, height, -1, 0, pixelType, 0, 0, nullptr);
}

int DeriveMemImg(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height) {
  if (view == nullptr || !IsMemImgValid(source)) return 0;
  if (x < 0 || y < 0 || width < 0 || height < 0) return 0;
  if (int64_t{x} + width > source->width || int64_t{y} + height > source->height) return 0;
  MemImgStore* store = source->store;
  uint8_t* pixels = MemImgPixelAddress(*source, x, y);
  ++store->refCount;
  view->initTag = MEMIMG_INIT_TAG;
  view->width = width;
  view->height = height;
  view->pixels = pixels;
  view->store = store;
  return 0;
}

int ReleaseMemImg(MEMIMG* memimg) {
  if (!IsMemImgValid(memimg)) return 0;
  MemImgStore* store = memimg->store;
  if (--store->refCount <= 0) FreeStore(store);
  memimg->store = nullptr;
  memimg->initTag = 0;
  return 0;
}

int IsMemImgValid(const MEMIMG* memimg) {
  return memimg != nullptr && memimg->initTag == MEMIMG_INIT_TAG && memimg->store != nullptr;
}

int ClearMemImg(MEMIMG* memimg, const Rect* rect, uint32_t value) {
  if (!IsMemImgValid(memimg)) return -1;
  Rect whole{0, 0, memimg->width, memimg->height};
  Rect area = rect != nullptr ? ClipMemImgRect(*rect, whole) : whole;
  int count = area.right - area.left;
  if (count <= 0 || area.bottom <= area.top) return 0;
  const PixelBytes pixel = SplitPixel(value, MemImgBytesPerPixel(*memimg->store));
  const size_t rowBytes = static_cast<size_t>(count) * static_cast<size_t>(pixel.size);
  // A value whose bytes are all alike (black, white) is a memset of each
  // row; any other fills the first row, and the others are copies of it.
  if (pixel.AllAlike()) {
    // Whole rows without a gap between them (a screen) are one memset.
    const size_t pitch = static_cast<size_t>(memimg->store->pitch);
    const bool gapless = pitch == rowBytes;
    const int rows = gapless ? 1 : area.bottom - area.top;
    const size_t bytes = gapless ? rowBytes * static_cast<size_t>(area.bottom - area.top) : rowBytes;
    for (int row = 0; row < rows; ++row)
      std::memset(MemImgPixelAddress(*memimg, area.left, area.top + row), pixel.bytes[0], bytes);
    return 0;
  }
  const uint8_t* first = MemImgPixelAddress(*memimg, area.left, area.top);
  FillRow(MemImgPixelAddress(*memimg, area.left, area.top), rowBytes, pixel);
  for (int y = area.top + 1; y < area.bottom; ++y)
    std::memcpy(MemImgPixelAddress(*memimg, area.left, y), first, rowBytes);
  return 0;
}
