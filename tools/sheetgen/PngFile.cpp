#include "PngFile.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

// The RGBA rows libpng is given: the image's colours are premultiplied,
// PNG's are not.
std::vector<uint8_t> StraightRows(const Image& image) {
  std::vector<uint8_t> rows;
  rows.reserve(size_t(image.width()) * image.height() * 4);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.straight(x, y);
      rows.insert(rows.end(), {c.r, c.g, c.b, image.alpha(x, y)});
    }
  }
  return rows;
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {};
  }
  std::vector<uint8_t> pixels = StraightRows(image);
  std::vector<png_bytep> rows(size_t(image.height()));
  for (int y = 0; y < image.height(); ++y) rows[size_t(y)] = &pixels[size_t(y) * image.width() * 4];
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
