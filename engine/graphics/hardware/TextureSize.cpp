#include "engine/graphics/hardware/TextureSize.h"

namespace {

// The largest power of two from maxTexture downward that is at most size,
// stopping at 8.
int FittingSize(int maxTexture, int size) {
  int e = maxTexture;
  while (e > 8 && e > size) e /= 2;
  return e;
}

}  // namespace

int SplitTextureSize(int size, int maxTexture, int screenWidth, int pieces[MAX_TEXTURE_SPLITS]) {
  if (size <= 8) {
    pieces[0] = 8;
    return 1;
  }
  int e = FittingSize(maxTexture, size);
  if (size < screenWidth && 2 * e <= maxTexture) {
    pieces[0] = e < size ? 2 * e : e;
    return 1;
  }
  int count = 0;
  while (count < MAX_TEXTURE_SPLITS) {
    pieces[count++] = e;
    size -= e;
    if (size <= 0) break;
    if (size > 3 * e / 4 && e < maxTexture) {
      pieces[count - 1] = 2 * e;
      break;
    }
    e = FittingSize(e, size);
  }
  if (count >= 2 && pieces[count - 1] == pieces[count - 2] && 2 * pieces[count - 1] <= maxTexture) {
    pieces[count - 2] *= 2;
    count -= 1;
  }
  return count;
}
