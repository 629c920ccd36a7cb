#include "bench/images/BenchImages.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

std::vector<uint8_t> BenchPixels() {
  std::vector<uint8_t> pixels(static_cast<size_t>(BENCH_WIDTH) * BENCH_HEIGHT * 4);
  uint32_t noise = 1;
  for (int y = 0; y < BENCH_HEIGHT; ++y) {
    for (int x = 0; x < BENCH_WIDTH; ++x) {
      noise = noise * 1103515245u + 12345u;
      uint8_t* p = &pixels[(static_cast<size_t>(y) * BENCH_WIDTH + x) * 4];
      p[0] = static_cast<uint8_t>(x / 4 + ((noise >> 16) & 7));
      p[1] = static_cast<uint8_t>(y / 3);
      p[2] = static_cast<uint8_t>((x + y) / 7);
      p[3] = static_cast<uint8_t>(((x / 32 + y / 32) & 1) ? 255 : 0);
    }
  }
  return pixels;
}

std::vector<uint8_t> EncodeBenchPng() {
  std::vector<uint8_t> out, pixels = BenchPixels();
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* o = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, BENCH_WIDTH, BENCH_HEIGHT, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  for (int y = 0; y < BENCH_HEIGHT; ++y) png_write_row(png, &pixels[static_cast<size_t>(y) * BENCH_WIDTH * 4]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::vector<uint8_t> EncodeBenchJpeg() {
  std::vector<uint8_t> pixels = BenchPixels(), rgb(static_cast<size_t>(BENCH_WIDTH) * 3);
  jpeg_compress_struct info;
  jpeg_error_mgr error;
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = BENCH_WIDTH;
  info.image_height = BENCH_HEIGHT;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const uint8_t* src = &pixels[static_cast<size_t>(info.next_scanline) * BENCH_WIDTH * 4];
    for (int x = 0; x < BENCH_WIDTH; ++x) {
      rgb[x * 3] = src[x * 4 + 2];
      rgb[x * 3 + 1] = src[x * 4 + 1];
      rgb[x * 3 + 2] = src[x * 4];
    }
    JSAMPROW row = rgb.data();
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

std::vector<uint8_t> EncodeBenchBmp24() {
  std::vector<uint8_t> pixels = BenchPixels();
  const int stride = (BENCH_WIDTH * 3 + 3) & ~3;
  std::vector<uint8_t> out(54 + static_cast<size_t>(stride) * BENCH_HEIGHT, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&out[at], &v, 4); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<uint32_t>(out.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, BENCH_WIDTH);
  put32(22, BENCH_HEIGHT);
  out[26] = 1;
  out[28] = 24;
  for (int y = 0; y < BENCH_HEIGHT; ++y)
    for (int x = 0; x < BENCH_WIDTH; ++x)
      std::memcpy(&out[54 + static_cast<size_t>(BENCH_HEIGHT - 1 - y) * stride + x * 3],
                  &pixels[(static_cast<size_t>(y) * BENCH_WIDTH + x) * 4], 3);
  return out;
}
