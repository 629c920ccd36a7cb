// The engine's raw format: "BGRA", a depth code, width and height, then the
// pixels blue, green, red, alpha, 8 or 16 bits per channel.
#include <cstring>

#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLimits.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

constexpr int HEADER_BYTES = 16;
constexpr uint32_t DEPTH_8 = 0x08080808u;
constexpr uint32_t DEPTH_16 = 0x10101010u;
// 16-bit rows are read this many bytes at a time at most.
constexpr int64_t WIDE_READ_BYTES = 256 * 1024;

// Each 16-bit channel (little-endian) reduced to its high byte, read in a
// few large requests of whole rows.
bool ReadWideRows(StreamSource* source, int width, int height, uint8_t* out) {
  const int64_t rowBytes = static_cast<int64_t>(width) * 8;
  int64_t rowsPerRead = WIDE_READ_BYTES / rowBytes;
  if (rowsPerRead < 1) rowsPerRead = 1;
  if (rowsPerRead > height) rowsPerRead = height;
  uint8_t* wide = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(rowsPerRead * rowBytes), "", 0));
  if (wide == nullptr) return false;
  bool ok = true;
  for (int y = 0; y < height && ok; y += static_cast<int>(rowsPerRead)) {
    int64_t rows = height - y < rowsPerRead ? height - y : rowsPerRead;
    size_t bytes = static_cast<size_t>(rows * rowBytes);
    ok = ReadBytes(source, wide, bytes) == bytes;
    for (size_t i = 0; ok && i < bytes / 2; ++i) out[static_cast<int64_t>(y) * width * 4 + i] = wide[2 * i + 1];
  }
  MemFree(wide);
  return ok;
}

}  // namespace

int DecodeBgraImage(StreamSource* source, PixelImage* image) {
  const int32_t length = StreamLength(source);
  uint8_t header[HEADER_BYTES];
  if (length < HEADER_BYTES || !ReadAt(source, 0, header, sizeof header)) return -1;
  if (std::memcmp(header, "BGRA", 4) != 0) return -1;
  const uint32_t depth = ReadLe32(header + 4);
  const uint32_t width = ReadLe32(header + 8), height = ReadLe32(header + 12);
  if (depth != DEPTH_8 && depth != DEPTH_16) return -1;
  int64_t pitch = 0, bytes = 0;
  if (width == 0 || height == 0 || !ImageBufferSize(width, height, 4, 1, &pitch, &bytes)) return -1;
  const int64_t stored = depth == DEPTH_8 ? bytes : bytes * 2;
  if (stored > length - HEADER_BYTES) return -1;  // the file cannot hold the pixels it declares

  uint8_t* pixels = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(bytes), "", 0));
  if (pixels == nullptr) return -1;
  bool ok = depth == DEPTH_8
                ? ReadBytes(source, pixels, static_cast<size_t>(bytes)) == static_cast<size_t>(bytes)
                : ReadWideRows(source, static_cast<int>(width), static_cast<int>(height), pixels);
  if (!ok) {
    MemFree(pixels);
    return -1;
  }
  SetArgb8ColorFormat(image);
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->pitch = static_cast<int>(pitch);
  image->pixels = pixels;
  return 0;
}
