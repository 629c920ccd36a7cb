#include "engine/graphics/hardware/TextureUpload.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/hardware/TextureFormats.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/images/ConvertPixels.h"
#include "engine/images/PixelCopy.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"

namespace {

const char* const LOCK_FAILED = "テクスチャのロックに失敗しました\n";
const char* const MIP_LOCK_FAILED = "ミップマップテクスチャのロックに失敗しました\n";

// How the pixels of one upload are converted into the texture format.
struct Conversion {
  const ColorFormat* format;  // the texture's
  bool keyToAlpha;
  uint32_t key;
};

// One lock of one mip level: where in the level (right and bottom
// exclusive) and how much of the level the image fills.
struct LevelWrite {
  port::Direct3DTexture9Handle texture;
  int level;
  port::WindowRect rect;
  int usedWidth, usedHeight;
  int textureWidth, textureHeight;
  const char* lockFailure;
};

int LevelSize(int size, int level) { return std::max(1, size >> level); }
// The part of a level that an image filling `used` pixels of level 0 fills:
// its own mip levels are halved and rounded down, as the level is.
int LevelUsed(int used, int level) { return std::max(1, used >> level); }

LevelWrite WriteOfLevel(port::Direct3DTexture9Handle texture, const TexturePiece& piece,
                        const port::WindowRect& levelZero, int level) {
  LevelWrite write{};
  write.texture = texture;
  write.level = level;
  write.rect.left = levelZero.left >> level;
  write.rect.top = levelZero.top >> level;
  write.rect.right = std::max(write.rect.left + 1, levelZero.right >> level);
  write.rect.bottom = std::max(write.rect.top + 1, levelZero.bottom >> level);
  write.textureWidth = LevelSize(piece.textureWidth, level);
  write.textureHeight = LevelSize(piece.textureHeight, level);
  write.usedWidth = std::min(write.textureWidth, LevelUsed(piece.usedWidth, level));
  write.usedHeight = std::min(write.textureHeight, LevelUsed(piece.usedHeight, level));
  write.rect.right = std::min(write.rect.right, write.textureWidth);
  write.rect.bottom = std::min(write.rect.bottom, write.textureHeight);
  write.lockFailure = level == 0 ? LOCK_FAILED : MIP_LOCK_FAILED;
  return write;
}

// Repeats the last converted column into the column after it, the last row
// into the row below (with the corner), so that filtering at the image's
// edge reads its own pixels and not the cleared rest of the texture.
void RepeatEdges(uint8_t* base, int pitch, int bytes, int columns, int rows, bool extraColumn,
                 bool extraRow) {
  if (extraColumn)
    for (int row = 0; row < rows; ++row) {
      uint8_t* line = base + ptrdiff_t(row) * pitch;
      std::memcpy(line + ptrdiff_t(columns) * bytes, line + ptrdiff_t(columns - 1) * bytes,
                  size_t(bytes));
    }
  if (extraRow)
    std::memcpy(base + ptrdiff_t(rows) * pitch, base + ptrdiff_t(rows - 1) * pitch,
                size_t(columns + (extraColumn ? 1 : 0)) * size_t(bytes));
}

// Locks the write's rectangle (one wider and higher where it reaches the
// edge of the image inside a larger texture), converts the source rectangle
// into it and repeats the edges.
int ConvertIntoLevel(const LevelWrite& write, const Conversion& conversion,
                     const PixelImage& source, const PixelImage* alpha, const PixelRect& from) {
  int columns = from.x2 - from.x1, rows = from.y2 - from.y1;
  if (columns <= 0 || rows <= 0) return 0;
  port::WindowRect lock = {write.rect.left, write.rect.top, write.rect.left + columns,
                           write.rect.top + rows};
  bool extraColumn = write.usedWidth < write.textureWidth && lock.right == write.usedWidth;
  bool extraRow = write.usedHeight < write.textureHeight && lock.bottom == write.usedHeight;
  lock.right += extraColumn ? 1 : 0;
  lock.bottom += extraRow ? 1 : 0;
  port::D3DLockedRect locked{};
  if (port::IDirect3DTexture9_LockRect(write.texture, uint32_t(write.level), &locked, &lock, 0) < 0)
    return WriteLog(write.lockFailure);
  ConvertPixels(locked.pBits, locked.Pitch, *conversion.format, source.pixels, source.pitch,
                source.format, alpha ? alpha->pixels : nullptr, alpha ? alpha->pitch : 0,
                alpha ? &alpha->format : nullptr, 0, 0, from, 0, conversion.keyToAlpha,
                conversion.key, DITHER_NONE, 0, 0, 0, 0);
  RepeatEdges(static_cast<uint8_t*>(locked.pBits), locked.Pitch,
              conversion.format->bytesPerPixel, columns, rows, extraColumn, extraRow);
  port::IDirect3DTexture9_UnlockRect(write.texture, uint32_t(write.level));
  return 0;
}

// The bytes before a level of an image that holds its mip levels one after
// another (the first with the image's pitch, the others packed).
size_t LevelOffset(const PixelImage& image, int level) {
  size_t offset = 0;
  for (int i = 0; i < level; ++i) {
    int width = LevelSize(image.width, i), height = LevelSize(image.height, i);
    offset += image.blockCompression
                  ? size_t(BlockCompressedLevelSize(image.blockCompression, width, height))
                  : size_t(i == 0 ? image.pitch : width * image.format.bytesPerPixel) *
                        size_t(height);
  }
  return offset;
}

// A view of one mip level of an image (level 0 is the image itself).
PixelImage LevelOf(const PixelImage& image, int level) {
  if (level == 0) return image;
  PixelImage view = image;
  view.width = LevelSize(image.width, level);
  view.height = LevelSize(image.height, level);
  view.pitch = view.width * image.format.bytesPerPixel;
  view.pixels = static_cast<uint8_t*>(image.pixels) + LevelOffset(image, level);
  view.mipCount = 0;
  return view;
}

// The source rectangle of a level, clipped to the level's image.
PixelRect LevelSource(const PixelImage& level, int x, int y, const port::WindowRect& rect) {
  PixelRect from = {x, y, x + (rect.right - rect.left), y + (rect.bottom - rect.top)};
  from.x2 = std::min(from.x2, level.width);
  from.y2 = std::min(from.y2, level.height);
  return from;
}

// Every level from the image's own mip levels.
int ConvertLevels(port::Direct3DTexture9Handle texture, const TexturePiece& piece,
                  const port::WindowRect& rect, int levels, const Conversion& conversion,
                  const PixelImage& image, const PixelImage* alpha, int imageX, int imageY) {
  int result = 0;
  for (int level = 0; level < levels; ++level) {
    LevelWrite write = WriteOfLevel(texture, piece, rect, level);
    PixelImage source = LevelOf(image, level);
    PixelImage alphaLevel{};
    bool alphaHasLevel = alpha != nullptr && alpha->mipCount >= level;
    if (alphaHasLevel) alphaLevel = LevelOf(*alpha, level);
    PixelRect from = LevelSource(source, imageX >> level, imageY >> level, write.rect);
    if (ConvertIntoLevel(write, conversion, source, alphaHasLevel ? &alphaLevel : nullptr, from) != 0)
      result = -1;
  }
  return result;
}

uint32_t RoundUpToPowerOfTwo(int value) {
  uint32_t power = 1;
  while (power < uint32_t(value)) power <<= 1;
  return power;
}

// Level 0 converted into a buffer of power-of-two size, each further level
// made by halving the one before, alternating between two buffers.
int HalveIntoLevels(port::Direct3DTexture9Handle texture, const TexturePiece& piece,
                    const port::WindowRect& rect, int levels, const Conversion& conversion,
                    const PixelImage& image, const PixelImage* alpha, const PixelRect& from) {
  int width = int(RoundUpToPowerOfTwo(from.x2 - from.x1));
  int height = int(RoundUpToPowerOfTwo(from.y2 - from.y1));
  int bytes = conversion.format->bytesPerPixel;
  size_t size = size_t(width) * size_t(height) * size_t(bytes);
  auto* buffers = static_cast<uint8_t*>(MemCalloc(2 * size, "", 0));
  if (buffers == nullptr)
    return WriteLog("テクスチャへ転送する画像を一時的に格納するメモリ領域の確保に失敗しました\n");
  PixelImage current{};
  current.format = *conversion.format;
  current.width = width;
  current.height = height;
  current.pitch = width * bytes;
  current.pixels = buffers;
  ConvertPixels(current.pixels, current.pitch, current.format, image.pixels, image.pitch,
                image.format, alpha ? alpha->pixels : nullptr, alpha ? alpha->pitch : 0,
                alpha ? &alpha->format : nullptr, 0, 0, from, 0, conversion.keyToAlpha,
                conversion.key, DITHER_NONE, 0, 0, 0, 0);
  Conversion copy = {conversion.format, false, 0};
  int result = 0;
  for (int level = 0; level < levels; ++level) {
    if (level > 0) {
      PixelImage half = current;
      half.pixels = current.pixels == buffers ? buffers + size : buffers;
      half.width = std::max(1, current.width / 2);
      half.height = std::max(1, current.height / 2);
      half.pitch = half.width * bytes;
      HalfScalePixels(*conversion.format, half.pixels, half.pitch, current.pixels, current.pitch,
                      nullptr, current.width, current.height);
      current = half;
    }
    LevelWrite write = WriteOfLevel(texture, piece, rect, level);
    if (ConvertIntoLevel(write, copy, current, nullptr, LevelSource(current, 0, 0, write.rect)) != 0)
      result = -1;
  }
  MemFree(buffers);
  return result;
}

// A DXT image copied into a DXT texture of its kind, block row by block row,
// every level the texture and the image both have.
int CopyBlocks(port::Direct3DTexture9Handle texture, const TexturePiece& piece, int levels,
               const PixelImage& image, int imageX, int imageY) {
  int blockBytes = image.blockCompression == 1 ? 8 : 16;
  levels = std::min(levels, image.mipCount + 1);
  int result = 0;
  for (int level = 0; level < levels; ++level) {
    port::D3DLockedRect locked{};
    if (port::IDirect3DTexture9_LockRect(texture, uint32_t(level), &locked, nullptr, 0) < 0) {
      result = WriteLog(level == 0 ? LOCK_FAILED : MIP_LOCK_FAILED);
      continue;
    }
    int imageAcross = (LevelSize(image.width, level) + 3) / 4;
    int imageDown = (LevelSize(image.height, level) + 3) / 4;
    int across = (LevelSize(piece.textureWidth, level) + 3) / 4;
    int down = (LevelSize(piece.textureHeight, level) + 3) / 4;
    int firstColumn = (imageX >> level) / 4, firstRow = (imageY >> level) / 4;
    int copied = std::min(across, imageAcross - firstColumn);
    const uint8_t* source = static_cast<const uint8_t*>(image.pixels) + LevelOffset(image, level);
    for (int row = 0; row < down && firstRow + row < imageDown && copied > 0; ++row)
      std::memcpy(static_cast<uint8_t*>(locked.pBits) + ptrdiff_t(row) * locked.Pitch,
                  source + (size_t(firstRow + row) * size_t(imageAcross) + size_t(firstColumn)) *
                               size_t(blockBytes),
                  size_t(copied) * size_t(blockBytes));
    port::IDirect3DTexture9_UnlockRect(texture, uint32_t(level));
  }
  return result;
}

// Level 0 of a DXT image as plain ARGB pixels, for a texture of an ordinary
// format.
int ExpandedCopy(const PixelImage& image, PixelImage* expanded) {
  *expanded = image;
  expanded->mipCount = 0;
  size_t bytes = size_t(BlockCompressedLevelSize(image.blockCompression, image.width, image.height));
  expanded->pixels = MemAlloc(bytes, "", 0);
  if (expanded->pixels != nullptr) std::memcpy(expanded->pixels, image.pixels, bytes);
  if (expanded->pixels == nullptr || ExpandBlockCompressed(expanded) != 0) {
    ReleasePixelImage(expanded);
    return WriteLog("標準イメージ用のメモリ確保に失敗しました\n");
  }
  return 0;
}

// The part of the area that one DrawPiece shows.
struct PieceWrite {
  port::WindowRect texture;  // in the piece's texture, level 0
  int imageX, imageY;        // its top-left pixel in the image
};

bool PieceWriteOf(const DrawPiece& drawPiece, const UploadArea& area, PieceWrite* write) {
  int left = std::max(area.left, drawPiece.destX);
  int top = std::max(area.top, drawPiece.destY);
  int right = std::min(area.right, drawPiece.destX + drawPiece.width);
  int bottom = std::min(area.bottom, drawPiece.destY + drawPiece.height);
  if (left >= right || top >= bottom) return false;
  int x = drawPiece.sourceX + (left - drawPiece.destX);
  int y = drawPiece.sourceY + (top - drawPiece.destY);
  write->texture = {x, y, x + (right - left), y + (bottom - top)};
  write->imageX = left + area.imageX;
  write->imageY = top + area.imageY;
  return true;
}

int WritePiece(const TextureSet& set, const TexturePiece& piece, const PieceWrite& write,
               uint32_t format, const Conversion& conversion, const PixelImage& image,
               const PixelImage* alpha) {
  port::Direct3DTexture9Handle texture = piece.staging ? piece.staging : piece.texture;
  int kind = BlockCompressionOfFormat(format);
  if (kind != 0) {
    bool whole = write.texture.left == 0 && write.texture.top == 0 &&
                 write.texture.right == piece.textureWidth &&
                 write.texture.bottom == piece.textureHeight;
    bool aligned = write.imageX % 4 == 0 && write.imageY % 4 == 0;
    if (image.blockCompression != kind || !whole || !aligned)
      return WriteLog("DXTフォーマットのテクスチャに標準形式のイメージを転送することはできません\n");
    return CopyBlocks(texture, piece, set.mipLevels, image, write.imageX, write.imageY);
  }
  int levels = std::max(1, set.mipLevels);
  int width = write.texture.right - write.texture.left;
  int height = write.texture.bottom - write.texture.top;
  if (levels >= 2 && image.mipCount + 1 < levels) {
    PixelRect from = {write.imageX, write.imageY, write.imageX + width, write.imageY + height};
    return HalveIntoLevels(texture, piece, write.texture, levels, conversion, image, alpha, from);
  }
  return ConvertLevels(texture, piece, write.texture, levels, conversion, image, alpha,
                       write.imageX, write.imageY);
}

}  // namespace

