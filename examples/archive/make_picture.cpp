// make_picture: draws picture.bmp, the 320 x 180 scene the archive example
// packs: an evening sky over two ranges of hills and a lake.
//
//   make_picture OUT.bmp
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int WIDTH = 320, HEIGHT = 180;

struct Color {
  double r, g, b;
};

Color Mix(Color a, Color b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// The scene's colour at (x, y).
Color Scene(int x, int y) {
  const Color skyTop = {40, 50, 120}, skyLow = {250, 150, 90};
  const Color farHills = {120, 80, 120}, nearHills = {50, 70, 60}, water = {60, 70, 130};
  const double horizon = 120;
  const double sunX = 220, sunY = 104, sunRadius = 22;
  if (y >= horizon) {
    // The lake mirrors the sky, darker, with a glitter under the sun.
    Color sky = Mix(skyTop, skyLow, (2 * horizon - y) / horizon);
    Color lake = Mix(water, sky, 0.35);
    if (std::fabs(x - sunX) < 18 - (y - horizon) / 4 && (y / 3) % 2 == 0) lake = {250, 220, 160};
    return lake;
  }
  const double nearTop = 96 + 12 * std::sin(x / 23.0) + 6 * std::sin(x / 7.0 + 1);
  if (y >= nearTop) return nearHills;
  const double farTop = 78 + 18 * std::sin(x / 41.0 + 2) + 5 * std::sin(x / 11.0);
  if (y >= farTop) return farHills;
  if (std::hypot(x - sunX, y - sunY) < sunRadius) return {255, 230, 150};
  return Mix(skyTop, skyLow, y / horizon);
}

// A 24-bit BMP, rows bottom up (320 pixels of 3 bytes need no padding).
bool WriteBmp(const char* path, const std::vector<unsigned char>& bgr) {
  const unsigned pixelBytes = WIDTH * HEIGHT * 3;
  unsigned char header[54] = {'B', 'M'};
  auto put32 = [&header](int at, unsigned value) {
    for (int i = 0; i < 4; ++i) header[at + i] = (unsigned char)(value >> (8 * i));
  };
  put32(2, 54 + pixelBytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, WIDTH);
  put32(22, HEIGHT);
  header[26] = 1;   // planes
  header[28] = 24;  // bits per pixel
  put32(34, pixelBytes);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header;
  for (int y = HEIGHT - 1; y >= 0 && written; --y)
    written = std::fwrite(&bgr[size_t(y * WIDTH) * 3], 1, WIDTH * 3, file) == WIDTH * 3;
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_picture OUT.bmp\n");
    return 2;
  }
  std::vector<unsigned char> bgr(WIDTH * HEIGHT * 3);
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < WIDTH; ++x) {
      const Color color = Scene(x, y);
      unsigned char* pixel = &bgr[size_t(y * WIDTH + x) * 3];
      pixel[0] = (unsigned char)color.b;  // BMP stores blue, green, red
      pixel[1] = (unsigned char)color.g;
      pixel[2] = (unsigned char)color.r;
    }
  if (!WriteBmp(argv[1], bgr)) {
    std::fprintf(stderr, "make_picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
