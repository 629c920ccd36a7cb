// PutGraph and PaintBox in software mode: the pixels they leave.
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/DrawState.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

class Drawing : public StartedEngine {
 protected:
  // Every pixel of the rectangle has the colour.
  void ExpectBox(int left, int top, int right, int bottom, int color) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (ReadPixel(x, y) != color) {
          ADD_FAILURE() << "(" << x << ", " << y << ") is " << std::hex << ReadPixel(x, y);
          return;
        }
  }
};

TEST_F(Drawing, AFilledBoxCoversItsPixelsRightAndBottomExcluded) {
  EXPECT_EQ(PaintBox(0, 0, 800, 64, 0x161616, 1), 0);
  ExpectBox(0, 0, 800, 64, 0x161616);
  EXPECT_EQ(ReadPixel(0, 64), 0);
  ChooseBlendMode(BLEND_ALPHA, 255);  // full parameter: the same box
  PaintBox(0, 100, 800, 164, 0x161616, 1);
  ExpectBox(0, 100, 800, 164, 0x161616);
}

TEST_F(Drawing, BoxCornersMayComeInAnyOrderAndAZeroWidthBoxDrawsNothing) {
  PaintBox(30, 40, 10, 20, 0x00FF00, 1);
  ExpectBox(10, 20, 30, 40, 0x00FF00);
  EXPECT_EQ(ReadPixel(30, 20), 0);
  EXPECT_EQ(ReadPixel(9, 20), 0);
  PaintBox(50, 0, 50, 10, 0xFF0000, 1);
  ExpectBox(48, 0, 53, 10, 0);
}

TEST_F(Drawing, AnOutlineIsTheOnePixelBorderOfTheSameBox) {
  EXPECT_EQ(PaintBox(10, 10, 20, 15, 0xFFFFFF, 0), 0);
  ExpectBox(10, 10, 20, 11, 0xFFFFFF);  // top row
  ExpectBox(10, 14, 20, 15, 0xFFFFFF);  // bottom row is bottom - 1
  ExpectBox(10, 10, 11, 15, 0xFFFFFF);  // left column
  ExpectBox(19, 10, 20, 15, 0xFFFFFF);  // right column is right - 1
  ExpectBox(11, 11, 19, 14, 0);         // the inside stays
  EXPECT_EQ(ReadPixel(20, 10), 0);
  EXPECT_EQ(ReadPixel(10, 15), 0);
}

TEST_F(Drawing, AlphaBlendedBoxesMixWithTheTarget) {
  PaintBox(0, 0, 4, 4, 0x808080, 1);
  ChooseBlendMode(BLEND_ALPHA, 0);  // parameter 0: the target is unchanged
  PaintBox(0, 0, 4, 4, 0xFFFFFF, 1);
  EXPECT_EQ(ReadPixel(1, 1), 0x808080);
  ChooseBlendMode(BLEND_ALPHA, 128);
  PaintBox(0, 0, 4, 4, 0x000000, 1);
  int mixed = ReadPixel(1, 1);
  EXPECT_NEAR(mixed & 0xFF, 0x40, 1);
}

TEST_F(Drawing, AGraphPartlyLeftOfTheScreenShowsItsRemainingColumns) {
  PixelImage image = MakeImage(48, 48, PositionColor);
  Handle cell = CreateGraphFromImage(&image, nullptr);
  ASSERT_GE(cell, 0);
  EXPECT_EQ(PutGraph(-10, 5, cell, 0), 0);
  EXPECT_EQ(ReadPixel(0, 5), int(PositionColor(10, 0)));
  EXPECT_EQ(ReadPixel(37, 52), int(PositionColor(47, 47)));
  EXPECT_EQ(ReadPixel(38, 5), 0);
  EXPECT_EQ(ReadPixel(0, 4), 0);
  ReleaseGraph(cell, 0);
  ReleasePixelImage(&image);
}

TEST_F(Drawing, ModulationDarkensGraphs) {
  PixelImage image = MakeImage(4, 4, [](int, int) { return 0xFFFFFFu; });
  Handle graph = CreateGraphFromImage(&image, nullptr);
  SetModulateColor(128, 255, 0);
  PutGraph(0, 0, graph, 0);
  int pixel = ReadPixel(0, 0);
  EXPECT_EQ(pixel >> 16 & 0xFF, 128);
  EXPECT_EQ(pixel >> 8 & 0xFF, 255);
  EXPECT_EQ(pixel & 0xFF, 0);
  ReleaseGraph(graph, 0);
  ReleasePixelImage(&image);
}

TEST_F(Drawing, PutGraphRefusesInvalidHandles) {
  EXPECT_EQ(PutGraph(0, 0, -1, 0), -1);
  EXPECT_EQ(PutGraph(0, 0, 0x08000005, 0), -1);
}

}  // namespace
}  // namespace graphicstest
