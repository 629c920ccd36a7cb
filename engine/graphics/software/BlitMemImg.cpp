#include <cstdint>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgDraw.h"

MemImgDrawSettings DefaultMemImgDrawSettings(const MEMIMG& destination) {
  MemImgDrawSettings settings{};
  settings.blendMode = 0;
  settings.blendParameter = 0;
  settings.modulateRed = settings.modulateGreen = settings.modulateBlue = 255;
  settings.drawArea = Rect{0, 0, destination.width, destination.height};
  return settings;
}

void BlitMemImg(MEMIMG* destination, const MEMIMG* source, int x, int y, int transparent,
                const MEMIMG* blendImage, const MemImgDrawSettings& settings) {
  ImageDrawSetup setup;
  if (!PrepareImageDraw(destination, source, transparent, blendImage, settings, &setup)) return;
  Rect clip = DrawingClip(*destination, settings.drawArea);
  Rect area = ClipMemImgRect(x, y, int64_t{x} + source->width, int64_t{y} + source->height, clip);
  if (IsRectEmpty(area)) return;

  // The first source pixel drawn; rows top to bottom, pixels left to right.
  int sourceX = area.left - x;
  int sourceY = area.top - y;
  int count = area.right - area.left;
  uint8_t* dst = MemImgPixelAddress(*destination, area.left, area.top);
  const uint8_t* src = MemImgPixelAddress(*source, sourceX, sourceY);
  const uint8_t* blend =
      blendImage != nullptr ? MemImgPixelAddress(*blendImage, sourceX, sourceY) : nullptr;
  int dstPitch = destination->store->pitch, srcPitch = source->store->pitch;
  int blendPitch = blendImage != nullptr ? blendImage->store->pitch : 0;
  // Rows that follow each other without a gap in every image are one span
  // (a whole screen-sized image): the loops treat every pixel alike. Not
  // for an image drawn onto its own store, whose rows must go top to
  // bottom one at a time.
  int rows = area.bottom - area.top;
  bool contiguous = source->store != destination->store && dstPitch == count * setup.destinationBytes && srcPitch == count * setup.sourceBytes &&
                    (blend == nullptr || blendPitch == count) && int64_t{count} * rows <= INT32_MAX;
  if (contiguous) {
    setup.choice.loop(dst, src, blend, count * rows, setup.context);
    return;
  }
  for (int row = area.top; row < area.bottom; ++row) {
    setup.choice.loop(dst, src, blend, count, setup.context);
    dst += dstPitch;
    src += srcPitch;
    if (blend != nullptr) blend += blendPitch;
  }
}

const char* MemImgBlitLoopName(const MEMIMG* destination, const MEMIMG* source, int transparent,
                               const MEMIMG* blendImage, const MemImgDrawSettings& settings) {
  ImageDrawSetup setup;
  if (!PrepareImageDraw(destination, source, transparent, blendImage, settings, &setup)) {
    return nullptr;
  }
  return setup.choice.name;
}
