#include "engine/graphics/graphs/GraphCreation.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/core/MessagePump.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/graphs/GraphSource.h"
#include "engine/graphics/hardware/DrawPieces.h"
#include "engine/graphics/hardware/GraphTextures.h"
#include "engine/graphics/hardware/TexturePieces.h"
#include "engine/graphics/hardware/TextureUpload.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/graphics/software/MemImg.h"
#include "engine/graphics/software/MemImgConvert.h"
#include "engine/graphics/software/MemImgFormats.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"

namespace {

// A device that reported no maximum is taken as able to make 256.
constexpr int FALLBACK_MAX_TEXTURE = 256;

// The texture limits of the device in use.
TextureLimits CurrentTextureLimits() {
  int maxTexture = graphCreationOptions.maxTextureSize;
  if (maxTexture <= 0) maxTexture = FALLBACK_MAX_TEXTURE;
  return {maxTexture, ScreenWidth(), displayDevice.squareTexturesOnly != 0};
}

bool HasAlphaChannel(const PixelImage& image) { return image.format.alphaWidth != 0; }

CreationDescriptor DescribeSet(const PixelImage& image, const PixelImage* alphaImage) {
  CreationDescriptor descriptor{};
  int depth = graphCreationOptions.bitDepthOverride;
  bool alpha = HasAlphaChannel(image) || alphaImage != nullptr;
  descriptor.alpha = alpha;
  if (hardwareMode) {
    descriptor.hardware = 1;
    descriptor.mipLevels = uint8_t(image.mipCount > 0 ? image.mipCount + 1 : 1);
    descriptor.dxtKind = uint8_t(image.blockCompression);
    descriptor.bitDepth = uint8_t(depth != 0 ? depth : alpha ? 32 : ScreenColorBits());
    descriptor.alphaTest = graphCreationOptions.alphaTestFormat && !alpha;
  } else {
    descriptor.software = 1;
    descriptor.drawable = 1;
    descriptor.bitDepth = uint8_t(depth != 0 ? depth : ScreenColorBits());
    descriptor.palette8 = image.format.bytesPerPixel == 1 && !alpha;
  }
  return descriptor;
}

// The colour key as the transparent value of the set's MEMIMG.
uint32_t MemImgKey(const TextureSet& set, int pixelType) {
  if (set.descriptor.palette8) return 0xFFFF;
  const ColorFormat* format = MemImgColorFormat(pixelType, set.descriptor.alpha, false);
  uint32_t key = set.colorKey;
  return EncodeColor(*format, int(key >> 16 & 0xFF), int(key >> 8 & 0xFF), int(key & 0xFF), 0);
}

int CreateSoftwareImage(TextureSet* set) {
  int pixelType = set->descriptor.bitDepth == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32;
  if (CreateMemImg(&set->memImg, set->width, set->height, -1, MemImgKey(*set, pixelType),
                   pixelType, set->descriptor.palette8, set->descriptor.alpha, nullptr) != 0)
    return WriteLog("メモリイメージの作成に失敗しました\n");
  return 0;
}

// The graph's view of its set: a derived MEMIMG of its rectangle.
int BuildSoftwareView(GraphRecord* record) {
  TextureSet* set = record->textureSet;
  std::memset(&record->memImg, 0, sizeof record->memImg);
  DeriveMemImg(&record->memImg, &set->memImg, record->x, record->y, record->width,
               record->height);
  return IsMemImgValid(&record->memImg) ? 0 : -1;
}

void ReleaseTextureSetReference(TextureSet* set) {
  if (set == nullptr || --set->refCount > 0) return;
  if (set->descriptor.software) {
    ReleaseMemImg(&set->memImg);
  } else {
    ReleaseSetTextures(set);
  }
  MemFree(set);
}

// Undoes a half-made graph: its view, its set reference, its file, its slot.
void DiscardGraph(GraphRecord* record) {
  if (IsMemImgValid(&record->memImg)) ReleaseMemImg(&record->memImg);
  ReleaseTextureSetReference(record->textureSet);
  ForgetGraphSource(record);
  FreeGraphRecord(record);
}

// The graph's view of its set: its DrawPieces in hardware mode, a derived
// MEMIMG in software mode. The (possibly moved) record, or null when the
// view cannot be made: the graph is then discarded.
GraphRecord* BuildGraphView(GraphRecord* record) {
  if (!record->textureSet->descriptor.software) {
    GraphRecord* built = BuildDrawPieces(record);
    if (built == nullptr) DiscardGraph(record);
    return built;
  }
  if (BuildSoftwareView(record) != 0) {
    DiscardGraph(record);
    return nullptr;
  }
  GraphRecord* resized = ResizeGraphRecord(record, 0);
  return resized != nullptr ? resized : record;
}

// The first palette index whose colour is the key: the transparent index of
// an 8-bit palette set (0 when no entry matches).
uint32_t PaletteKeyIndex(const MemImgStore& store, uint32_t key) {
  bool wide = store.pixelType == MEMIMG_TYPE_COLOR32;
  uint32_t wanted = wide ? key & 0xFFFFFF
                         : (key >> 19 & 0x1F) << 11 | (key >> 10 & 0x3F) << 5 | (key >> 3 & 0x1F);
  for (uint32_t index = 0; index < 256; ++index) {
    uint32_t entry = wide ? ReadPixelValue(store.palette + index * 4, 4) & 0xFFFFFF
                          : ReadPixelValue(store.palette + index * 2, 2) & 0xFFFF;
    if (entry == wanted) return index;
  }
  return 0;
}

}  // namespace

