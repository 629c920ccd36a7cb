// MEMIMG: the software renderer's image in system memory.
//
// A MEMIMG is a small view record (usually embedded in its owner) onto a
// shared MemImgStore that holds the pixels, their layout and, for palette
// images, the palette. The owner's view covers the whole store; derived
// views show a rectangle of it. The store counts its views and is freed with
// the last one.
#pragma once

#include "engine/core/Engine.h"

#include <cstddef>
#include <cstdint>

struct ColorFormat;

// initTag of a valid MEMIMG; any other value means "not created".
constexpr uint32_t MEMIMG_INIT_TAG = 0x12345678;

// Pixel types of a store.
constexpr int MEMIMG_TYPE_COLOR16 = 0;  // R5G6B5
constexpr int MEMIMG_TYPE_COLOR32 = 1;  // X8R8G8B8 / A8R8G8B8
constexpr int MEMIMG_TYPE_GRAY8 = 2;    // one 8-bit channel (blend images)
constexpr int MEMIMG_TYPE_GRAY16 = 3;   // one 16-bit channel

// Size of a palette block: 256 entries of up to 4 bytes, then a second copy.
constexpr int MEMIMG_PALETTE_BYTES = 2048;

struct MemImgStore {
  int refCount;  // views sharing this store
  int width;     // size of the whole store
  int height;
  int pitch;  // bytes from one row to the next
  const ColorFormat* format;
  // Transparent value: a pixel value in the store's format, or a palette index.
  uint32_t colorKey;
  int pixelType;
  bool usesPalette;  // pixels are 8-bit indices into palette
  bool hasAlpha;
  bool externalPixels;  // the pixel memory belongs to the caller
  // Palette images only: 256 entries in the pixel type's colour layout (2 or
  // 4 bytes each), followed by a copy of them, in one 2048-byte block.
  uint8_t* palette;
  uint8_t* pixelStore;  // height x pitch bytes
};

struct MEMIMG {
  uint32_t initTag;
  int width;  // size of this view
  int height;
  uint8_t* pixels;  // this view's top-left pixel inside the store
  MemImgStore* store;
};

// Bytes per pixel of a store: 2 (16-bit colour or single channel), 4 (32-bit
// colour, or 16-bit colour with alpha in the third byte), 1 (palette index or
// 8-bit single channel).
int MemImgBytesPerPixel(const MemImgStore& store);
int MemImgBytesPerPixel(int pixelType, bool usesPalette, bool hasAlpha);

// Makes a new store and a full view of it. pitch -1 chooses the row size
// rounded up to 16 bytes; externalPixels non-null uses that memory (of at
// least pitch x height bytes) as the pixels. Types 2 and 3 never have a
// palette or alpha, and a palette image never has alpha. The pixels are not
// cleared. -1 when the record is already valid, the size or pitch is
// unusable, or an allocation fails.
int CreateMemImg(MEMIMG* memimg, int width, int height, int pitch, uint32_t colorKey,
                 int pixelType, int usesPalette, int hasAlpha, void* externalPixels);

// Clears the record and creates it with automatic pitch, key 0, no palette
// and no alpha. pixelType -1 means 1, or 0 when screenColorBits is 16.
int CreateScreenMemImg(MEMIMG* memimg, int width, int height, int pixelType,
                       int screenColorBits);

// Makes view show the rectangle (x, y, width, height) of source, sharing its
// store. Nothing happens when the rectangle does not lie inside the source
// (or source is not valid). The view's previous contents are not released.
int DeriveMemImg(MEMIMG* view, const MEMIMG* source, int x, int y, int width, int height);

// Drops a valid view; the store goes with its last view.
int ReleaseMemImg(MEMIMG* memimg);

// 1 when the record is created and has a store, else 0.
int IsMemImgValid(const MEMIMG* memimg);

// Stores the low 1, 2 or 4 bytes of value (by pixel size) into every pixel
// of the rectangle clipped to the view, or of the whole view when rect is
// null. Neither blending nor the draw area applies.
int ClearMemImg(MEMIMG* memimg, const Rect* rect, uint32_t value);

// The address of pixel (x, y) of a view; no bounds check.
inline uint8_t* MemImgPixelAddress(const MEMIMG& memimg, int x, int y) {
  return memimg.pixels + static_cast<std::ptrdiff_t>(y) * memimg.store->pitch +
         static_cast<std::ptrdiff_t>(x) * MemImgBytesPerPixel(*memimg.store);
}
