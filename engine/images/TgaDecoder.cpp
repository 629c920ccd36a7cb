// Truevision TGA: colour-mapped and true-colour images, plain or
// run-length encoded, 16, 24 or 32 bits per pixel, stored top row first and
// left to right whatever the file's origin.
#include <algorithm>
#include <cstring>

#include "engine/images/ImageDecoders.h"
#include "engine/images/StreamReading.h"
#include "engine/services/Memory.h"

namespace {

constexpr int HEADER_BYTES = 18;
constexpr int FOOTER_BYTES = 26;
constexpr int MAX_TGA_DIMENSION = 8192;
constexpr int MAP_ENTRIES = 256;

struct TgaHeader {
  int idLength, mapType, imageType;
  int mapFirst, mapLength, mapEntryBits;
  int xOrigin, yOrigin, width, height, pixelBits, descriptor;
};

TgaHeader ParseHeader(const uint8_t* h) {
  return {h[0], h[1], h[2], ReadLe16(h + 3), ReadLe16(h + 5), h[7], ReadLe16(h + 8),
          ReadLe16(h + 10), ReadLe16(h + 12), ReadLe16(h + 14), h[16], h[17]};
}

bool IsColorMapped(const TgaHeader& h) { return h.imageType == 1 || h.imageType == 9; }
bool IsRunLength(const TgaHeader& h) { return h.imageType == 9 || h.imageType == 10; }

// Image types 1, 2, 9 and 10 at the origin, at most 8192 pixels each way,
// 16, 24 or 32 bits per decoded pixel, colour maps that fit 256 entries.
bool Accepts(const TgaHeader& h) {
  if (h.imageType != 1 && h.imageType != 2 && h.imageType != 9 && h.imageType != 10) return false;
  if (h.xOrigin != 0 || h.yOrigin != 0) return false;
  if (h.width == 0 || h.height == 0 || h.width > MAX_TGA_DIMENSION || h.height > MAX_TGA_DIMENSION)
    return false;
  int outBits = IsColorMapped(h) ? h.mapEntryBits : h.pixelBits;
  if (outBits != 16 && outBits != 24 && outBits != 32) return false;
  if (IsColorMapped(h)) {
    if (h.mapType != 1 || h.pixelBits != 8) return false;  // indices into a 256-entry map
    if (h.mapFirst + h.mapLength > MAP_ENTRIES) return false;
  }
  return true;
}

// Reads the pixels of the data (after the id and the colour map) in file
// order into `out`, each expanded through the map when there is one.
class PixelReader {
 public:
  PixelReader(const TgaHeader& h, const uint8_t* data, size_t length, const uint8_t* map)
      : data_(data), length_(length), map_(map),
        storedBytes_(h.pixelBits / 8),
        outBytes_((IsColorMapped(h) ? h.mapEntryBits : h.pixelBits) / 8) {}

  bool Plain(uint8_t* out, int64_t count) {
    for (int64_t i = 0; i < count; ++i, out += outBytes_)
      if (!Next(out)) return false;
    return true;
  }

  bool RunLength(uint8_t* out, int64_t count) {
    int64_t done = 0;
    while (done < count) {
      if (at_ >= length_) return false;
      uint8_t packet = data_[at_++];
      int64_t n = std::min<int64_t>((packet & 0x7F) + 1, count - done);
      if (packet & 0x80) {
        if (!Next(out)) return false;
        for (int64_t i = 1; i < n; ++i) std::memcpy(out + i * outBytes_, out, outBytes_);
      } else if (!Plain(out, n)) {
        return false;
      }
      out += n * outBytes_;
      done += n;
    }
    return true;
  }

 private:
  bool Next(uint8_t* out) {
    if (at_ + storedBytes_ > length_) return false;
    const uint8_t* stored = data_ + at_;
    at_ += storedBytes_;
    std::memcpy(out, map_ ? map_ + stored[0] * outBytes_ : stored, outBytes_);
    return true;
  }