Handle CreateGraphFromImage(PixelImage* image, PixelImage* alphaImage) {
  if (!graphicsStarted || image == nullptr) return -1;
  WaitWhileInactive();
  RecomputeNoneMask(&image->format);
  if (alphaImage != nullptr) {
    RecomputeNoneMask(&alphaImage->format);
    if (alphaImage->width != image->width || alphaImage->height != image->height) return -1;
  }
  GraphRecord* record = AllocateGraphRecord();
  CreationDescriptor descriptor = DescribeSet(*image, alphaImage);
  std::vector<TexturePiece> layout;
  if (descriptor.hardware)
    layout = LayOutTexturePieces(image->width, image->height, CurrentTextureLimits());
  auto* set = static_cast<TextureSet*>(
      MemCalloc(sizeof(TextureSet) + layout.size() * sizeof(TexturePiece), "", 0));
  if (set == nullptr) {
    WriteLog("グラフィックのオリジナル画像データ保存用メモリの確保に失敗しました\n");
    FreeGraphRecord(record);
    return -1;
  }
  set->refCount = 1;
  set->descriptor = descriptor;
  set->formatClass = ChooseFormatClass(descriptor);
  set->colorKey = graphCreationOptions.colorKey;
  set->width = image->width;
  set->height = image->height;
  set->mipLevels = descriptor.mipLevels;
  set->pieceCount = int(layout.size());
  std::copy(layout.begin(), layout.end(), PiecesOf(set));
  record->textureSet = set;
  record->width = image->width;
  record->height = image->height;

  if (descriptor.hardware) {
    if (CreateGraphTextures(set) != 0) {
      DiscardGraph(record);
      return -1;
    }
  } else if (CreateSoftwareImage(set) != 0) {
    DiscardGraph(record);
    return -1;
  }
  record = BuildGraphView(record);
  if (record == nullptr) return -1;
  Handle handle = record->handle;
  TransferImageToGraph(handle, image, alphaImage, 0, 0, nullptr, 0);
  return handle;
}

