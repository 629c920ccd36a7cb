#include "tools/vximg/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

int WriteRgbaPng(const char* path, const PixelImage& argb) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "vximg: cannot write %s\n", path);
    return -1;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<png_bytep> rows(static_cast<size_t>(argb.height));
  for (int y = 0; y < argb.height; ++y)
    rows[static_cast<size_t>(y)] = static_cast<png_bytep>(argb.pixels) + static_cast<ptrdiff_t>(y) * argb.pitch;
  int result = -1;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(argb.width), static_cast<png_uint_32>(argb.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);  // ARGB8 is stored blue, green, red, alpha
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    result = 0;
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (std::fclose(file) != 0) result = -1;
  if (result != 0) std::fprintf(stderr, "vximg: writing %s failed\n", path);
  return result;
}
