#include "tools/demo/FramePng.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace {

// Scales the masked field of a pixel to 0..255.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const uint32_t maximum = mask >> shift;
  return static_cast<uint8_t>(((pixel & mask) >> shift) * 255u / maximum);
}

}  // namespace

RgbFrame ToRgb(const headless::PresentedFrame& frame) {
  RgbFrame out;
  out.width = frame.width;
  out.height = frame.height;
  out.rgb.resize(size_t(frame.width) * size_t(frame.height) * 3);
  const int bytes = frame.bitsPerPixel / 8;
  for (size_t i = 0; i < size_t(frame.width) * size_t(frame.height); ++i) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, frame.pixels.data() + i * bytes, size_t(bytes));
    for (int c = 0; c < 3; ++c) out.rgb[i * 3 + size_t(c)] = Channel(pixel, frame.masks[c]);
  }
  return out;
}

bool WritePng(const std::string& path, const RgbFrame& frame) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(frame.width);
  image.height = png_uint_32(frame.height);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, frame.rgb.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, RgbFrame* frame) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  frame->width = int(image.width);
  frame->height = int(image.height);
  frame->rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, frame->rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  return true;
}
