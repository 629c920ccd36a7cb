#include "engine/graphics/hardware/GraphTextures.h"

#include <algorithm>
#include <cstring>

#include "engine/graphics/hardware/TextureFormats.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/services/Log.h"

namespace {

// Calls visit once for every hardware TextureSet in use (graphs cut from
// one image share theirs).
template <typename Visit>
void ForEachHardwareSet(Visit visit) {
  for (int slot = 0; slot < graphTable.spanEnd; ++slot) {
    GraphRecord* record = graphTable.records[slot];
    if (record == nullptr || record->textureSet == nullptr) continue;
    TextureSet* set = record->textureSet;
    if (set->descriptor.software) continue;
    bool seen = false;
    for (int earlier = 0; earlier < slot && !seen; ++earlier)
      seen = graphTable.records[earlier] != nullptr && graphTable.records[earlier]->textureSet == set;
    if (!seen) visit(set);
  }
}

template <typename Object>
void ReleaseObject(Object** object, uint32_t (*release)(Object*)) {
  if (*object == nullptr) return;
  release(*object);
  *object = nullptr;
}

// Zeroes every mip level of a lockable texture (transparent black). 0, or
// -1 logged when a level cannot be locked.
int ZeroLevels(port::Direct3DTexture9Handle texture, const TexturePiece& piece, int levels) {
  for (int level = 0; level < levels; ++level) {
    port::D3DLockedRect locked{};
    if (port::IDirect3DTexture9_LockRect(texture, uint32_t(level), &locked, nullptr, 0) < 0)
      return WriteLog("テクスチャのロックに失敗しました\n");
    int rows = std::max(1, piece.textureHeight >> level);
    std::memset(locked.pBits, 0, size_t(locked.Pitch) * size_t(rows));
    port::IDirect3DTexture9_UnlockRect(texture, uint32_t(level));
  }
  return 0;
}

// A new texture starts cleared: a drawable one by a colour fill, a DXT one
// not at all, any other by zeroing what the engine writes through. 0, or -1
// when it could not be cleared (a twin left uncleared is not copied).
int ClearPiece(const TextureSet& set, TexturePiece* piece, uint32_t format) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (set.descriptor.drawable) {
    port::IDirect3DDevice9_ColorFill(device, piece->surface, nullptr, 0);
    return 0;
  }
  if (IsBlockCompressedFormat(format)) return 0;
  port::Direct3DTexture9Handle written = piece->staging ? piece->staging : piece->texture;
  if (ZeroLevels(written, *piece, set.mipLevels) != 0) return -1;
  if (piece->staging) port::IDirect3DDevice9_UpdateTexture(device, piece->staging, piece->texture);
  return 0;
}

// Releases what the piece holds, leaving its pointers null.
void ReleasePieceTextures(TexturePiece* piece) {
  ReleaseObject(&piece->surface, port::IDirect3DSurface9_Release);
  ReleaseObject(&piece->extraSurface, port::IDirect3DSurface9_Release);
  ReleaseObject(&piece->texture, port::IDirect3DTexture9_Release);
  ReleaseObject(&piece->staging, port::IDirect3DTexture9_Release);
}

int CreatePieceTextures(const TextureSet& set, TexturePiece* piece, uint32_t format) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  const CreationDescriptor& descriptor = set.descriptor;
  bool twin = descriptor.staging && !descriptor.drawable;
  uint32_t usage = descriptor.drawable ? port::D3DUSAGE_RENDERTARGET : 0;
  uint32_t pool =
      descriptor.staging || descriptor.drawable ? port::D3DPOOL_DEFAULT : port::D3DPOOL_MANAGED;
  uint32_t width = uint32_t(piece->textureWidth), height = uint32_t(piece->textureHeight);
  uint32_t levels = uint32_t(set.mipLevels);
  if (port::IDirect3DDevice9_CreateTexture(device, width, height, levels, usage, format, pool,
                                           &piece->texture) < 0) {
    piece->texture = nullptr;
    return WriteLog("書き込み専用テクスチャの作成に失敗しました\n");
  }
  if (twin && port::IDirect3DDevice9_CreateTexture(device, width, height, levels,
                                                   port::D3DUSAGE_DYNAMIC, format,
                                                   port::D3DPOOL_SYSTEMMEM, &piece->staging) < 0) {
    piece->staging = nullptr;
    ReleaseObject(&piece->texture, port::IDirect3DTexture9_Release);
    return WriteLog("メモリテクスチャの作成に失敗しました\n");
  }
  // A piece is whole or has nothing: a later creation makes only the pieces
  // without a texture, so a half-made one would never get its surface.
  if (port::IDirect3DTexture9_GetSurfaceLevel(piece->texture, 0, &piece->surface) < 0) {
    piece->surface = nullptr;
    ReleasePieceTextures(piece);
    return WriteLog("テクスチャのサーフェスアドレスの取得に失敗しました\n");
  }
  if (ClearPiece(set, piece, format) != 0) {
    ReleasePieceTextures(piece);
    return -1;
  }
  return 0;
}

}  // namespace

int CreateGraphTextures(TextureSet* set) {
  uint32_t format = textureFormatTable[set->formatClass];
  if (format == 0)
    return WriteLog("指定のフォーマットで作成できるテクスチャフォーマットがありませんでした\n");
  // A hardware run whose device could not be made again has none until the
  // next activation: no texture can be made on it.
  if (displayDevice.device == nullptr) return WriteLog("書き込み専用テクスチャの作成に失敗しました\n");
  // The device in force decides: a rebuild onto a plain device goes back to
  // the managed pool.
  set->descriptor.staging = displayDevice.isEx ? 1 : 0;
  TexturePiece* pieces = PiecesOf(set);
  for (int i = 0; i < set->pieceCount; ++i) {
    if (pieces[i].texture != nullptr) continue;
    if (CreatePieceTextures(*set, &pieces[i], format) != 0) return -1;
  }
  return 0;
}

void ReleaseSetTextures(TextureSet* set) {
  TexturePiece* pieces = PiecesOf(set);
  for (int i = 0; i < set->pieceCount; ++i) ReleasePieceTextures(&pieces[i]);
}

void ReleaseGraphTextures() { ForEachHardwareSet(ReleaseSetTextures); }

int RecreateGraphTextures() {
  int result = 0;
  ForEachHardwareSet([&result](TextureSet* set) {
    if (CreateGraphTextures(set) != 0) result = -1;
  });
  return result;
}

int GraphTexturesMissing() {
  int missing = 0;
  ForEachHardwareSet([&missing](TextureSet* set) {
    const TexturePiece* pieces = PiecesOf(set);
    for (int i = 0; i < set->pieceCount && !missing; ++i) missing = pieces[i].texture == nullptr;
  });
  return missing;
}
