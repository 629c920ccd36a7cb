// Halving a rectangle of 16- or 32-bit pixels (mip levels): each channel is
// the average of the source pixels a destination pixel covers.
#include "engine/images/PixelCopy.h"

namespace {

struct ChannelMask {
  uint32_t mask;
  int shift;
};

// Per-channel average of n values (n = 1, 2 or 4).
uint32_t Average(const ColorFormat& format, const uint32_t* values, int n) {
  const ChannelMask channels[4] = {{format.redMask, format.redShift},
                                   {format.greenMask, format.greenShift},
                                   {format.blueMask, format.blueShift},
                                   {format.alphaMask, format.alphaShift}};
  uint32_t result = format.noneMask;
  for (const ChannelMask& c : channels) {
    if (c.mask == 0) continue;
    uint64_t sum = 0;
    for (int i = 0; i < n; ++i) sum += (values[i] & c.mask) >> c.shift;
    result |= (static_cast<uint32_t>(sum / n) << c.shift) & c.mask;
  }
  return result;
}

}  // namespace

int HalfScalePixels(const ColorFormat& format, void* destination, int destinationPitch,
                    const void* source, int sourcePitch, const HalfScalePositions* positions,
                    int sourceWidth, int sourceHeight) {
  if (destination == nullptr || source == nullptr || sourceWidth <= 0 || sourceHeight <= 0)
    return -1;
  if ((sourceWidth != 1 && sourceWidth % 2 != 0) || (sourceHeight != 1 && sourceHeight % 2 != 0))
    return -1;
  const int bytes = format.bytesPerPixel;
  if (bytes != 2 && bytes != 4) return 0;
  HalfScalePositions at = positions ? *positions : HalfScalePositions{};
  const int stepX = sourceWidth == 1 ? 0 : 1, stepY = sourceHeight == 1 ? 0 : 1;
  const int outWidth = sourceWidth == 1 ? 1 : sourceWidth / 2;
  const int outHeight = sourceHeight == 1 ? 1 : sourceHeight / 2;
  const int n = (stepX + 1) * (stepY + 1);
  const uint8_t* src = static_cast<const uint8_t*>(source);
  uint8_t* dst = static_cast<uint8_t*>(destination);
  for (int y = 0; y < outHeight; ++y) {
    const uint8_t* top = src + static_cast<ptrdiff_t>(at.sourceY + y * 2 * stepY) * sourcePitch;
    const uint8_t* bottom = top + static_cast<ptrdiff_t>(stepY) * sourcePitch;
    uint8_t* out = dst + static_cast<ptrdiff_t>(at.destinationY + y) * destinationPitch;
    for (int x = 0; x < outWidth; ++x) {
      const ptrdiff_t left = static_cast<ptrdiff_t>(at.sourceX + x * 2 * stepX) * bytes;
      const ptrdiff_t right = left + stepX * bytes;
      uint32_t values[4] = {ReadPixelValue(top + left, bytes), ReadPixelValue(top + right, bytes),
                            ReadPixelValue(bottom + left, bytes),
                            ReadPixelValue(bottom + right, bytes)};
      // With a 1-wide or 1-high source the pair is values[0] and the other
      // pixel that differs from it; a 1 x 1 source copies.
      uint32_t pair[2] = {values[0], stepX ? values[1] : values[2]};
      uint32_t result = n == 4 ? Average(format, values, 4) : n == 2 ? Average(format, pair, 2) : values[0];
      WritePixelValue(out + static_cast<ptrdiff_t>(at.destinationX + x) * bytes, bytes, result);
    }
  }
  return 0;
}
