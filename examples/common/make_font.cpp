// make_font: draws the examples' font sheet, font.bmp: the printable ASCII
// characters 32 ... 127, 16 to a row in 6 rows, each a 5 x 7 glyph drawn
// at twice its size, white on black, in a 12 x 16 cell. Black is the
// engine's default colour key, so only the letters are drawn.
//
//   make_font OUT.bmp
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int CELL_WIDTH = 12, CELL_HEIGHT = 16, COLUMNS = 16, ROWS = 6;
constexpr int WIDTH = CELL_WIDTH * COLUMNS, HEIGHT = CELL_HEIGHT * ROWS;
constexpr int SCALE = 2, GLYPH_ROWS = 7, GLYPH_COLUMNS = 5;

struct Glyph {
  char character;
  const char* rows[GLYPH_ROWS];
};

// Upper-case letters, digits and the punctuation the examples use; Text.h
// draws lower case as upper case, and anything else as a blank.
const Glyph GLYPHS[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"###..", "#..#.", "#...#", "#...#", "#...#", "#..#.", "###.."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'%', {"##...", "##..#", "...#.", "..#..", ".#...", "#..##", "...##"}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'_', {".....", ".....", ".....", ".....", ".....", ".....", "#####"}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."}},
    {'<', {"...#.", "..#..", ".#...", "#....", ".#...", "..#..", "...#."}},
    {'>', {".#...", "..#..", "...#.", "....#", "...#.", "..#..", ".#..."}},
    {'*', {".....", "..#..", "#.#.#", ".###.", "#.#.#", "..#..", "....."}},
    {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
    {'\\', {".....", "#....", ".#...", "..#..", "...#.", "....#", "....."}},
};

// A 24-bit BMP, rows bottom up, each padded to four bytes.
bool WriteBmp(const char* path, const std::vector<unsigned char>& rgb, int width, int height) {
  const int pitch = (width * 3 + 3) / 4 * 4;
  const unsigned pixelBytes = unsigned(pitch * height);
  unsigned char header[54] = {'B', 'M'};
  auto put32 = [&header](int at, unsigned value) {
    for (int i = 0; i < 4; ++i) header[at + i] = (unsigned char)(value >> (8 * i));
  };
  put32(2, 54 + pixelBytes);
  put32(10, 54);
  put32(14, 40);
  put32(18, unsigned(width));
  put32(22, unsigned(height));
  header[26] = 1;   // planes
  header[28] = 24;  // bits per pixel
  put32(34, pixelBytes);
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header;
  std::vector<unsigned char> row(size_t(pitch), 0);
  for (int y = height - 1; y >= 0 && written; --y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* pixel = &rgb[size_t(y * width + x) * 3];
      row[size_t(x) * 3 + 0] = pixel[2];  // BMP stores blue, green, red
      row[size_t(x) * 3 + 1] = pixel[1];
      row[size_t(x) * 3 + 2] = pixel[0];
    }
    written = std::fwrite(row.data(), 1, row.size(), file) == row.size();
  }
  return std::fclose(file) == 0 && written;
}

void DrawGlyph(std::vector<unsigned char>& rgb, const Glyph& glyph) {
  const int cell = glyph.character - 32;
  const int left = (cell % COLUMNS) * CELL_WIDTH + 1;
  const int top = (cell / COLUMNS) * CELL_HEIGHT + 1;
  for (int row = 0; row < GLYPH_ROWS; ++row)
    for (int column = 0; column < GLYPH_COLUMNS; ++column) {
      if (glyph.rows[row][column] != '#') continue;
      for (int dy = 0; dy < SCALE; ++dy)
        for (int dx = 0; dx < SCALE; ++dx) {
          const int x = left + column * SCALE + dx, y = top + row * SCALE + dy;
          std::memset(&rgb[size_t(y * WIDTH + x) * 3], 255, 3);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_font OUT.bmp\n");
    return 2;
  }
  std::vector<unsigned char> rgb(size_t(WIDTH * HEIGHT) * 3, 0);
  for (const Glyph& glyph : GLYPHS) DrawGlyph(rgb, glyph);
  if (!WriteBmp(argv[1], rgb, WIDTH, HEIGHT)) {
    std::fprintf(stderr, "make_font: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
