// Size checks for pixel buffers: every width x height x bytes product,
// whether it comes from a caller or from a file, is checked here before it
// is allocated.
#pragma once

#include <cstdint>

// The largest pixel buffer the engine makes for one image (256 MiB: 8192 x
// 8192 ARGB8). Larger requests are refused rather than attempted.
constexpr int64_t MAX_IMAGE_BYTES = int64_t{1} << 28;
// The largest width or height accepted from any image file.
constexpr int MAX_IMAGE_DIMENSION = 32768;

// pitch = width * bytesPerPixel rounded up to `alignment` (1 or 4),
// bytes = pitch * height; false when either is out of range.
inline bool ImageBufferSize(int64_t width, int64_t height, int64_t bytesPerPixel,
                            int64_t alignment, int64_t* pitch, int64_t* bytes) {
  if (width < 0 || height < 0 || bytesPerPixel < 0) return false;
  if (width > MAX_IMAGE_DIMENSION || height > MAX_IMAGE_DIMENSION) return false;
  int64_t row = width * bytesPerPixel;
  row = (row + alignment - 1) / alignment * alignment;
  int64_t total = row * height;
  if (total > MAX_IMAGE_BYTES) return false;
  *pitch = row;
  *bytes = total;
  return true;
}
