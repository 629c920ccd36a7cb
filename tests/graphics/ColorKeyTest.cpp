// The colour key: what it clears, when it is read, and the files graphs
// remember for their reload.
#include <vector>

#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/graphs/GraphRestore.h"
#include "engine/graphics/graphs/GraphSource.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

// Black squares on a coloured image: black is the default key.
uint32_t Checker(int x, int y) { return ((x / 4 + y / 4) % 2) ? 0x000000 : 0x2080C0; }

using ColorKey = StartedEngine;

TEST_F(ColorKey, KeyedPixelsAreSkippedOnlyWhenDrawnTransparent) {
  PixelImage image = MakeImage(16, 16, Checker);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_GE(graph, 0);
  PaintBox(0, 0, 40, 40, 0x112233, 1);
  ASSERT_EQ(PutGraph(0, 0, graph, 1), 0);
  EXPECT_EQ(ReadPixel(0, 0), 0x2080C0);
  EXPECT_EQ(ReadPixel(4, 0), 0x112233);  // black: left as it was
  ASSERT_EQ(PutGraph(20, 0, graph, 0), 0);
  EXPECT_EQ(ReadPixel(24, 0), 0x000000);  // not transparent: black is drawn
  ReleaseGraph(graph, 0);
  ReleasePixelImage(&image);
}

TEST_F(ColorKey, TheKeyIsReadWhenTheGraphIsMade) {
  EXPECT_EQ(SetColorKey(0x20, 0x80, 0xC0), 0);
  EXPECT_EQ(graphCreationOptions.colorKey, 0x2080C0u);
  PixelImage image = MakeImage(16, 16, Checker);
  Handle keyed = CreateGraphFromImage(&image, nullptr);
  SetColorKey(0, 0, 0);  // too late for that graph
  PaintBox(0, 0, 40, 40, 0x112233, 1);
  PutGraph(0, 0, keyed, 1);
  EXPECT_EQ(ReadPixel(0, 0), 0x112233);  // the coloured squares are now the transparent ones
  EXPECT_EQ(ReadPixel(4, 0), 0x000000);
  EXPECT_EQ(FindGraphRecord(keyed)->textureSet->colorKey, 0x2080C0u);
  ReleaseGraph(keyed, 0);
  ReleasePixelImage(&image);
}

TEST_F(ColorKey, KeyComponentsKeepTheirLowBytes) {
  SetColorKey(0x1FF, -1, 0x102);
  EXPECT_EQ(graphCreationOptions.colorKey, 0xFFFF02u);
}

TEST_F(ColorKey, PaletteImagesTakeTheFirstPaletteIndexOfTheKey) {
  PixelImage image{};
  ColorFormat palette{};
  SetPaletteColorFormat(&palette);
  for (int i = 0; i < 256; ++i) {
    palette.palette[i][0] = uint8_t(i);  // blue
    palette.palette[i][1] = 0;
    palette.palette[i][2] = 0;
  }
  palette.palette[9][0] = 0;  // a second black entry: index 0 comes first
  ASSERT_EQ(CreatePixelImage(8, 1, &palette, &image), 0);
  auto* pixels = static_cast<uint8_t*>(image.pixels);
  for (int x = 0; x < 8; ++x) pixels[x] = uint8_t(x % 2 ? 0 : 200);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_GE(graph, 0);
  const TextureSet* set = FindGraphRecord(graph)->textureSet;
  EXPECT_TRUE(set->descriptor.palette8);
  EXPECT_EQ(set->memImg.store->colorKey, 0u);
  PaintBox(0, 0, 8, 1, 0x445566, 1);
  PutGraph(0, 0, graph, 1);
  EXPECT_EQ(ReadPixel(0, 0), 200);
  EXPECT_EQ(ReadPixel(1, 0), 0x445566);
  ReleaseGraph(graph, 0);
  ReleasePixelImage(&image);
}

using ColorKeyBeforeStartup = HeadlessFixture;

TEST_F(ColorKeyBeforeStartup, StartupResetsTheKeyToBlack) {
  SetColorKey(1, 2, 3);
  EXPECT_EQ(graphCreationOptions.colorKey, 0x010203u);
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(graphCreationOptions.colorKey, 0u);
}

TEST_F(ColorKeyBeforeStartup, AnEightBitScreenKeepsTheKey) {
  SetColorKey(1, 2, 3);
  SelectScreenMode(640, 480, 8, 0);
  SetColorKey(9, 9, 9);
  EXPECT_EQ(graphCreationOptions.colorKey, 0x010203u);
}

// Loading from a file remembers the file for every cell; the reload after
// a device rebuild puts each cell's own pixels back.
TEST_F(ColorKey, SheetsRememberTheirFileAndReloadFromIt) {
  WriteBmp(directory_ / "sheet.bmp", 64, 32, PositionColor);
  Handle cells[2];
  ASSERT_EQ(LoadGraphSheet("sheet.bmp", 2, 2, 1, 32, 32, cells, 1), 0);
  for (Handle cell : cells) {
    GraphRecord* record = FindGraphRecord(cell);
    ASSERT_NE(record->sourceFile, nullptr);
    std::string name = SourceNameText(record->sourceFile);
    EXPECT_NE(name.find("sheet.bmp"), std::string::npos) << name;
    EXPECT_NE(name, "sheet.bmp");  // made absolute
  }
  EXPECT_EQ(FindGraphRecord(cells[1])->sourceX, 32);

  // Lose the pixels (as a rebuilt device would), then restore them.
  MEMIMG& store = FindGraphRecord(cells[0])->textureSet->memImg;
  ClearMemImg(&store, nullptr, 0);
  EXPECT_EQ(RestoreGraphsFromFiles(), 0);
  EXPECT_TRUE(LogHas("グラフィックを復帰します"));
  PutGraph(0, 0, cells[1], 0);
  EXPECT_EQ(ReadPixel(5, 7), int(PositionColor(37, 7)));
  PutGraph(0, 0, cells[0], 0);
  EXPECT_EQ(ReadPixel(5, 7), int(PositionColor(5, 7)));
  for (Handle cell : cells) ReleaseGraph(cell, 0);
}

TEST_F(ColorKey, AFileThatVanishedIsReportedAndTheGraphKept) {
  WriteBmp(directory_ / "gone.bmp", 16, 16, PositionColor);
  Handle cells[1];
  ASSERT_EQ(LoadGraphSheet("gone.bmp", 1, 1, 1, 16, 16, cells, 1), 0);
  std::filesystem::remove(directory_ / "gone.bmp");
  RestoreGraphsFromFiles();
  EXPECT_TRUE(LogHas("がロードできませんでした"));
  EXPECT_NE(FindGraphRecord(cells[0]), nullptr);
  ReleaseGraph(cells[0], 0);
}

}  // namespace
}  // namespace graphicstest
