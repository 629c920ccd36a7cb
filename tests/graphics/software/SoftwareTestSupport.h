// MEMIMGs owned by a test, and raw pixel access to them.
#pragma once

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "engine/graphics/software/MemImg.h"
#include "engine/graphics/software/MemImgDraw.h"

// Bytes per pixel of a view, from its store.
inline int PixelBytes(const MEMIMG& image) { return MemImgBytesPerPixel(*image.store); }

inline uint32_t GetPixel(const MEMIMG& image, int x, int y) {
  uint32_t value = 0;
  std::memcpy(&value, MemImgPixelAddress(image, x, y), static_cast<size_t>(PixelBytes(image)));
  return value;
}

inline void PutPixel(MEMIMG& image, int x, int y, uint32_t value) {
  std::memcpy(MemImgPixelAddress(image, x, y), &value, static_cast<size_t>(PixelBytes(image)));
}

// A created MEMIMG, released with the object.
class OwnedMemImg {
 public:
  OwnedMemImg(int width, int height, int pixelType, bool palette = false, bool alpha = false,
              uint32_t colorKey = 0) {
    created_ = CreateMemImg(&image_, width, height, -1, colorKey, pixelType, palette, alpha,
                            nullptr) == 0;
  }
  ~OwnedMemImg() { ReleaseMemImg(&image_); }
  OwnedMemImg(const OwnedMemImg&) = delete;
  OwnedMemImg& operator=(const OwnedMemImg&) = delete;

  bool created() const { return created_; }
  MEMIMG* get() { return &image_; }
  const MEMIMG* get() const { return &image_; }
  MEMIMG& operator*() { return image_; }
  MEMIMG* operator->() { return &image_; }

  uint32_t At(int x, int y) const { return GetPixel(image_, x, y); }
  void Set(int x, int y, uint32_t value) { PutPixel(image_, x, y, value); }
  void Fill(uint32_t value) {
    for (int y = 0; y < image_.height; ++y) {
      for (int x = 0; x < image_.width; ++x) Set(x, y, value);
    }
  }
  // Palette entry i (palette images only): 2 or 4 bytes by pixel type.
  void SetPaletteEntry(int index, uint32_t value) {
    int bytes = image_.store->pixelType == MEMIMG_TYPE_COLOR32 ? 4 : 2;
    std::memcpy(image_.store->palette + index * bytes, &value, static_cast<size_t>(bytes));
  }
  // Copies every pixel of another image of the same size and layout.
  void CopyPixelsFrom(const OwnedMemImg& other) {
    for (int y = 0; y < image_.height; ++y) {
      for (int x = 0; x < image_.width; ++x) Set(x, y, other.At(x, y));
    }
  }

 private:
  MEMIMG image_{};
  bool created_ = false;
};

inline MemImgDrawSettings Settings(const MEMIMG& destination, int mode, int parameter,
                                   int red = 255, int green = 255, int blue = 255) {
  MemImgDrawSettings settings = DefaultMemImgDrawSettings(destination);
  settings.blendMode = mode;
  settings.blendParameter = parameter;
  settings.modulateRed = static_cast<uint8_t>(red);
  settings.modulateGreen = static_cast<uint8_t>(green);
  settings.modulateBlue = static_cast<uint8_t>(blue);
  return settings;
}

// Restores memImgForceGeneralRule, memImgMmxAvailable and
// memImgVectorExtensions when it goes.
class RendererSwitches {
 public:
  RendererSwitches()
      : general_(memImgForceGeneralRule), mmx_(memImgMmxAvailable), vector_(memImgVectorExtensions) {}
  ~RendererSwitches() {
    memImgForceGeneralRule = general_;
    memImgMmxAvailable = mmx_;
    memImgVectorExtensions = vector_;
  }

 private:
  bool general_;
  int mmx_;
  int vector_;
};

// The sets of vector extensions the processor running the tests can take,
// from none up to all it has: the loops of each level are compared with the
// reference on it.
inline std::vector<int> UsableVectorExtensionSets() {
  std::vector<int> sets{0};
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("sse4.1")) {
    sets.push_back(MEMIMG_SSE41);
    if (__builtin_cpu_supports("avx2")) sets.push_back(MEMIMG_SSE41 | MEMIMG_AVX2);
  }
#endif
  return sets;
}
