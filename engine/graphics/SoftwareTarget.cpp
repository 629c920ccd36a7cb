#include "engine/graphics/SoftwareTarget.h"

#include <cstring>

#include "engine/core/FatalError.h"
#include "engine/graphics/DrawTarget.h"
#include "engine/images/ColorFormat.h"

MEMIMG screenImage;
MEMIMG* drawTargetImage = nullptr;

void SetUpScreenImage(int width, int height, int colorBits) {
  if (CreateScreenMemImg(&screenImage, width, height, colorBits == 16 ? 0 : 1, colorBits) != 0)
    FatalError("プライマリサーフェス用の MEMIMG の作成に失敗しました\n");
  const ColorFormat& format = *screenImage.store->format;
  ClearMemImg(&screenImage, nullptr,
              EncodeColor(format, backgroundColor.red, backgroundColor.green,
                          backgroundColor.blue, 0));
  drawTargetImage = &screenImage;
}

void ReleaseScreenImage() {
  if (IsMemImgValid(&screenImage)) ReleaseMemImg(&screenImage);
  std::memset(&screenImage, 0, sizeof screenImage);
  drawTargetImage = nullptr;
}
