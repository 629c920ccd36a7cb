// The normalising clip shared by the MEMIMG routines.
#pragma once

#include <algorithm>
#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/graphics/software/MemImg.h"

// A right edge left of the left edge becomes the left edge (likewise bottom
// and top); then every edge is clamped into clip. A rectangle wholly outside
// comes out empty. The coordinates are 64-bit so that x + width cannot
// overflow on the way in.
inline Rect ClipMemImgRect(int64_t left, int64_t top, int64_t right, int64_t bottom,
                           const Rect& clip) {
  if (right < left) right = left;
  if (bottom < top) bottom = top;
  auto clampX = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, clip.left, clip.right)); };
  auto clampY = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, clip.top, clip.bottom)); };
  return Rect{clampX(left), clampY(top), clampX(right), clampY(bottom)};
}

inline Rect ClipMemImgRect(const Rect& rect, const Rect& clip) {
  return ClipMemImgRect(rect.left, rect.top, rect.right, rect.bottom, clip);
}

inline bool IsRectEmpty(const Rect& rect) {
  return rect.right <= rect.left || rect.bottom <= rect.top;
}

// The part of the draw area that lies inside the destination view: drawing
// never leaves the view, whatever area the caller passes.
inline Rect DrawingClip(const MEMIMG& destination, const Rect& drawArea) {
  Rect whole{0, 0, destination.width, destination.height};
  Rect area = drawArea;
  if (area.right < area.left) area.right = area.left;
  if (area.bottom < area.top) area.bottom = area.top;
  return ClipMemImgRect(area, whole);
}
