// The two committed sheets hold what the game expects of them: the cell
// grid, a picture in every cell it draws, distinct ball colours at the
// centres it reads back, and white-on-black glyphs for every byte of its
// texts.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "tests/data/BmpFile.h"

namespace {

const std::string DATA = VEXLO_DATA_DIRECTORY;

struct Cell {
  const BmpFile* sheet;
  int left, top, size;

  int Inked() const {
    int count = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) count += !sheet->At(left + x, top + y).IsBlack();
    return count;
  }
  bool BorderIsBlack() const {
    for (int i = 0; i < size; ++i) {
      if (!sheet->At(left + i, top).IsBlack() || !sheet->At(left + i, top + size - 1).IsBlack() ||
          !sheet->At(left, top + i).IsBlack() || !sheet->At(left + size - 1, top + i).IsBlack())
        return false;
    }
    return true;
  }
  std::vector<BmpPixel> Pixels() const {
    std::vector<BmpPixel> pixels;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) pixels.push_back(sheet->At(left + x, top + y));
    return pixels;
  }
};

class SheetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    actorsProblem = ReadBmpFile(DATA + "actors.bmp", actors);
    fontProblem = ReadBmpFile(DATA + "font.bmp", font);
  }
  static Cell ActorCell(int index) { return Cell{&actors, 48 * (index % 3), 48 * (index / 3), 48}; }
  static Cell Glyph(int byte) { return Cell{&font, 32 * (byte % 16), 32 * (byte / 16), 32}; }

  static BmpFile actors, font;
  static std::string actorsProblem, fontProblem;
};

BmpFile SheetTest::actors, SheetTest::font;
std::string SheetTest::actorsProblem, SheetTest::fontProblem;

TEST_F(SheetTest, ActorSheetIsThreeByEightCellsOf48) {
  ASSERT_EQ(actorsProblem, "");
  EXPECT_EQ(actors.width, 144);
  EXPECT_EQ(actors.height, 384);
  EXPECT_EQ(actors.bitsPerPixel, 24);
}

TEST_F(SheetTest, EveryActorCellHasAPictureThatStaysInsideIt) {
  ASSERT_EQ(actorsProblem, "");
  for (int cell = 0; cell < 24; ++cell) {
    EXPECT_GT(ActorCell(cell).Inked(), 300) << "cell " << cell;
    EXPECT_TRUE(ActorCell(cell).BorderIsBlack()) << "cell " << cell;
  }
}

TEST_F(SheetTest, AnimationFramesDiffer) {
  ASSERT_EQ(actorsProblem, "");
  for (int row = 0; row < 8; ++row) {
    const auto f0 = ActorCell(3 * row).Pixels(), f1 = ActorCell(3 * row + 1).Pixels(),
               f2 = ActorCell(3 * row + 2).Pixels();
    EXPECT_FALSE(f0 == f1) << "row " << row;
    EXPECT_FALSE(f1 == f2) << "row " << row;
    EXPECT_FALSE(f0 == f2) << "row " << row;
  }
}

// The game reads pixel (24, 24) of each colour's first frame as that
// colour: it must be drawn (not black) and tell the colours apart.
TEST_F(SheetTest, BallCentresAreSevenClearlyDifferentColours) {
  ASSERT_EQ(actorsProblem, "");
  std::vector<BmpPixel> centres;
  for (int color = 0; color < 7; ++color) {
    const BmpPixel centre = actors.At(24, 48 * (1 + color) + 24);
    EXPECT_FALSE(centre.IsBlack()) << "colour " << color;
    centres.push_back(centre);
  }
  for (int a = 0; a < 7; ++a) {
    for (int b = a + 1; b < 7; ++b) {
      const int dr = centres[a].r - centres[b].r, dg = centres[a].g - centres[b].g,
                db = centres[a].b - centres[b].b;
      EXPECT_GT(dr * dr + dg * dg + db * db, 60 * 60) << "colours " << a << " and " << b;
    }
  }
}

TEST_F(SheetTest, FontSheetIsSixteenBySixteenCellsOf32) {
  ASSERT_EQ(fontProblem, "");
  EXPECT_EQ(font.width, 512);
  EXPECT_EQ(font.height, 512);
  EXPECT_EQ(font.bitsPerPixel, 24);
}

// Every byte the game's texts use: printable ASCII and the half-width
// katakana, each a glyph of its own; the blank is empty.
std::vector<int> DrawnBytes() {
  std::vector<int> bytes;
  for (int b = 0x21; b <= 0x7E; ++b) bytes.push_back(b);
  for (int b = 0xA1; b <= 0xDF; ++b) bytes.push_back(b);
  return bytes;
}

TEST_F(SheetTest, EveryDrawnByteHasItsOwnGlyph) {
  ASSERT_EQ(fontProblem, "");
  EXPECT_EQ(Glyph(0x20).Inked(), 0);
  std::set<std::vector<std::tuple<int, int, int>>> seen;
  for (int byte : DrawnBytes()) {
    EXPECT_GT(Glyph(byte).Inked(), 6) << std::hex << byte;
    std::vector<std::tuple<int, int, int>> key;
    for (const BmpPixel& p : Glyph(byte).Pixels()) key.emplace_back(p.r, p.g, p.b);
    EXPECT_TRUE(seen.insert(key).second) << "byte 0x" << std::hex << byte << " repeats a glyph";
  }
}

TEST_F(SheetTest, TheTitleOrnamentFillsCell0x40) {
  ASSERT_EQ(fontProblem, "");
  EXPECT_GT(Glyph(0x40).Inked(), 200);
}

// Modulation tints the glyphs, so they must carry no colour of their own.
TEST_F(SheetTest, GlyphsAreWhiteOnBlack) {
  ASSERT_EQ(fontProblem, "");
  int white = 0;
  for (const BmpPixel& p : font.pixels) {
    ASSERT_TRUE(p.r == p.g && p.g == p.b);
    white += p.r == 255;
  }
  EXPECT_GT(white, 5000);
}

}  // namespace
