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

template <typename T>
void FillRow(uint8_t* row, int count, uint32_t value) {
  T pixel = static_cast<T>(value);
  for (int i = 0; i < count; ++i) std::memcpy(row + i * sizeof(T), &pixel, sizeof(T));
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
  int bytesPerPixel = MemImgBytesPerPixel(*memimg->store);
  for (int y = area.top; y < area.bottom; ++y) {
    uint8_t* row = MemImgPixelAddress(*memimg, area.left, y);
    switch (bytesPerPixel) {
      case 1: std::memset(row, static_cast<uint8_t>(value), static_cast<size_t>(count)); break;
      case 2: FillRow<uint16_t>(row, count, value); break;
      default: FillRow<uint32_t>(row, count, value); break;
    }
  }
  return 0;
}
