// One decoder (FUZZ_DECODER) on arbitrary bytes through a memory stream of
// the stream layer. An accepted image must be consistent with its own
// description: every pixel is read back and the whole image converted.
#include <cstddef>
#include <cstdint>

#include "engine/files/MemoryStream.h"
#include "engine/files/StreamOps.h"
#include "engine/images/ConvertPixels.h"
#include "engine/images/ImageDecoders.h"

namespace {

// The whole chain of decoders, as loading offers a file.
[[maybe_unused]] int DecodeAnyImage(StreamSource* source, PixelImage* image) { return DecodeImage(source, image); }

// Reading back every pixel of a huge image made from a few bytes (a BMP
// whose short data leaves black rows, say) only spends the time limit.
constexpr int64_t EXERCISED_PIXELS = int64_t{1} << 22;

void Exercise(PixelImage* image) {
  if (static_cast<int64_t>(image->width) * image->height > EXERCISED_PIXELS) return;
  if (ExpandBlockCompressed(image) != 0) return;
  int r, g, b, a;
  for (int y = 0; y < image->height; y += (image->height > 64 ? image->height / 64 : 1))
    for (int x = 0; x < image->width; x += (image->width > 64 ? image->width / 64 : 1))
      GetPixelColor(image, x, y, &r, &g, &b, &a);
  GetPixelColor(image, image->width - 1, image->height - 1, &r, &g, &b, &a);
  PixelImage argb{};
  if (CreateArgb8PixelImage(image->width, image->height, &argb) != 0) return;
  PixelRect whole{0, 0, image->width, image->height};
  ConvertPixels(argb.pixels, argb.pitch, argb.format, image->pixels, image->pitch, image->format,
                nullptr, 0, nullptr, 0, 0, whole, 0, 1, 0, DITHER_NONE, 0, 0, 0, 1);
  ReleasePixelImage(&argb);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x7FFFFFFF) return 0;
  MemoryStream* stream = OpenMemoryStream(data, static_cast<int32_t>(size));
  if (stream == nullptr) return 0;
  StreamSource source = MemoryStreamSource(stream);
  PixelImage image{};
  if (FUZZ_DECODER(&source, &image) == 0) Exercise(&image);
  ReleasePixelImage(&image);
  source.ops.Close(source.handle);
  return 0;
}
