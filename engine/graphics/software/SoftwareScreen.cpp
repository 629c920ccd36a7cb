#include "engine/graphics/software/SoftwareScreen.h"

#include "engine/core/FatalError.h"
#include "engine/core/SystemInfo.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/images/ColorFormat.h"

MEMIMG screenMemImg;
MEMIMG* targetMemImg = nullptr;
const MEMIMG* blendMemImg = nullptr;
MEMIMG textWorkMemImg;
MEMIMG textWorkAlphaMemImg;

void SetupSoftwareScreen(int width, int height, int colorBits, int backgroundRed,
                         int backgroundGreen, int backgroundBlue) {
  int pixelType = colorBits == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32;
  if (CreateScreenMemImg(&screenMemImg, width, height, pixelType, colorBits) != 0) {
    FatalError("プライマリサーフェス用の MEMIMG の作成に失敗しました\n");
  }
  textWorkMemImg = MEMIMG{};
  textWorkAlphaMemImg = MEMIMG{};
  CreateMemImg(&textWorkMemImg, width, height, -1, 0, pixelType, 0, 0, nullptr);
  CreateMemImg(&textWorkAlphaMemImg, width, height, -1, 0, pixelType, 0, 1, nullptr);
  const ColorFormat& format = *screenMemImg.store->format;
  ClearMemImg(&screenMemImg, nullptr,
              EncodeColor(format, backgroundRed, backgroundGreen, backgroundBlue, 0));
  targetMemImg = &screenMemImg;
  // The exact saturating byte forms of modes 2 and 3 follow what the
  // processor identification found at start-up.
  memImgMmxAvailable = cpuHasMmx ? 1 : 0;
  // So do the wider forms of the vector loops.
  memImgVectorExtensions = (cpuHasSse41 ? MEMIMG_SSE41 : 0) | (cpuHasAvx2 ? MEMIMG_AVX2 : 0);
}

void ReleaseSoftwareScreen() {
  ReleaseMemImg(&textWorkAlphaMemImg);
  ReleaseMemImg(&textWorkMemImg);
  ReleaseMemImg(&screenMemImg);
  targetMemImg = nullptr;
  blendMemImg = nullptr;
}
