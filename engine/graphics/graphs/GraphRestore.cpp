#include "engine/graphics/graphs/GraphRestore.h"

#include <cstring>

#include "engine/files/Paths.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/graphs/GraphSource.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/images/ImageLoader.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"

GraphRestoreRoutine graphRestoreRoutine = nullptr;

namespace {

// The images decoded for the last file, kept while consecutive graphs come
// from the same file with the same load option.
struct DecodedFile {
  char name[PATH_BUFFER_SIZE];
  int loadOption;
  bool valid;
  PixelImage image;
  PixelImage alphaImage;
  bool hasAlpha;

  void Release() {
    if (!valid) return;
    ReleasePixelImage(&image);
    if (hasAlpha) ReleasePixelImage(&alphaImage);
    valid = false;
  }

  bool Load(const char* fileName, int option) {
    if (valid && loadOption == option && std::strcmp(name, fileName) == 0) return true;
    Release();
    image = PixelImage{};
    alphaImage = PixelImage{};
    int loaded = LoadPixelImageWithAlpha(fileName, nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE,
                                         &image, &alphaImage, 0);
    if (loaded < 0) return false;
    hasAlpha = loaded == 0;
    std::strncpy(name, fileName, sizeof name - 1);
    name[sizeof name - 1] = 0;
    loadOption = option;
    valid = true;
    return true;
  }
};

}  // namespace

int RestoreGraphsFromFiles() {
  WriteLog("グラフィックを復帰します\n");
  DecodedFile decoded{};
  for (int slot = 0; slot < graphTable.spanEnd; ++slot) {
    GraphRecord* record = graphTable.records[slot];
    if (record == nullptr || record->sourceFile == nullptr) continue;
    // The transfer records the name again and may free the old record: work
    // on a copy.
    char fileName[PATH_BUFFER_SIZE];
    std::strncpy(fileName, SourceNameText(record->sourceFile), sizeof fileName - 1);
    fileName[sizeof fileName - 1] = 0;
    if (!decoded.Load(fileName, record->loadOption)) {
      LogPrintf("ファイル:%s がロードできませんでした", fileName);
      continue;
    }
    TransferImageToGraph(record->handle, &decoded.image,
                         decoded.hasAlpha ? &decoded.alphaImage : nullptr, record->sourceX,
                         record->sourceY, fileName, record->loadOption);
  }
  decoded.Release();
  return 0;
}

void InstallDefaultGraphRestore() { graphRestoreRoutine = RestoreGraphsFromFiles; }
