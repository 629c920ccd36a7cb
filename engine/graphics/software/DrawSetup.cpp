#include "engine/graphics/software/DrawSetup.h"

#include <algorithm>

#include "engine/graphics/software/MemImgTables.h"

int memImgMmxAvailable = 1;
int memImgVectorExtensions = 0;

namespace {

bool IsDrawnMode(int mode) {
  return (mode >= 0 && mode <= 4) || mode == 10 || mode == 11;
}

bool ModulationIsWhite(const MemImgDrawSettings& s) {
  return s.modulateRed == 255 && s.modulateGreen == 255 && s.modulateBlue == 255;
}

// The mode actually drawn, or -1 for nothing: P = 0 draws nothing in modes
// 1 to 3, and mode 1 at P = 255 is mode 0.
int EffectiveMode(int mode, int parameter) {
  if (!IsDrawnMode(mode)) return -1;
  if ((mode == 1 || mode == 2 || mode == 3) && parameter == 0) return -1;
  if (mode == 1 && parameter == 255) return 0;
  return mode;
}

bool IsUsableBlendImage(const MEMIMG* blendImage, const MEMIMG& source) {
  return IsMemImgValid(blendImage) && blendImage->store->pixelType == MEMIMG_TYPE_GRAY8 &&
         blendImage->width >= source.width && blendImage->height >= source.height;
}

}  // namespace

bool IsDrawableDestination(const MEMIMG* destination) {
  if (!IsMemImgValid(destination)) return false;
  const MemImgStore& store = *destination->store;
  return (store.pixelType == MEMIMG_TYPE_COLOR16 || store.pixelType == MEMIMG_TYPE_COLOR32) &&
         !store.usesPalette && !store.hasAlpha;
}

bool PrepareImageDraw(const MEMIMG* destination, const MEMIMG* source, int transparent,
                      const MEMIMG* blendImage, const MemImgDrawSettings& settings,
                      ImageDrawSetup* setup) {
  if (!IsDrawableDestination(destination) || !IsMemImgValid(source)) return false;
  const MemImgStore& from = *source->store;
  if (from.pixelType != destination->store->pixelType) return false;
  if (blendImage != nullptr && !IsUsableBlendImage(blendImage, *source)) return false;
  int parameter = std::clamp(settings.blendParameter, 0, 255);
  int mode = EffectiveMode(settings.blendMode, parameter);
  if (mode < 0) return false;
  EnsureMemImgTables();

  SpanKey key{};
  key.depth = from.pixelType == MEMIMG_TYPE_COLOR16 ? 16 : 32;
  key.source = from.usesPalette ? SourceKind::PALETTE
               : from.hasAlpha  ? SourceKind::ALPHA
                                : SourceKind::DIRECT;
  key.mode = mode;
  key.modulated = !ModulationIsWhite(settings);
  key.blendImage = blendImage != nullptr;
  key.transparent = transparent != 0;
  key.vectorExtensions = static_cast<uint8_t>(memImgVectorExtensions);
  bool plain = key.source != SourceKind::ALPHA && !key.modulated && !key.blendImage;
  key.shortcut = BlendShortcut::NONE;
  if (mode == 1 && parameter == 128 && plain) key.shortcut = BlendShortcut::HALVING;
  if ((mode == 2 || mode == 3) && parameter == 255 && plain && key.depth == 32 &&
      memImgMmxAvailable != 0) {
    key.shortcut = BlendShortcut::SATURATING_BYTES;
  }

  SpanContext& c = setup->context;
  c.key = key;
  c.parameter = parameter;
  c.modulateRed = settings.modulateRed;
  c.modulateGreen = settings.modulateGreen;
  c.modulateBlue = settings.modulateBlue;
  c.colorKey = from.colorKey;
  c.palette = from.palette;
  c.blendTable = BlendImageTable;
  setup->choice = SelectImageSpanLoop(key);
  setup->sourceBytes = MemImgBytesPerPixel(from);
  setup->destinationBytes = key.depth / 8;
  return true;
}

bool PrepareColorDraw(const MEMIMG* destination, uint32_t color,
                      const MemImgDrawSettings& settings, ColorDrawSetup* setup) {
  if (!IsDrawableDestination(destination)) return false;
  int parameter = std::clamp(settings.blendParameter, 0, 255);
  int mode = EffectiveMode(settings.blendMode, parameter);
  if (mode < 0) return false;
  EnsureMemImgTables();
  bool depth16 = destination->store->pixelType == MEMIMG_TYPE_COLOR16;
  if (depth16) color &= 0xFFFF;
  if (!ModulationIsWhite(settings)) {
    uint32_t r = settings.modulateRed, g = settings.modulateGreen, b = settings.modulateBlue;
    if (depth16) {
      color = (((color >> 11) & 0x1F) * r >> 8) << 11 | (((color >> 5) & 0x3F) * g >> 8) << 5 |
              ((color & 0x1F) * b >> 8);
    } else {
      color = (((color >> 16) & 0xFF) * r >> 8) << 16 | (((color >> 8) & 0xFF) * g >> 8) << 8 |
              ((color & 0xFF) * b >> 8);
    }
  }
  ColorSpanContext& c = setup->context;
  c.key = ColorSpanKey{depth16 ? 16 : 32, mode};
  c.parameter = parameter;
  c.color = color;
  setup->choice = SelectColorSpanLoop(c.key);
  setup->destinationBytes = depth16 ? 2 : 4;
  return true;
}
