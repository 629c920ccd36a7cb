// Cutting images into cells: order, clipping, failure, shared pixels.
#include <vector>

#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

using GraphSheets = StartedEngine;

TEST_F(GraphSheets, CellsAreCutRowByRowAndShareOneTextureSet) {
  PixelImage image = MakeImage(144, 384, PositionColor);
  std::vector<Handle> cells(24, -1);
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 24, 3, 8, 48, 48, cells.data(), 1), 0);
  const TextureSet* set = FindGraphRecord(cells[0])->textureSet;
  for (int i = 0; i < 24; ++i) {
    const GraphRecord* cell = FindGraphRecord(cells[i]);
    ASSERT_NE(cell, nullptr) << i;
    EXPECT_EQ(cell->textureSet, set);
    EXPECT_EQ(cell->x, (i % 3) * 48) << i;
    EXPECT_EQ(cell->y, (i / 3) * 48) << i;
    int width = 0, height = 0;
    EXPECT_EQ(QueryGraphSize(cells[i], &width, &height), 0);
    EXPECT_EQ(width, 48);
    EXPECT_EQ(height, 48);
  }
  // The whole-image graph made for the cutting is gone: the set is the
  // cells' alone.
  EXPECT_EQ(set->refCount, 24);
  EXPECT_EQ(graphTable.liveCount, 24);

  // The fourth cell is (0, 48) of the image: drawn at the origin it shows
  // that pixel at (0, 0).
  ASSERT_EQ(PutGraph(0, 0, cells[3], 0), 0);
  EXPECT_EQ(ReadPixel(0, 0), int(PositionColor(0, 48)));
  EXPECT_EQ(ReadPixel(47, 47), int(PositionColor(47, 95)));
  for (Handle cell : cells) ReleaseGraph(cell, 0);
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, TheTextureSetGoesWithItsLastCell) {
  PixelImage image = MakeImage(96, 48, PositionColor);
  Handle cells[2];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 2, 2, 1, 48, 48, cells, 1), 0);
  TextureSet* set = FindGraphRecord(cells[0])->textureSet;
  EXPECT_EQ(set->refCount, 2);
  EXPECT_EQ(ReleaseGraph(cells[0], 0), 0);
  EXPECT_EQ(set->refCount, 1);
  // The survivor still draws from the shared pixels.
  ASSERT_EQ(PutGraph(10, 10, cells[1], 0), 0);
  EXPECT_EQ(ReadPixel(10, 10), int(PositionColor(48, 0)));
  EXPECT_EQ(ReleaseGraph(cells[1], 0), 0);
  EXPECT_EQ(graphTable.liveCount, 0);
  EXPECT_EQ(ReleaseGraph(cells[1], 0), -1);  // released handles are invalid
  EXPECT_EQ(QueryGraphSize(cells[1], nullptr, nullptr), -1);
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, CellsAtTheImageEdgeAreClipped) {
  PixelImage image = MakeImage(100, 48, PositionColor);  // the third column is 4 wide
  Handle cells[3];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 3, 3, 1, 48, 48, cells, 1), 0);
  int width = 0, height = 0;
  QueryGraphSize(cells[2], &width, &height);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 48);
  for (Handle cell : cells) ReleaseGraph(cell, 0);
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, ACellStartingOutsideTheImageFailsTheWholeCut) {
  PixelImage image = MakeImage(90, 48, PositionColor);  // two columns only start inside
  Handle cells[3] = {0, 0, 0};
  EXPECT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 3, 3, 1, 45, 48, cells, 1), -1);
  EXPECT_EQ(cells[2], -1);
  EXPECT_EQ(graphTable.liveCount, 0);  // nothing is left allocated
  EXPECT_EQ(FindGraphRecord(cells[0]), nullptr);
  EXPECT_TRUE(LogHas("グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage"));
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, MoreCellsThanColumnsTimesRowsMakesOnlyTheGrid) {
  PixelImage image = MakeImage(96, 48, PositionColor);
  Handle cells[4] = {-7, -7, -7, -7};
  EXPECT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 4, 2, 1, 48, 48, cells, 1), 0);
  EXPECT_EQ(graphTable.liveCount, 2);
  EXPECT_EQ(cells[2], -7);
  ReleaseGraph(cells[0], 0);
  ReleaseGraph(cells[1], 0);
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, DerivedGraphsClipToTheirSource) {
  PixelImage image = MakeImage(64, 32, PositionColor);
  Handle whole = CreateGraphFromImage(&image, nullptr);
  ASSERT_GE(whole, 0);
  Handle part = DeriveGraph(whole, 60, 30, 10, 10);
  int width = 0, height = 0;
  QueryGraphSize(part, &width, &height);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 2);
  EXPECT_EQ(DeriveGraph(whole, 64, 0, 1, 1), -1);
  EXPECT_EQ(DeriveGraph(whole, -1, 0, 1, 1), -1);
  EXPECT_EQ(DeriveGraph(-1, 0, 0, 1, 1), -1);
  ReleaseGraph(part, 0);
  ReleaseGraph(whole, 0);
  ReleasePixelImage(&image);
}

