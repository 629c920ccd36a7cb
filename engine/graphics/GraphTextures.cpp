#include "engine/graphics/GraphTextures.h"

#include "engine/graphics/GraphTable.h"
#include "engine/graphics/TextureSet.h"

DeviceRestoredCallback deviceRestoredCallback = nullptr;

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

}  // namespace

void ReleaseGraphTextures() {
  ForEachHardwareSet([](TextureSet* set) {
    TexturePiece* pieces = PiecesOf(set);
    for (int i = 0; i < set->pieceCount; ++i) {
      ReleaseObject(&pieces[i].surface, port::IDirect3DSurface9_Release);
      ReleaseObject(&pieces[i].extraSurface, port::IDirect3DSurface9_Release);
      ReleaseObject(&pieces[i].texture, port::IDirect3DTexture9_Release);
      ReleaseObject(&pieces[i].staging, port::IDirect3DTexture9_Release);
    }
  });
}

int RecreateGraphTextures() {
  int result = 0;
  ForEachHardwareSet([&result](TextureSet*) { result = -1; });
  return result;
}
