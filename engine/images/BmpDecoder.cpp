// BMP files: the file and information headers, the palette or masks, and
// the pixel data read in one request. 8-, 24- and 32-bit rows are kept as
// they are (top row first), 4-bit pixels get a byte each, run-length data is
// expanded to bytes, and every other variant becomes 24-bit full colour.
#include <cstring>

#include "engine/images/BmpFormat.h"
#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLimits.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

constexpr int FILE_HEADER_BYTES = 14;
constexpr int INFO_HEADER_BYTES = 40;

// Headers that carry the masks inside them (V2, V3, V4, V5) and put the
// palette after their full size. Any other size is read as the 40-byte
// layout with the palette right after it.
int PaletteOffset(uint32_t headerSize) {
  switch (headerSize) {
    case 52: case 56: case 108: case 124: return FILE_HEADER_BYTES + static_cast<int>(headerSize);
    default: return FILE_HEADER_BYTES + INFO_HEADER_BYTES;
  }
}

bool ReadHeaders(StreamSource* source, int32_t fileLength, BmpInfo* info, uint32_t* dataOffset) {
  uint8_t fileHeader[FILE_HEADER_BYTES];
  uint8_t header[INFO_HEADER_BYTES];
  if (!ReadAt(source, 0, fileHeader, sizeof fileHeader)) return false;
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') return false;
  *dataOffset = ReadLe32(fileHeader + 10);
  if (!ReadAt(source, FILE_HEADER_BYTES, header, sizeof header)) return false;
  uint32_t headerSize = ReadLe32(header);
  if (headerSize < INFO_HEADER_BYTES) return false;  // OS/2 core headers are not read
  std::memset(info, 0, sizeof *info);
  info->width = static_cast<int32_t>(ReadLe32(header + 4));
  info->height = static_cast<int32_t>(ReadLe32(header + 8));
  info->bitCount = ReadLe16(header + 14);
  info->compression = ReadLe32(header + 16);
  if (info->width <= 0 || info->height == 0 || info->height == INT32_MIN) return false;
  if (info->width > MAX_IMAGE_DIMENSION || info->rows() > MAX_IMAGE_DIMENSION) return false;

  const int64_t masksOffset = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
  if (info->bitCount >= 1 && info->bitCount <= 8) {
    // 2^bits entries whatever the colour count says; what the file does
    // not hold stays 0.
    int entries = 1 << info->bitCount;
    int64_t offset = PaletteOffset(headerSize);
    int64_t available = (fileLength - offset) / 4;
    if (available <= 0) return false;
    if (entries > available) entries = static_cast<int>(available);
    if (!ReadAt(source, offset, info->palette, static_cast<size_t>(entries) * 4)) return false;
    info->paletteEntries = entries;
  } else if (info->bitCount == 16 || info->bitCount == 32 || info->compression == BMP_BITFIELDS) {
    uint8_t masks[12];
    if (ReadAt(source, masksOffset, masks, sizeof masks)) {
      for (int i = 0; i < 3; ++i) info->masks[i] = ReadLe32(masks + 4 * i);
    } else if (info->compression == BMP_BITFIELDS) {
      return false;
    }
  }
  return true;
}

// 8-, 24- and 32-bit rows as they are, top row first; short data leaves
// zero rows.
void CopyRows(const BmpInfo& info, const BmpData& data, int64_t stride, uint8_t* out) {
  const int rows = info.rows();
  for (int fileRow = 0; fileRow < rows; ++fileRow) {
    int row = info.topDown() ? fileRow : rows - 1 - fileRow;
    int64_t start = fileRow * stride;
    if (start >= static_cast<int64_t>(data.length)) break;
    int64_t n = stride < static_cast<int64_t>(data.length) - start ? stride : data.length - start;
    std::memcpy(out + row * stride, data.bytes + start, static_cast<size_t>(n));
  }
}

// Each nibble into its own byte, high nibble first, top row first.
void SpreadNibbles(const BmpInfo& info, const BmpData& data, int64_t stride, PixelImage* image) {
  const int rows = info.rows();
  for (int fileRow = 0; fileRow < rows; ++fileRow) {
    int row = info.topDown() ? fileRow : rows - 1 - fileRow;
    uint8_t* dst = static_cast<uint8_t*>(image->pixels) + static_cast<ptrdiff_t>(row) * image->pitch;
    const int64_t start = fileRow * stride;
    for (int x = 0; x < info.width; ++x) {
      int64_t at = start + x / 2;
      if (at >= static_cast<int64_t>(data.length)) return;
      dst[x] = (x % 2 == 0) ? data.bytes[at] >> 4 : data.bytes[at] & 15;
    }
  }
}

