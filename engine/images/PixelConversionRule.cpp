// The general rule of ConvertPixels, pixel by pixel. Every special-cased
// loop in PixelConversionPaths.cpp must give exactly these pixels.
#include <cstring>

#include "engine/images/PixelConversion.h"

namespace {

constexpr int ORDERED_MATRIX[4][4] = {
    {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

uint64_t ChannelMax(int width) { return (uint64_t{1} << width) - 1u; }

struct Channel {
  uint32_t value;
  int width;
};

struct Sample {
  Channel red, green, blue, alpha;
};

Channel Extract(uint32_t value, uint32_t mask, int shift, int width) {
  return {width == 0 ? 0u : (value & mask) >> shift, width};
}

Sample SourceSample(const ColorFormat& format, uint32_t value) {
  if (IsPaletteFormat(format)) {
    const uint8_t* entry = format.palette[value & 0xFF];
    return {{entry[2], 8}, {entry[1], 8}, {entry[0], 8}, {0, 0}};
  }
  return {Extract(value, format.redMask, format.redShift, format.redWidth),
          Extract(value, format.greenMask, format.greenShift, format.greenWidth),
          Extract(value, format.blueMask, format.blueShift, format.blueWidth),
          Extract(value, format.alphaMask, format.alphaShift, format.alphaWidth)};
}

// Widening goes to full scale, narrowing drops low bits.
uint32_t Fit(Channel c, int width) {
  if (width == 0 || c.width == 0) return 0;
  if (width == c.width) return c.value;
  if (width > c.width) return static_cast<uint32_t>(c.value * ChannelMax(width) / ChannelMax(c.width));
  return c.value >> (c.width - width);
}

// Narrowing with the dither mode; widening and equal widths as Fit.
uint32_t FitDithered(Channel c, int width, int mode, int x, int y, uint32_t* sum) {
  if (width == 0 || c.width == 0 || width >= c.width || mode == DITHER_NONE) return Fit(c, width);
  int dropped = c.width - width;
  uint64_t droppedBits = c.value & ChannelMax(dropped);
  uint64_t result = c.value >> dropped;
  bool roundUp = false;
  if (mode == DITHER_ORDERED) {
    uint64_t threshold = (uint64_t{1} << dropped) * ORDERED_MATRIX[y & 3][x & 3] / 16;
    roundUp = droppedBits > threshold;
  } else {
    uint64_t total = *sum + droppedBits;
    roundUp = total > ChannelMax(dropped);
    *sum = static_cast<uint32_t>(total & ChannelMax(dropped));
  }
  if (roundUp && result < ChannelMax(width)) ++result;
  return static_cast<uint32_t>(result);
}

// The colour compared in the source's own precision: the key's components
// cut to the source widths (or the source cut to 8 bits when it is wider).
bool ChannelMatches(Channel c, uint32_t key8) {
  if (c.width == 0) return key8 == 0;
  if (c.width >= 8) return (c.value >> (c.width - 8)) == key8;
  return c.value == (key8 >> (8 - c.width));
}

bool KeyMatches(const Sample& s, uint32_t key) {
  return ChannelMatches(s.red, (key >> 16) & 0xFF) && ChannelMatches(s.green, (key >> 8) & 0xFF) &&
         ChannelMatches(s.blue, key & 0xFF);
}

Channel AlphaImageRed(const ColorFormat& format, uint32_t value) {
  if (IsPaletteFormat(format)) return {format.palette[value & 0xFF][2], 8};
  return Extract(value, format.redMask, format.redShift, format.redWidth);
}

bool SamePalette(const ColorFormat& a, const ColorFormat& b) {
  return std::memcmp(a.palette, b.palette, sizeof a.palette) == 0;
}

uint32_t To8(Channel c) { return Fit(c, 8); }

}  // namespace

bool ConvertOnePixel(const ConversionJob& job, uint32_t sourceValue, uint32_t alphaImageValue,
                     int x, int y, DiffusionState* diffusion, uint32_t* result) {
  const ColorFormat& dst = *job.destinationFormat;
  const ColorFormat& src = *job.sourceFormat;
  Sample s = SourceSample(src, sourceValue);
  bool keyed = (job.keyedCopy || job.keyToAlpha) && KeyMatches(s, job.key);
  if (job.keyedCopy && !job.mirror && keyed) return false;

  if (IsPaletteFormat(dst)) {
    if (IsPaletteFormat(src) && !job.alphaOnly &&
        !(job.paletteRemap && !SamePalette(dst, src))) {
      *result = (sourceValue & 0xFF) | dst.noneMask;
    } else if (job.alphaOnly) {
      *result = EncodeColor(dst, 0, 0, 0, 0) | dst.noneMask;
    } else {
      *result = EncodeColor(dst, static_cast<int>(To8(s.red)), static_cast<int>(To8(s.green)),
                            static_cast<int>(To8(s.blue)), 0) | dst.noneMask;
    }
    *result &= 0xFF;
    return true;
  }

  uint32_t value = dst.noneMask;
  if (!job.alphaOnly) {
    int mode = job.ditherMode;
    value |= (FitDithered(s.red, dst.redWidth, mode, x, y, &diffusion->red) << dst.redShift) & dst.redMask;
    value |= (FitDithered(s.green, dst.greenWidth, mode, x, y, &diffusion->green) << dst.greenShift) &
             dst.greenMask;
    value |= (FitDithered(s.blue, dst.blueWidth, mode, x, y, &diffusion->blue) << dst.blueShift) &
             dst.blueMask;
  }
  if (dst.alphaWidth != 0) {
    uint32_t a;
    if (job.alphaFromRed) {
      a = Fit(s.red, dst.alphaWidth);
    } else if (s.alpha.width != 0) {
      a = Fit(s.alpha, dst.alphaWidth);
    } else if (job.alpha != nullptr) {
      a = Fit(AlphaImageRed(*job.alphaFormat, alphaImageValue), dst.alphaWidth);
    } else if (job.keyToAlpha && keyed) {
      a = 0;
    } else {
      a = static_cast<uint32_t>(ChannelMax(dst.alphaWidth));
    }
    value |= (a << dst.alphaShift) & dst.alphaMask;
  }
  *result = value;
  return true;
}

void ConvertPixelsGeneral(const ConversionJob& job) {
  const int srcBytes = job.sourceFormat->bytesPerPixel;
  const int dstBytes = job.destinationFormat->bytesPerPixel;
  const int alphaBytes = job.alpha ? job.alphaFormat->bytesPerPixel : 0;
  const int width = job.sourceRect.x2 - job.sourceRect.x1;
  for (int row = job.sourceRect.y1; row < job.sourceRect.y2; ++row) {
    const int y = job.destinationY + (row - job.sourceRect.y1);
    const uint8_t* src = job.source + static_cast<ptrdiff_t>(row) * job.sourcePitch +
                         static_cast<ptrdiff_t>(job.sourceRect.x1) * srcBytes;
    const uint8_t* alpha = job.alpha ? job.alpha + static_cast<ptrdiff_t>(row) * job.alphaPitch +
                                           static_cast<ptrdiff_t>(job.sourceRect.x1) * alphaBytes
                                     : nullptr;
    uint8_t* dstRow = job.destination + static_cast<ptrdiff_t>(y) * job.destinationPitch;
    DiffusionState diffusion{};
    for (int i = 0; i < width; ++i) {
      const int x = job.destinationX + (job.mirror ? width - 1 - i : i);
      uint32_t sourceValue = ReadPixelValue(src + i * srcBytes, srcBytes);
      uint32_t alphaValue = alpha ? ReadPixelValue(alpha + i * alphaBytes, alphaBytes) : 0;
      uint32_t out;
      if (ConvertOnePixel(job, sourceValue, alphaValue, x, y, &diffusion, &out))
        WritePixelValue(dstRow + static_cast<ptrdiff_t>(x) * dstBytes, dstBytes, out);
    }
  }
}