int UploadImageToTextures(GraphRecord* record, const PixelImage& image,
                          const PixelImage* alphaImage, const UploadArea& area) {
  const TextureSet& set = *record->textureSet;
  uint32_t format = textureFormatTable[set.formatClass];
  bool blockTexture = IsBlockCompressedFormat(format);
  const ColorFormat* layout = D3DFormatColorFormat(format);
  if (!blockTexture && layout == nullptr) return -1;

  // A DXT image goes into an ordinary texture as plain pixels.
  PixelImage expanded{};
  const PixelImage* source = &image;
  if (image.blockCompression != 0 && !blockTexture) {
    if (ExpandedCopy(image, &expanded) != 0) return -1;
    source = &expanded;
  }
  Conversion conversion{layout, false, set.colorKey};
  conversion.keyToAlpha = graphCreationOptions.colorKeyInConversion && layout != nullptr &&
                          layout->alphaWidth != 0 && source->format.alphaWidth == 0 &&
                          alphaImage == nullptr;

  int result = 0;
  DrawPiece* pieces = DrawPiecesOf(record);
  for (int i = 0; i < record->drawPieceCount; ++i) {
    PieceWrite write;
    if (!PieceWriteOf(pieces[i], area, &write)) continue;
    const TexturePiece& piece = *pieces[i].piece;
    if (piece.texture == nullptr) {
      result = -1;  // lost with the device and not made again
      continue;
    }
    if (WritePiece(set, piece, write, format, conversion, *source, alphaImage) != 0) result = -1;
    // The pixels reach the texture only through the copy from its staging
    // twin: a refused copy fails the transfer.
    if (piece.staging &&
        port::IDirect3DDevice9_UpdateTexture(displayDevice.device, piece.staging, piece.texture) < 0)
      result = WriteLog("テクスチャへの転送に失敗しました\n");
  }
  if (source == &expanded) ReleasePixelImage(&expanded);
  return result;
}
