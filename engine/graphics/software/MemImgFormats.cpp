#include "engine/graphics/software/MemImgFormats.h"

#include "engine/graphics/software/MemImg.h"
#include "engine/images/ColorFormat.h"

namespace {

enum FixedFormat {
  COLOR16,
  COLOR16_ALPHA,
  COLOR16_PALETTE,
  COLOR32,
  COLOR32_ALPHA,
  COLOR32_PALETTE,
  GRAY8,
  GRAY16,
  FIXED_FORMAT_COUNT
};

struct FixedFormats {
  ColorFormat formats[FIXED_FORMAT_COUNT];

  FixedFormats() : formats() {
    SetGenericColorFormat(&formats[COLOR16], 16, 0xF800, 0x07E0, 0x001F, 0);
    // The 5-6-5 value in the low 16 bits, alpha in the third byte.
    SetGenericColorFormat(&formats[COLOR16_ALPHA], 32, 0xF800, 0x07E0, 0x001F, 0x00FF0000);
    SetGenericColorFormat(&formats[COLOR16_PALETTE], 8, 0xF800, 0x07E0, 0x001F, 0);
    SetGenericColorFormat(&formats[COLOR32], 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    SetGenericColorFormat(&formats[COLOR32_ALPHA], 32, 0x00FF0000, 0x0000FF00, 0x000000FF,
                          0xFF000000);
    SetGenericColorFormat(&formats[COLOR32_PALETTE], 8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
    // Single-channel images: every colour channel is the whole pixel.
    SetGenericColorFormat(&formats[GRAY8], 8, 0xFF, 0xFF, 0xFF, 0);
    SetGenericColorFormat(&formats[GRAY16], 16, 0xFFFF, 0xFFFF, 0xFFFF, 0);
  }
};

}  // namespace

const ColorFormat* MemImgColorFormat(int pixelType, bool hasAlpha, bool usesPalette) {
  static const FixedFormats fixed;
  switch (pixelType) {
    case MEMIMG_TYPE_COLOR16:
      return &fixed.formats[usesPalette ? COLOR16_PALETTE : hasAlpha ? COLOR16_ALPHA : COLOR16];
    case MEMIMG_TYPE_COLOR32:
      return &fixed.formats[usesPalette ? COLOR32_PALETTE : hasAlpha ? COLOR32_ALPHA : COLOR32];
    case MEMIMG_TYPE_GRAY8: return &fixed.formats[GRAY8];
    case MEMIMG_TYPE_GRAY16: return &fixed.formats[GRAY16];
    default: return nullptr;
  }
}
