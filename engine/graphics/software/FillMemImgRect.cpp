#include <algorithm>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgDraw.h"

void FillMemImgRect(MEMIMG* destination, const Rect* rect, uint32_t color,
                    const MemImgDrawSettings& settings) {
  ColorDrawSetup setup;
  if (!PrepareColorDraw(destination, color, settings, &setup)) return;
  Rect whole{0, 0, destination->width, destination->height};
  Rect area = whole;
  if (rect != nullptr) {
    // Corners given in any order are put in order first.
    Rect ordered{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                 std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
    area = ClipMemImgRect(ordered, DrawingClip(*destination, settings.drawArea));
  }
  if (IsRectEmpty(area)) return;
  int count = area.right - area.left;
  for (int y = area.top; y < area.bottom; ++y) {
    setup.choice.loop(MemImgPixelAddress(*destination, area.left, y), count, setup.context);
  }
}

const char* MemImgFillLoopName(const MEMIMG* destination, const MemImgDrawSettings& settings) {
  ColorDrawSetup setup;
  if (!PrepareColorDraw(destination, 0, settings, &setup)) return nullptr;
  return setup.choice.name;
}
