// An 8-bit RGB picture and its 24-bit BMP file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
};

class Image {
 public:
  Image(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height) {}

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

  // Writes an uncompressed 24-bit BMP (bottom-up rows, each padded to four
  // bytes). False when the file cannot be written.
  bool WriteBmp(const std::string& path) const;

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};
