#include "engine/images/ImageLoader.h"

#include <cstring>

#include "engine/files/MemoryStream.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/StreamOps.h"
#include "engine/images/ConvertPixels.h"
#include "engine/images/ImageDecoders.h"
#include "engine/services/Memory.h"

namespace {

// Rows reversed through ConvertPixels into a new block of the same format.
int MirrorDecodedImage(PixelImage* image) {
  if (ExpandBlockCompressed(image) != 0) return -1;
  if (image->width <= 0 || image->height <= 0) return -1;
  const size_t bytes = static_cast<size_t>(image->pitch) * image->height;
  void* mirrored = MemAlloc(bytes, "", 0);
  if (mirrored == nullptr) return -1;
  PixelRect whole{0, 0, image->width, image->height};
  if (ConvertPixels(mirrored, image->pitch, image->format, image->pixels, image->pitch,
                    image->format, nullptr, 0, nullptr, 0, 0, whole, 1, 0, 0, DITHER_NONE, 0, 0,
                    0, 0) != 0) {
    MemFree(mirrored);
    return -1;
  }
  MemFree(image->pixels);
  image->pixels = mirrored;
  return 0;
}

}  // namespace

int LoadPixelImage(const char* path, const void* memory, int size, int fromMemory, int mirror,
                   PixelImage* image) {
  if (image == nullptr) return -1;
  StreamSource source;
  if (fromMemory) {
    MemoryStream* stream = OpenMemoryStream(memory, size);
    if (stream == nullptr) return -1;
    source = MemoryStreamSource(stream);
  } else {
    if (path == nullptr) return -1;
    FileHandle handle = streamFunctions.Open(path, 0, 1, 0);
    if (handle == 0) return -1;
    source = FileStreamSource(handle);
  }
  int result = DecodeImage(&source, image);
  if (fromMemory || result != 0) source.ops.Close(source.handle);
  if (result != 0) return -1;
  if (mirror && MirrorDecodedImage(image) != 0) {
    if (!fromMemory) source.ops.Close(source.handle);
    ReleasePixelImage(image);
    return -1;
  }
  if (!fromMemory) source.ops.Close(source.handle);
  return 0;
}

int LoadPixelImageWithAlpha(const char* path, const void* memory, int size, int fromMemory,
                            const void* alphaMemory, int alphaSize, int alphaMode,
                            PixelImage* image, PixelImage* alphaImage, int mirror) {
  if (LoadPixelImage(path, memory, size, fromMemory, mirror, image) != 0) return -1;
  if (alphaImage == nullptr) return 1;
  std::memset(alphaImage, 0, sizeof *alphaImage);
  int loaded = -1;
  if (alphaMode == ALPHA_FROM_FILE && path != nullptr) {
    char alphaPath[ALPHA_FILE_NAME_BYTES];
    AlphaFileName(path, alphaPath, sizeof alphaPath);
    loaded = LoadPixelImage(alphaPath, nullptr, 0, 0, mirror, alphaImage);
  } else if (alphaMode == ALPHA_FROM_MEMORY) {
    loaded = LoadPixelImage(nullptr, alphaMemory, alphaSize, 1, mirror, alphaImage);
  }
  return loaded == 0 ? 0 : 1;
}