TEST_F(GraphSheets, QueryGraphSizeOfTheScreenTargetsAndOfNothing) {
  int width = 0, height = 0;
  EXPECT_EQ(QueryGraphSize(TARGET_BACK, &width, &height), 0);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(QueryGraphSize(TARGET_FRONT, &width, nullptr), 0);
  for (Handle invalid : {-1, -3, 0x08008000, 0x08000000}) {
    width = height = 7;
    EXPECT_EQ(QueryGraphSize(invalid, &width, &height), -1) << invalid;
    EXPECT_EQ(width, 7);  // outputs untouched
    EXPECT_EQ(height, 7);
  }
}

TEST_F(GraphSheets, LoadGraphSheetReportsAFileThatCannotBeRead) {
  Handle cells[4];
  EXPECT_EQ(LoadGraphSheet("data\\missing.bmp", 4, 2, 2, 8, 8, cells, 1), -1);
  EXPECT_TRUE(LogHas("右記のグラフィックファイルのロードに失敗しました：data\\missing.bmp"));
  EXPECT_EQ(graphTable.liveCount, 0);
}

using GraphsBeforeStartup = HeadlessFixture;

TEST_F(GraphsBeforeStartup, ScreenTargetsGiveTheStoredScreenSize) {
  int width = 0, height = 0;
  EXPECT_EQ(QueryGraphSize(TARGET_BACK, &width, &height), 0);
  EXPECT_EQ(width, 640);  // nothing requested yet
  EXPECT_EQ(height, 480);
  SelectScreenMode(800, 600, 32, 60);
  EXPECT_EQ(QueryGraphSize(TARGET_FRONT, &width, &height), 0);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 600);
  EXPECT_EQ(ReleaseGraph(0x08000000, 0), -1);
  EXPECT_EQ(PutGraph(0, 0, 0x08000000, 0), -1);
}

// Without a main window the waiting calls have nothing to wait for: they
// return, and a sheet cannot be made before start-up.
TEST_F(GraphsBeforeStartup, WaitingCallsReturnWithoutAWindow) {
  WriteBmp("sheet.bmp", 16, 16, PositionColor);
  Handle cells[1] = {-1};
  EXPECT_EQ(LoadGraphSheet("sheet.bmp", 1, 1, 1, 16, 16, cells, 1), -1);
  EXPECT_EQ(cells[0], -1);
  EXPECT_FALSE(LogHas("右記のグラフィックファイルのロードに失敗しました：sheet.bmp"));
  EXPECT_EQ(ChooseBlendMode(BLEND_ALPHA, 128), 0);
  EXPECT_EQ(ChooseBlendMode(BLEND_NONE, 0), 0);
}

}  // namespace
}  // namespace graphicstest