Handle DeriveGraph(Handle source, int x, int y, int width, int height) {
  GraphRecord* from = FindGraphRecord(source);
  if (from == nullptr || x < 0 || y < 0 || x >= from->width || y >= from->height) return -1;
  // A cell of no pixels would be a graph nothing can draw or fill.
  if (width <= 0 || height <= 0) return -1;
  width = std::min(width, from->width - x);
  height = std::min(height, from->height - y);

  GraphRecord* record = AllocateGraphRecord();
  record->textureSet = from->textureSet;
  record->textureSet->refCount += 1;
  RememberGraphSource(record, nullptr, from);
  record->sourceX = from->sourceX + x;
  record->sourceY = from->sourceY + y;
  record->loadOption = from->loadOption;
  record->x = from->x + x;
  record->y = from->y + y;
  record->width = width;
  record->height = height;
  record = BuildGraphView(record);
  return record != nullptr ? record->handle : -1;
}

int TransferImageToGraph(Handle graph, PixelImage* image, PixelImage* alphaImage, int sourceX,
                         int sourceY, const char* fileName, int loadOption) {
  if (!engineStarted || !graphicsStarted) return -1;
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr || image == nullptr) return -1;
  if (RememberGraphSource(record, fileName, nullptr) != 0) return -1;
  record->sourceX = sourceX;
  record->sourceY = sourceY;
  record->loadOption = loadOption;

  // The image rectangle of the graph's size at (sourceX, sourceY), clipped
  // to the image; it lands at (0, 0) of the graph.
  int left = std::max(sourceX, 0);
  int top = std::max(sourceY, 0);
  int right = std::min(sourceX + record->width, image->width);
  int bottom = std::min(sourceY + record->height, image->height);
  if (right <= left || bottom <= top) return 0;

  TextureSet* set = record->textureSet;
  if (!set->descriptor.software) {
    UploadArea area = {left - sourceX, top - sourceY, right - sourceX, bottom - sourceY, sourceX,
                       sourceY};
    return UploadImageToTextures(record, *image, alphaImage, area);
  }
  int result = CopyImageToMemImg(image, alphaImage, &set->memImg, left, top, right - left,
                                 bottom - top, record->x + (left - sourceX),
                                 record->y + (top - sourceY),
                                 graphCreationOptions.colorKeyInConversion);
  if (set->descriptor.palette8)
    set->memImg.store->colorKey = PaletteKeyIndex(*set->memImg.store, set->colorKey);
  return result < 0 ? -1 : 0;
}

int ReleaseGraph(Handle graph, int flag) {
  (void)flag;
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  ForgetDrawTargetGraph(graph);
  DiscardGraph(record);
  return 0;
}

void ReleaseAllGraphs() {
  for (int slot = 0; slot < GRAPH_TABLE_SIZE && graphTable.liveCount > 0; ++slot)
    if (graphTable.records[slot] != nullptr) ReleaseGraph(graphTable.records[slot]->handle, 0);
}

int CreateDivGraphFromGraphImage(PixelImage* image, PixelImage* alphaImage, int cellCount,
                                 int columns, int rows, int cellWidth, int cellHeight,
                                 Handle* handles, int transparent) {
  (void)transparent;  // transparency comes from the colour key and the format class
  if (handles == nullptr && cellCount > 0 && columns > 0 && rows > 0) return -1;
  Handle whole = CreateGraphFromImage(image, alphaImage);
  int made = 0;
  for (int row = 0; row < rows && made < cellCount; ++row) {
    for (int column = 0; column < columns && made < cellCount; ++column) {
      Handle cell = DeriveGraph(whole, column * cellWidth, row * cellHeight, cellWidth, cellHeight);
      handles[made] = cell;
      if (cell == -1) {
        WriteLog("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n");
        for (int i = 0; i < made; ++i) ReleaseGraph(handles[i], 0);
        ReleaseGraph(whole, 0);
        return -1;
      }
      made += 1;
    }
  }
  ReleaseGraph(whole, 0);
  return 0;
}
