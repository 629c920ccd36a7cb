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

// Zeroes every mip level of a lockable texture (transparent black).
void ZeroLevels(port::Direct3DTexture9Handle texture, const TexturePiece& piece, int levels) {
  for (int level = 0; level < levels; ++level) {
    port::D3DLockedRect locked{};
    if (port::IDirect3DTexture9_LockRect(texture, uint32_t(level), &locked, nullptr, 0) < 0)
      continue;
    int rows = std::max(1, piece.textureHeight >> level);
    std::memset(locked.pBits, 0, size_t(locked.Pitch) * size_t(rows));
    port::IDirect3DTexture9_UnlockRect(texture, uint32_t(level));
  }
}

// A new texture starts cleared: a drawable one by a colour fill, a DXT one
// not at all, any other by zeroing what the engine writes through.
void ClearPiece(const TextureSet& set, TexturePiece* piece, uint32_t format) {
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (set.descriptor.drawable) {
    port::IDirect3DDevice9_ColorFill(device, piece->surface, nullptr, 0);
    return;
  }
  if (IsBlockCompressedFormat(format)) return;
  port::Direct3DTexture9Handle written = piece->staging ? piece->staging : piece->texture;
  ZeroLevels(written, *piece, set.mipLevels);
  if (piece->staging) port::IDirect3DDevice9_UpdateTexture(device, piece->staging, piece->texture);
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
  if (port::IDirect3DTexture9_GetSurfaceLevel(piece->texture, 0, &piece->surface) < 0) {
    piece->surface = nullptr;
    return WriteLog("テクスチャのサーフェスアドレスの取得に失敗しました\n");
  }
  ClearPiece(set, piece, format);
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
  if (displayDevice.isEx) set->descriptor.staging = 1;
  TexturePiece* pieces = PiecesOf(set);
  for (int i = 0; i < set->pieceCount; ++i) {
    if (pieces[i].texture != nullptr) continue;
    if (CreatePieceTextures(*set, &pieces[i], format) != 0) return -1;
  }
  return 0;
}

void ReleaseSetTextures(TextureSet* set) {
  TexturePiece* pieces = PiecesOf(set);
  for (int i = 0; i < set->pieceCount; ++i) {
    ReleaseObject(&pieces[i].surface, port::IDirect3DSurface9_Release);
    ReleaseObject(&pieces[i].extraSurface, port::IDirect3DSurface9_Release);
    ReleaseObject(&pieces[i].texture, port::IDirect3DTexture9_Release);
    ReleaseObject(&pieces[i].staging, port::IDirect3DTexture9_Release);
  }
}

void ReleaseGraphTextures() { ForEachHardwareSet(ReleaseSetTextures); }

int RecreateGraphTextures() {
  int result = 0;
  ForEachHardwareSet([&result](TextureSet* set) {
    if (CreateGraphTextures(set) != 0) result = -1;
  });
  return result;
}