  const uint8_t* data_;
  size_t length_;
  size_t at_ = 0;
  const uint8_t* map_;
  int storedBytes_, outBytes_;
};

void PutInDisplayOrder(const TgaHeader& h, uint8_t* pixels, int pitch, int bytesPerPixel) {
  const bool topFirst = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
  if (!topFirst) {
    for (int top = 0, bottom = h.height - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(pixels + static_cast<ptrdiff_t>(top) * pitch,
                       pixels + static_cast<ptrdiff_t>(top) * pitch + pitch,
                       pixels + static_cast<ptrdiff_t>(bottom) * pitch);
  }
  if (rightToLeft) {
    for (int y = 0; y < h.height; ++y) {
      uint8_t* row = pixels + static_cast<ptrdiff_t>(y) * pitch;
      for (int l = 0, r = h.width - 1; l < r; ++l, --r)
        std::swap_ranges(row + l * bytesPerPixel, row + (l + 1) * bytesPerPixel, row + r * bytesPerPixel);
    }
  }
}

int DecodeTgaBody(const TgaHeader& h, const uint8_t* body, size_t length, PixelImage* image) {
  size_t at = static_cast<size_t>(h.idLength);
  if (at > length) return -1;  // the image id alone runs past the data
  uint8_t map[MAP_ENTRIES * 4] = {};
  const int outBytes = (IsColorMapped(h) ? h.mapEntryBits : h.pixelBits) / 8;
  if (h.mapType == 1) {
    const size_t entryBytes = static_cast<size_t>(h.mapEntryBits + 7) / 8;
    const size_t mapBytes = entryBytes * h.mapLength;
    if (at + mapBytes > length) return -1;
    if (IsColorMapped(h))
      std::memcpy(map + h.mapFirst * outBytes, body + at, mapBytes);  // entryBytes == outBytes
    at += mapBytes;
  }
  const int pitch = h.width * outBytes;
  const int64_t count = static_cast<int64_t>(h.width) * h.height;
  uint8_t* pixels = static_cast<uint8_t*>(MemCalloc(static_cast<size_t>(pitch) * h.height, "", 0));
  if (pixels == nullptr) return -1;
  PixelReader reader(h, body + at, length - at, IsColorMapped(h) ? map : nullptr);
  bool ok = IsRunLength(h) ? reader.RunLength(pixels, count) : reader.Plain(pixels, count);
  if (!ok) {
    MemFree(pixels);
    return -1;
  }
  PutInDisplayOrder(h, pixels, pitch, outBytes);
  if (outBytes == 2) {
    SetGenericColorFormat(image, 16, 0x7C00, 0x3E0, 0x1F, 0x8000);
  } else if (outBytes == 3) {
    SetFullColorFormat(image);
  } else {
    SetArgb8ColorFormat(image);
  }
  image->width = h.width;
  image->height = h.height;
  image->pitch = pitch;
  image->pixels = pixels;
  return 0;
}

}  // namespace

int DecodeTgaImage(StreamSource* source, PixelImage* image) {
  const int32_t length = StreamLength(source);
  if (length < HEADER_BYTES) return -1;
  int32_t dataEnd = length;
  uint8_t footer[FOOTER_BYTES];
  if (length >= HEADER_BYTES + FOOTER_BYTES &&
      ReadAt(source, length - FOOTER_BYTES, footer, sizeof footer) &&
      std::memcmp(footer + 8, "TRUEVISION-XFILE", 16) == 0 && ReadLe32(footer) == 0) {
    dataEnd = length - FOOTER_BYTES;
  }
  uint8_t headerBytes[HEADER_BYTES];
  if (!ReadAt(source, 0, headerBytes, sizeof headerBytes)) return -1;
  const TgaHeader h = ParseHeader(headerBytes);
  if (!Accepts(h)) return -1;

  // Everything after the header in one request.
  const size_t bodyLength = static_cast<size_t>(dataEnd - HEADER_BYTES);
  uint8_t* body = static_cast<uint8_t*>(MemAlloc(bodyLength ? bodyLength : 1, "", 0));
  if (body == nullptr) return -1;
  int result = -1;
  if (ReadBytes(source, body, bodyLength) == bodyLength)
    result = DecodeTgaBody(h, body, bodyLength, image);
  MemFree(body);
  return result;
}
