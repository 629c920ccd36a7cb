// LoadGraphSheet: a whole image file cut into cells that share its pixels.
#include <algorithm>

#include "engine/core/Engine.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/graphs/GraphSource.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/images/ImageLoader.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"

int LoadGraphSheet(const char* fileName, int cellCount, int columns, int rows, int cellWidth,
                   int cellHeight, Handle* handles, int transparent) {
  // Before graphics start-up there is nowhere to make the cells: refused
  // without reading the file.
  if (!graphicsStarted) return -1;
  WaitWhileInactive();
  PixelImage image{};
  PixelImage alphaImage{};
  int loaded = fileName == nullptr
                   ? -1
                   : LoadPixelImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE,
                                             &image, &alphaImage, 0);
  if (loaded < 0) {
    LogPrintf("右記のグラフィックファイルのロードに失敗しました：%s", fileName ? fileName : "");
    return -1;
  }
  PixelImage* alpha = loaded == 0 ? &alphaImage : nullptr;
  int result = CreateDivGraphFromGraphImage(&image, alpha, cellCount, columns, rows, cellWidth,
                                            cellHeight, handles, transparent);
  if (result == 0) {
    // Only the cells that were made: with more cells asked for than columns
    // x rows, the elements past them are left as they were.
    int made = std::min(cellCount, std::max(0, columns) * std::max(0, rows));
    for (int i = 0; i < made; ++i)
      if (GraphRecord* cell = FindGraphRecord(handles[i]))
        RememberGraphSource(cell, fileName, nullptr);
  }
  ReleasePixelImage(&image);
  if (alpha) ReleasePixelImage(&alphaImage);
  return result;
}
