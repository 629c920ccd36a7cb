// Single colour values: encoding 0-255 components into a layout, decoding
// them back, and moving a value between layouts.
#include <cstdint>

#include "engine/images/ColorFormat.h"

namespace {

uint32_t ChannelMax(int width) {
  return width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1u;
}

// An 8-bit component placed into a channel of the given width and shift.
uint32_t PlaceComponent(int component, int width, int shift, uint32_t mask) {
  if (width == 0) return 0;
  uint32_t value = static_cast<uint32_t>(component) & 0xFFu;
  value = width <= 8 ? value >> (8 - width) : value << (width - 8);
  return (value << shift) & mask;
}

int ExtractWidened(uint32_t value, uint32_t mask, int shift, int width) {
  if (width == 0) return 0;
  uint64_t channel = (value & mask) >> shift;
  return static_cast<int>(channel * 255u / ChannelMax(width));
}

uint32_t NearestPaletteIndex(const ColorFormat& format, int red, int green, int blue) {
  uint32_t best = 0;
  int bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    int db = format.palette[i][0] - blue;
    int dg = format.palette[i][1] - green;
    int dr = format.palette[i][2] - red;
    int distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<uint32_t>(i);
    }
  }
  return best;
}

// A channel moved between widths by a plain shift.
uint32_t FitByShift(uint32_t channel, int sourceWidth, int destinationWidth) {
  if (destinationWidth >= sourceWidth) {
    int up = destinationWidth - sourceWidth;
    return up >= 32 ? 0 : channel << up;
  }
  return channel >> (sourceWidth - destinationWidth);
}

}  // namespace

uint32_t EncodeColor(const ColorFormat& format, int red, int green, int blue, int alpha) {
  if (IsPaletteFormat(format)) return NearestPaletteIndex(format, red, green, blue);
  return PlaceComponent(red, format.redWidth, format.redShift, format.redMask) |
         PlaceComponent(green, format.greenWidth, format.greenShift, format.greenMask) |
         PlaceComponent(blue, format.blueWidth, format.blueShift, format.blueMask) |
         PlaceComponent(alpha, format.alphaWidth, format.alphaShift, format.alphaMask) |
         format.noneMask;
}

void DecodeColor(const ColorFormat& format, uint32_t value, int* red, int* green, int* blue,
                 int* alpha) {
  if (red) *red = ExtractWidened(value, format.redMask, format.redShift, format.redWidth);
  if (green) *green = ExtractWidened(value, format.greenMask, format.greenShift, format.greenWidth);
  if (blue) *blue = ExtractWidened(value, format.blueMask, format.blueShift, format.blueWidth);
  if (alpha) *alpha = ExtractWidened(value, format.alphaMask, format.alphaShift, format.alphaWidth);
}

uint32_t ConvertColor(const ColorFormat& destination, const ColorFormat& source, uint32_t value) {
  if (destination.bitsPerPixel == source.bitsPerPixel &&
      destination.bytesPerPixel == source.bytesPerPixel &&
      destination.redMask == source.redMask && destination.greenMask == source.greenMask &&
      destination.blueMask == source.blueMask && destination.alphaMask == source.alphaMask) {
    return value | destination.noneMask;
  }
  struct Channel {
    uint32_t sourceMask;
    int sourceShift, sourceWidth;
    uint32_t destinationMask;
    int destinationShift, destinationWidth;
  };
  const Channel channels[3] = {
      {source.redMask, source.redShift, source.redWidth, destination.redMask,
       destination.redShift, destination.redWidth},
      {source.greenMask, source.greenShift, source.greenWidth, destination.greenMask,
       destination.greenShift, destination.greenWidth},
      {source.blueMask, source.blueShift, source.blueWidth, destination.blueMask,
       destination.blueShift, destination.blueWidth},
  };
  uint32_t result = destination.noneMask;
  for (const Channel& c : channels) {
    if (c.destinationWidth == 0) continue;
    uint32_t channel = (value & c.sourceMask) >> c.sourceShift;
    channel = FitByShift(channel, c.sourceWidth, c.destinationWidth);
    result |= (channel << c.destinationShift) & c.destinationMask;
  }
  if (destination.alphaWidth != 0) {
    uint32_t alphaValue;
    if (source.alphaWidth != 0) {
      alphaValue = (value & source.alphaMask) >> source.alphaShift;
      alphaValue = FitByShift(alphaValue, source.alphaWidth, destination.alphaWidth);
    } else {
      alphaValue = destination.alphaMask >> destination.alphaShift;
    }
    result |= (alphaValue << destination.alphaShift) & destination.alphaMask;
  }
  return result;
}
