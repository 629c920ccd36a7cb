// Collects the source (and blend-image) pixels that a scaled or textured
// span samples from scattered positions into one contiguous run, so that
// the same span loops as the unscaled blit can draw them.
#pragma once

#include <cstring>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImg.h"

class SpanGather {
 public:
  // Pixels gathered before they are drawn.
  static constexpr int CAPACITY = 256;

  SpanGather(const ImageDrawSetup& setup, const MEMIMG& source, const MEMIMG* blendImage)
      : setup_(setup), source_(source), blendImage_(blendImage) {}

  // Starts a span at destination pixel dst.
  void Begin(uint8_t* dst) {
    dst_ = dst;
    count_ = 0;
  }

  // Appends source pixel (x, y), which must lie inside the source.
  void Add(int x, int y) {
    const uint8_t* from = MemImgPixelAddress(source_, x, y);
    uint8_t* to = pixels_ + count_ * setup_.sourceBytes;
    switch (setup_.sourceBytes) {
      case 1: *to = *from; break;
      case 2: std::memcpy(to, from, 2); break;
      default: std::memcpy(to, from, 4); break;
    }
    if (blendImage_ != nullptr) blend_[count_] = *MemImgPixelAddress(*blendImage_, x, y);
    if (++count_ == CAPACITY) Flush();
  }

  // Draws what was gathered and moves on past it.
  void Flush() {
    if (count_ == 0) return;
    setup_.choice.loop(dst_, pixels_, blendImage_ != nullptr ? blend_ : nullptr, count_,
                       setup_.context);
    dst_ += count_ * setup_.destinationBytes;
    count_ = 0;
  }

 private:
  const ImageDrawSetup& setup_;
  const MEMIMG& source_;
  const MEMIMG* blendImage_;
  uint8_t* dst_ = nullptr;
  int count_ = 0;
  uint8_t pixels_[CAPACITY * 4];
  uint8_t blend_[CAPACITY];
};
