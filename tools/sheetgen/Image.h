// An 8-bit RGB picture with an alpha channel. The colours are as painted
// over black (premultiplied by alpha), which is what the sheets hold: black
// is their transparent colour, and their 24-bit BMP files drop the alpha.
// The icons keep it (IconFiles.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

class Image {
 public:
  Image(int width, int height)
      : width_(width), height_(height), pixels_(size_t(width) * height),
        alpha_(size_t(width) * height, 255) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
  uint8_t& alpha(int x, int y) { return alpha_[size_t(y) * width_ + x]; }
  uint8_t alpha(int x, int y) const { return alpha_[size_t(y) * width_ + x]; }
  // The colour of a pixel divided by its alpha (black where alpha is 0), as
  // files with an alpha channel store it.
  Rgb straight(int x, int y) const;

  // Writes an uncompressed 24-bit BMP (bottom-up rows, each padded to four
  // bytes). False when the file cannot be written.
  bool WriteBmp(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
  std::vector<uint8_t> alpha_;
};
