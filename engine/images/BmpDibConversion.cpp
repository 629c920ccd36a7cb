// The BMP variants the decoder does not keep as they are (1 bit, 16 bits,
// bit fields) drawn into a top-down 24-bit image the way the platform's DIB
// conversion does: palette colours for 1 bit, 5-5-5 for plain 16 bits, the
// file's masks for bit fields. Channels narrower than 8 bits are widened by
// repeating their top bits (31 becomes 255); wider ones keep their top 8.
#include <cstring>

#include "engine/images/BmpFormat.h"
#include "engine/images/ImageLimits.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"

namespace {

struct MaskChannel {
  uint32_t mask;
  int shift, width;

  explicit MaskChannel(uint32_t m) : mask(m), shift(0), width(0) {
    if (m == 0) return;
    while (((m >> shift) & 1u) == 0) ++shift;
    while (shift + width < 32 && ((m >> (shift + width)) & 1u) != 0) ++width;
  }

  uint8_t To8(uint32_t value) const {
    if (width == 0) return 0;
    uint32_t v = (value & mask) >> shift;
    if (width >= 8) return static_cast<uint8_t>(v >> (width - 8));
    uint32_t out = 0;
    for (int filled = 0; filled < 8; filled += width) {
      int room = 8 - filled;
      out |= room >= width ? v << (room - width) : v >> (width - room);
    }
    return static_cast<uint8_t>(out);
  }
};

bool PlatformAccepts(const BmpInfo& info) {
  if (info.compression == BMP_RGB) return info.bitCount == 1 || info.bitCount == 16;
  if (info.compression == BMP_BITFIELDS) return info.bitCount == 16 || info.bitCount == 32;
  return false;
}

}  // namespace

int ConvertBmpToFullColor(const BmpInfo& info, const BmpData& data, PixelImage* image) {
  if (!PlatformAccepts(info)) return -1;
  const int width = info.width, rows = info.rows();
  int64_t pitch = 0, bytes = 0;
  if (!ImageBufferSize(width, rows, 3, 4, &pitch, &bytes)) {
    WriteLog("ＤＩＢの作成に失敗しました3\n");
    return -1;
  }
  uint8_t* out = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(bytes > 0 ? bytes : 1), "", 0));
  if (out == nullptr) {
    WriteLog("２４ビットカラー化したグラフィックを格納するメモリ領域の確保に失敗しました\n");
    return -1;
  }
  std::memset(out, 0, static_cast<size_t>(bytes));

  const bool plain16 = info.compression == BMP_RGB && info.bitCount == 16;
  const MaskChannel red(plain16 ? 0x7C00 : info.masks[0]);
  const MaskChannel green(plain16 ? 0x3E0 : info.masks[1]);
  const MaskChannel blue(plain16 ? 0x1F : info.masks[2]);
  const int64_t rowBytes = (static_cast<int64_t>(width) * info.bitCount + 7) / 8;
  const int64_t stride = (rowBytes + 3) & ~3;

  for (int fileRow = 0; fileRow < rows; ++fileRow) {
    const int64_t start = fileRow * stride;
    if (start + rowBytes > static_cast<int64_t>(data.length)) break;  // short data: black rows
    const uint8_t* src = data.bytes + start;
    const int row = info.topDown() ? fileRow : rows - 1 - fileRow;
    uint8_t* dst = out + row * pitch;
    for (int x = 0; x < width; ++x, dst += 3) {
      if (info.bitCount == 1) {
        const uint8_t* entry = info.palette[(src[x / 8] >> (7 - x % 8)) & 1];
        dst[0] = entry[0];
        dst[1] = entry[1];
        dst[2] = entry[2];
        continue;
      }
      uint32_t value = info.bitCount == 16 ? ReadPixelValue(src + x * 2, 2) : ReadPixelValue(src + x * 4, 4);
      dst[0] = blue.To8(value);
      dst[1] = green.To8(value);
      dst[2] = red.To8(value);
    }
  }
  SetFullColorFormat(image);
  image->width = width;
  image->height = rows;
  image->pitch = static_cast<int>(pitch);
  image->pixels = out;
  return 0;
}
