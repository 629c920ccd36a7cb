// vximg info FILE       which decoder accepts the file, its size and
//                       ColorFormat, and whether a separate alpha image
//                       (FILE with "_a" before the extension) was found.
// vximg png FILE OUT    the file through the engine's loader (stream layer,
//                       alpha image when there is one) written as RGBA PNG.
// Exit code 0, 1 when no decoder accepts the file, 2 for a usage error or
// a file that cannot be written.
#include <cstdio>
#include <cstring>

#include "engine/files/StreamFunctions.h"
#include "engine/files/StreamOps.h"
#include "engine/images/ConvertPixels.h"
#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLoader.h"
#include "tools/vximg/PngWriter.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: vximg info FILE\n       vximg png FILE OUT.png\n");
  return 2;
}

int NotAnImage(const char* path) {
  std::fprintf(stderr, "vximg: %s: no decoder accepts this file (BMP, JPEG, PNG, BGRA, TGA, DDS)\n", path);
  return 1;
}

void PrintFormat(const PixelImage& image) {
  const ColorFormat& f = image.format;
  std::printf("format: %d bits, %d bytes per pixel%s\n", f.bitsPerPixel, f.bytesPerPixel,
              IsPaletteFormat(f) ? ", palette" : "");
  std::printf("  red   %08X (%d at %d)\n  green %08X (%d at %d)\n  blue  %08X (%d at %d)\n"
              "  alpha %08X (%d at %d)\n  none  %08X\n",
              f.redMask, f.redWidth, f.redShift, f.greenMask, f.greenWidth, f.greenShift,
              f.blueMask, f.blueWidth, f.blueShift, f.alphaMask, f.alphaWidth, f.alphaShift, f.noneMask);
  if (image.blockCompression) std::printf("  DXT%d blocks\n", image.blockCompression);
  if (image.mipCount) std::printf("  %d further mip levels\n", image.mipCount);
}

int Info(const char* path) {
  FileHandle handle = streamFunctions.Open(path, 0, 1, 0);
  if (handle == 0) {
    std::fprintf(stderr, "vximg: cannot open %s\n", path);
    return 1;
  }
  StreamSource source = FileStreamSource(handle);
  PixelImage image{};
  const char* decoder = nullptr;
  int result = DecodeImage(&source, &image, &decoder);
  source.ops.Close(source.handle);
  if (result != 0) return NotAnImage(path);
  std::printf("decoder: %s\nsize: %d x %d\npitch: %d\n", decoder, image.width, image.height, image.pitch);
  PrintFormat(image);
  ReleasePixelImage(&image);

  PixelImage picture{}, alpha{};
  int withAlpha = LoadPixelImageWithAlpha(path, nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE, &picture, &alpha, 0);
  char alphaPath[ALPHA_FILE_NAME_BYTES];
  AlphaFileName(path, alphaPath, sizeof alphaPath);
  std::printf("alpha image: %s\n", withAlpha == 0 ? alphaPath : "none");
  ReleasePixelImage(&picture);
  ReleasePixelImage(&alpha);
  return 0;
}

int Png(const char* path, const char* out) {
  PixelImage picture{}, alpha{};
  int loaded = LoadPixelImageWithAlpha(path, nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE, &picture, &alpha, 0);
  if (loaded < 0) return NotAnImage(path);
  PixelImage argb{};
  int result = 2;
  const bool alphaFits = loaded == 0 && ExpandBlockCompressed(&alpha) == 0 &&
                         alpha.width >= picture.width && alpha.height >= picture.height;
  if (ExpandBlockCompressed(&picture) == 0 && CreateArgb8PixelImage(picture.width, picture.height, &argb) == 0) {
    PixelRect whole{0, 0, picture.width, picture.height};
    if (ConvertPixels(argb.pixels, argb.pitch, argb.format, picture.pixels, picture.pitch, picture.format,
                      alphaFits ? alpha.pixels : nullptr, alpha.pitch, alphaFits ? &alpha.format : nullptr,
                      0, 0, whole, 0, 0, 0, DITHER_NONE, 0, 0, 0, 0) == 0 &&
        WriteRgbaPng(out, argb) == 0) {
      result = 0;
    }
  }
  ReleasePixelImage(&argb);
  ReleasePixelImage(&picture);
  ReleasePixelImage(&alpha);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "info") == 0) return Info(argv[2]);
  if (argc == 4 && std::strcmp(argv[1], "png") == 0) return Png(argv[2], argv[3]);
  return Usage();
}
