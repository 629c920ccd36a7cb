// The nearest-pixel stretch. Both axes step through the source in 16.16
// fixed point: destination column j (counted from the unclipped left edge)
// shows source column floor(j * 65536 / step), found with an accumulator
// instead of a division per pixel.
#include <algorithm>
#include <utility>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/SpanGather.h"

namespace {

// One axis of the stretch.
class SourceStepper {
 public:
  // step = destination size << 16 / source size; skipped = destination
  // pixels clipped off before the first one drawn.
  SourceStepper(int64_t step, int64_t skipped, int sourceSize, bool mirrored)
      : step_(step), sourceSize_(sourceSize), mirrored_(mirrored) {
    index_ = skipped * 65536 / step;
    remaining_ = step - (skipped * 65536) % step;
  }

  // The source coordinate of the current destination pixel.
  int Current() const {
    int64_t index = std::min<int64_t>(index_, sourceSize_ - 1);
    return static_cast<int>(mirrored_ ? sourceSize_ - 1 - index : index);
  }

  void Advance() {
    remaining_ -= 65536;
    while (remaining_ <= 0) {
      remaining_ += step_;
      ++index_;
    }
  }

 private:
  int64_t step_;
  int sourceSize_;
  bool mirrored_;
  int64_t index_;
  int64_t remaining_;  // 16.16 distance to the next source column
};

}  // namespace

void BlitMemImgScaled(MEMIMG* destination, const MEMIMG* source, const Rect& rect,
                      int transparent, const MEMIMG* blendImage,
                      const MemImgDrawSettings& settings) {
  int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  bool mirrorX = left > right, mirrorY = top > bottom;
  if (mirrorX) std::swap(left, right);
  if (mirrorY) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  if (!IsMemImgValid(source) || source->width <= 0 || source->height <= 0) return;
  int64_t width = right - left, height = bottom - top;
  if (width == source->width && height == source->height && !mirrorX && !mirrorY) {
    BlitMemImg(destination, source, static_cast<int>(left), static_cast<int>(top), transparent,
               blendImage, settings);
    return;
  }

  ImageDrawSetup setup;
  if (!PrepareImageDraw(destination, source, transparent, blendImage, settings, &setup)) return;
  Rect area = ClipMemImgRect(left, top, right, bottom, DrawingClip(*destination, settings.drawArea));
  if (IsRectEmpty(area)) return;

  int64_t stepX = (width << 16) / source->width;
  int64_t stepY = (height << 16) / source->height;
  SourceStepper rows(stepY, area.top - top, source->height, mirrorY);
  SpanGather gather(setup, *source, blendImage);
  for (int y = area.top; y < area.bottom; ++y) {
    SourceStepper columns(stepX, area.left - left, source->width, mirrorX);
    gather.Begin(MemImgPixelAddress(*destination, area.left, y));
    int sourceY = rows.Current();
    for (int x = area.left; x < area.right; ++x) {
      gather.Add(columns.Current(), sourceY);
      columns.Advance();
    }
    gather.Flush();
    rows.Advance();
  }
}
