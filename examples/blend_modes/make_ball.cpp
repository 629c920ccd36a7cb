// make_ball: draws ball.bmp, the 64 x 64 graph the blend_modes example
// draws in every mode: a disc shaded from orange at the rim to pale yellow
// at its highlight, on black (transparent to the engine).
//
//   make_ball OUT.bmp
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int SIZE = 64;

// A 24-bit BMP, rows bottom up (64 pixels of 3 bytes need no padding).
bool WriteBmp(const char* path, const std::vector<unsigned char>& rgb) {
  const unsigned pixelBytes = SIZE * SIZE * 3;
  unsigned char header[54] = {'B', 'M'};
  auto put32 = [&header](int at, unsigned value) {
    for (int i = 0; i < 4; ++i) header[at + i] = (unsigned char)(value >> (8 * i));
  };
  put32(2, 54 + pixelBytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, SIZE);
  put32(22, SIZE);
  header[26] = 1;   // planes
  header[28] = 24;  // bits per pixel
  put32(34, pixelBytes);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header;
  for (int y = SIZE - 1; y >= 0 && written; --y) {
    unsigned char row[SIZE * 3];
    for (int x = 0; x < SIZE; ++x) {
      const unsigned char* pixel = &rgb[size_t(y * SIZE + x) * 3];
      row[x * 3 + 0] = pixel[2];  // BMP stores blue, green, red
      row[x * 3 + 1] = pixel[1];
      row[x * 3 + 2] = pixel[0];
    }
    written = std::fwrite(row, 1, sizeof row, file) == sizeof row;
  }
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_ball OUT.bmp\n");
    return 2;
  }
  std::vector<unsigned char> rgb(SIZE * SIZE * 3, 0);
  const double centre = (SIZE - 1) / 2.0, radius = SIZE / 2.0 - 1;
  for (int y = 0; y < SIZE; ++y)
    for (int x = 0; x < SIZE; ++x) {
      const double distance = std::hypot(x - centre, y - centre);
      if (distance > radius) continue;
      // The highlight sits up and to the left of the centre.
      const double light = 1.0 - std::hypot(x - centre + 10, y - centre + 10) / (2 * radius);
      unsigned char* pixel = &rgb[size_t(y * SIZE + x) * 3];
      pixel[0] = (unsigned char)(200 + 55 * light);
      pixel[1] = (unsigned char)(60 + 190 * light * light);
      pixel[2] = (unsigned char)(20 + 150 * light * light * light);
    }
  if (!WriteBmp(argv[1], rgb)) {
    std::fprintf(stderr, "make_ball: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
