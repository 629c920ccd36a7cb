// make_sheet: draws sprite.bmp, the walking character of the sprite
// example: 4 rows (facing down, left, right, up) of 4 cells of 48 x 48
// (the steps of one walk cycle). Black is transparent to the engine (its
// default colour key), so the figure is drawn in other colours only.
//
//   make_sheet OUT.bmp
#include <cstdio>
#include <vector>

namespace {

constexpr int CELL = 48, COLUMNS = 4, ROWS = 4;
constexpr int WIDTH = CELL * COLUMNS, HEIGHT = CELL * ROWS;

enum Facing { DOWN, LEFT, RIGHT, UP };

struct Color {
  unsigned char r, g, b;
};
constexpr Color SKIN = {250, 210, 170}, HAIR = {110, 60, 30}, EYES = {30, 30, 60},
                TUNIC = {60, 120, 230}, BELT = {240, 200, 60}, LEGS = {70, 70, 90},
                BOOTS = {120, 70, 40};

struct Canvas {
  std::vector<unsigned char> rgb = std::vector<unsigned char>(size_t(WIDTH * HEIGHT) * 3, 0);

  void Fill(int left, int top, int width, int height, Color color) {
    for (int y = top; y < top + height; ++y)
      for (int x = left; x < left + width; ++x) {
        if (x < 0 || y < 0 || x >= WIDTH || y >= HEIGHT) continue;
        unsigned char* pixel = &rgb[size_t(y * WIDTH + x) * 3];
        pixel[0] = color.r;
        pixel[1] = color.g;
        pixel[2] = color.b;
      }
  }

  void Disc(int cx, int cy, int radius, Color color) {
    for (int y = -radius; y <= radius; ++y)
      for (int x = -radius; x <= radius; ++x)
        if (x * x + y * y <= radius * radius) Fill(cx + x, cy + y, 1, 1, color);
  }
};

// One cell: the figure at (left, top) facing one way, at one step of the
// walk (0 and 2 stand, 1 and 3 stride with either leg).
void DrawFigure(Canvas& canvas, int left, int top, Facing facing, int step) {
  const int stride = step == 1 ? 1 : step == 3 ? -1 : 0;
  const int bob = stride != 0 ? 1 : 0;  // the body rises a pixel mid-stride
  const int cx = left + 24, headY = top + 13 - bob;

  // Legs and boots: front and back in a side view, left and right else.
  if (facing == LEFT || facing == RIGHT) {
    const int forward = facing == RIGHT ? 1 : -1;
    canvas.Fill(cx - 3 + 4 * stride * forward, top + 34 - bob, 5, 9, LEGS);
    canvas.Fill(cx - 3 - 4 * stride * forward, top + 34 - bob, 5, 9, LEGS);
    canvas.Fill(cx - 3 + 4 * stride * forward + (forward > 0 ? 1 : -1), top + 42 - bob, 6, 3, BOOTS);
    canvas.Fill(cx - 3 - 4 * stride * forward + (forward > 0 ? 1 : -1), top + 42 - bob, 6, 3, BOOTS);
  } else {
    canvas.Fill(cx - 8, top + 34 - bob - 2 * (stride > 0), 6, 9 + 2 * (stride > 0), LEGS);
    canvas.Fill(cx + 2, top + 34 - bob - 2 * (stride < 0), 6, 9 + 2 * (stride < 0), LEGS);
    canvas.Fill(cx - 9, top + 42 - bob, 7, 3, BOOTS);
    canvas.Fill(cx + 2, top + 42 - bob, 7, 3, BOOTS);
  }
  // Tunic, belt and the arms swinging against the legs.
  canvas.Fill(cx - 9, top + 22 - bob, 18, 13, TUNIC);
  canvas.Fill(cx - 9, top + 31 - bob, 18, 2, BELT);
  if (facing == DOWN || facing == UP) {
    canvas.Fill(cx - 13, top + 23 - bob - 2 * stride, 4, 10, TUNIC);
    canvas.Fill(cx + 9, top + 23 - bob + 2 * stride, 4, 10, TUNIC);
    canvas.Fill(cx - 13, top + 33 - bob - 2 * stride, 4, 3, SKIN);
    canvas.Fill(cx + 9, top + 33 - bob + 2 * stride, 4, 3, SKIN);
  } else {
    canvas.Fill(cx - 2 - 3 * stride, top + 23 - bob, 4, 10, TUNIC);
    canvas.Fill(cx - 2 - 3 * stride, top + 33 - bob, 4, 3, SKIN);
  }
  // Head: hair on top (all over it from behind), eyes where it looks.
  canvas.Disc(cx, headY, 10, SKIN);
  canvas.Fill(cx - 10, headY - 10, 21, 6, HAIR);
  if (facing == UP) canvas.Disc(cx, headY, 10, HAIR);
  if (facing == LEFT) canvas.Fill(cx + 3, headY - 10, 8, 14, HAIR);
  if (facing == RIGHT) canvas.Fill(cx - 10, headY - 10, 8, 14, HAIR);
  if (facing == DOWN) {
    canvas.Fill(cx - 5, headY, 3, 4, EYES);
    canvas.Fill(cx + 3, headY, 3, 4, EYES);
  }
  if (facing == LEFT) canvas.Fill(cx - 7, headY, 3, 4, EYES);
  if (facing == RIGHT) canvas.Fill(cx + 5, headY, 3, 4, EYES);
}

// A 24-bit BMP, rows bottom up, each padded to four bytes.
bool WriteBmp(const char* path, const std::vector<unsigned char>& rgb) {
  const int pitch = (WIDTH * 3 + 3) / 4 * 4;
  const unsigned pixelBytes = unsigned(pitch * HEIGHT);
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
  std::vector<unsigned char> row(size_t(pitch), 0);
  for (int y = HEIGHT - 1; y >= 0 && written; --y) {
    for (int x = 0; x < WIDTH; ++x) {
      const unsigned char* pixel = &rgb[size_t(y * WIDTH + x) * 3];
      row[size_t(x) * 3 + 0] = pixel[2];  // BMP stores blue, green, red
      row[size_t(x) * 3 + 1] = pixel[1];
      row[size_t(x) * 3 + 2] = pixel[0];
    }
    written = std::fwrite(row.data(), 1, row.size(), file) == row.size();
  }
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sheet OUT.bmp\n");
    return 2;
  }
  Canvas canvas;
  for (int row = 0; row < ROWS; ++row)
    for (int step = 0; step < COLUMNS; ++step)
      DrawFigure(canvas, step * CELL, row * CELL, Facing(row), step);
  if (!WriteBmp(argv[1], canvas.rgb)) {
    std::fprintf(stderr, "make_sheet: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