void SetPalette(const BmpInfo& info, int entries, PixelImage* image) {
  SetPaletteColorFormat(image);
  std::memset(image->format.palette, 0, sizeof image->format.palette);
  std::memcpy(image->format.palette, info.palette, static_cast<size_t>(entries) * 4);
  for (auto& entry : image->format.palette) entry[3] = 0;
}

// Cleared when the data may leave pixels unwritten.
bool AllocatePixels(PixelImage* image, int width, int rows, int64_t pitch, bool cleared) {
  int64_t bytes = pitch * rows;
  if (pitch <= 0 || bytes > MAX_IMAGE_BYTES) return false;
  image->pixels = cleared ? MemCalloc(static_cast<size_t>(bytes), "", 0)
                          : MemAlloc(static_cast<size_t>(bytes), "", 0);
  if (image->pixels == nullptr) return false;
  image->width = width;
  image->height = rows;
  image->pitch = static_cast<int>(pitch);
  return true;
}

int DecodeBmpData(const BmpInfo& info, const BmpData& data, PixelImage* image) {
  const int width = info.width, rows = info.rows();
  const int64_t stride = ((static_cast<int64_t>(width) * info.bitCount + 7) / 8 + 3) & ~int64_t{3};
  const int64_t bytePitch = (static_cast<int64_t>(width) + 3) & ~int64_t{3};
  if (info.compression == BMP_RLE8 || info.compression == BMP_RLE4) {
    if (!AllocatePixels(image, width, rows, bytePitch, true)) return -1;
    if (info.compression == BMP_RLE8) {
      DecodeBmpRle8(info, data, image);
      SetPalette(info, info.paletteEntries, image);
    } else {
      DecodeBmpRle4(info, data, image);
      SetPalette(info, info.paletteEntries < 16 ? info.paletteEntries : 16, image);
    }
    return 0;
  }
  if (info.compression == BMP_RGB && info.bitCount == 4) {
    if (!AllocatePixels(image, width, rows, bytePitch, true)) return -1;
    SpreadNibbles(info, data, stride, image);
    SetPalette(info, info.paletteEntries, image);
    return 0;
  }
  if (info.compression == BMP_RGB &&
      (info.bitCount == 8 || info.bitCount == 24 || info.bitCount == 32)) {
    const bool complete = static_cast<int64_t>(data.length) >= stride * rows;
    if (!AllocatePixels(image, width, rows, stride, !complete)) return -1;
    CopyRows(info, data, stride, static_cast<uint8_t*>(image->pixels));
    if (info.bitCount == 8) {
      SetPalette(info, info.paletteEntries, image);
    } else if (info.bitCount == 24) {
      SetFullColorFormat(image);
    } else {
      SetArgb8ColorFormat(image);
    }
    return 0;
  }
  return ConvertBmpToFullColor(info, data, image);
}

}  // namespace

int DecodeBmpImage(StreamSource* source, PixelImage* image) {
  const int32_t fileLength = StreamLength(source);
  if (fileLength < FILE_HEADER_BYTES + INFO_HEADER_BYTES) return -1;
  BmpInfo info;
  uint32_t dataOffset = 0;
  if (!ReadHeaders(source, fileLength, &info, &dataOffset)) return -1;
  if (dataOffset >= static_cast<uint32_t>(fileLength)) return -1;

  const size_t length = static_cast<size_t>(fileLength) - dataOffset;
  uint8_t* bytes = static_cast<uint8_t*>(MemAlloc(length, "", 0));
  if (bytes == nullptr) return -1;
  size_t got = 0;
  if (source->ops.Seek(source->handle, static_cast<int32_t>(dataOffset), STREAM_SEEK_SET) == 0)
    got = ReadBytes(source, bytes, length);
  int result = -1;
  if (got > 0) result = DecodeBmpData(info, BmpData{bytes, got}, image);
  MemFree(bytes);
  if (result != 0) {
    MemFree(image->pixels);
    std::memset(image, 0, sizeof *image);
    return -1;
  }
  return 0;
}
