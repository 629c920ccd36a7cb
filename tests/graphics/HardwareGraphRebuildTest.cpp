// Hardware graphs across a device rebuild: their textures released with the
// old device, made again on the new one, and their pixels restored from
// their files or by the program's own restore routine.
#include <filesystem>

#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/graphs/GraphRestore.h"
#include "engine/graphics/hardware/GraphTextures.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

class HardwareGraphRebuild : public HardwareFixture {
 protected:
  void TearDown() override {
    graphRestoreRoutine = RestoreGraphsFromFiles;
    HardwareFixture::TearDown();
  }

  // The window is deactivated with its device lost and activated again:
  // the windowed activation's Present fails and the display is rebuilt.
  void LoseAndRebuild() {
    headless::Direct3D9ScriptInForce().deviceLost = true;
    MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
    MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  }

  static const TexturePiece& Piece(Handle graph) {
    return PiecesOf(FindGraphRecord(graph)->textureSet)[0];
  }
  static uint32_t Texel(Handle graph, int x, int y) {
    return headless::TexturePixel(Piece(graph).texture, 0, x, y);
  }
};

uint32_t Opaque(int x, int y) { return 0xFF000000u | PositionColor(x, y); }

TEST_F(HardwareGraphRebuild, GraphsFromFilesAreReloadedOthersComeBackCleared) {
  ASSERT_EQ(StartWindowed(), 0);
  WriteBmp(directory_ / "sheet.bmp", 64, 32, PositionColor);
  Handle cells[2];
  ASSERT_EQ(LoadGraphSheet("sheet.bmp", 2, 2, 1, 32, 32, cells, 1), 0);
  PixelImage image = MakeImage(8, 8, PositionColor);
  Handle inMemory = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(inMemory, -1);
  int liveBefore = headless::Direct3D9Calls().liveObjects;

  LoseAndRebuild();
  ASSERT_EQ(headless::Direct3D9Calls().devicesCreated, 2);
  EXPECT_TRUE(LogHas("グラフィックを復帰します"));
  // Every object of the old device went with it: as many live as before.
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, liveBefore);
  for (int x : {0, 31, 32, 63})
    for (int y : {0, 31}) EXPECT_EQ(Texel(cells[x / 32], x, y), Opaque(x, y)) << x << "," << y;
  EXPECT_EQ(Texel(inMemory, 3, 3), 0u);
  ReleasePixelImage(&image);
}

TEST_F(HardwareGraphRebuild, AFileThatCannotBeReadLeavesItsGraphCleared) {
  ASSERT_EQ(StartWindowed(), 0);
  WriteBmp(directory_ / "gone.bmp", 16, 16, PositionColor);
  Handle cells[1];
  ASSERT_EQ(LoadGraphSheet("gone.bmp", 1, 1, 1, 16, 16, cells, 1), 0);
  std::filesystem::remove(directory_ / "gone.bmp");
  LoseAndRebuild();
  EXPECT_TRUE(LogHas("がロードできませんでした"));
  EXPECT_EQ(Texel(cells[0], 5, 5), 0u);
}

PixelImage* restoredImage = nullptr;
Handle restoredGraph = -1;
int RestoreByProgram() {
  return TransferImageToGraph(restoredGraph, restoredImage, nullptr, 0, 0, nullptr, 0);
}

TEST_F(HardwareGraphRebuild, ARegisteredRestoreRoutineTakesThePlaceOfTheFiles) {
  ASSERT_EQ(StartWindowed(), 0);
  PixelImage image = MakeImage(8, 8, PositionColor);
  restoredImage = &image;
  restoredGraph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(restoredGraph, -1);
  graphRestoreRoutine = RestoreByProgram;
  LoseAndRebuild();
  EXPECT_FALSE(LogHas("グラフィックを復帰します"));
  EXPECT_EQ(Texel(restoredGraph, 7, 7), Opaque(7, 7));
  ReleasePixelImage(&image);
}

TEST_F(HardwareGraphRebuild, ReleasedTexturesAreMadeAgainClearedOnceForASharedSet) {
  ASSERT_EQ(StartWindowed(), 0);
  PixelImage image = MakeImage(64, 32, PositionColor);
  Handle cells[2];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 2, 2, 1, 32, 32, cells, 1), 0);
  int liveWithTextures = headless::Direct3D9Calls().liveObjects;
  ReleaseGraphTextures();
  EXPECT_EQ(Piece(cells[0]).texture, nullptr);
  EXPECT_EQ(Piece(cells[0]).staging, nullptr);
  EXPECT_EQ(Piece(cells[0]).surface, nullptr);
  EXPECT_LT(headless::Direct3D9Calls().liveObjects, liveWithTextures);
  // Without textures a transfer has nowhere to go.
  EXPECT_EQ(TransferImageToGraph(cells[0], &image, nullptr, 0, 0, nullptr, 0), -1);

  headless::ClearDirect3D9Calls();
  EXPECT_EQ(RecreateGraphTextures(), 0);
  // One texture and its twin for the set both cells share.
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_CreateTexture").size(), 2u);
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, liveWithTextures);
  EXPECT_EQ(Texel(cells[0], 0, 0), 0u);
  EXPECT_EQ(TransferImageToGraph(cells[1], &image, nullptr, 32, 0, nullptr, 0), 0);
  EXPECT_EQ(Texel(cells[1], 40, 3), Opaque(40, 3));
  ReleasePixelImage(&image);
}

TEST_F(HardwareGraphRebuild, TexturesThatCannotBeMadeAgainAreReported) {
  ASSERT_EQ(StartWindowed(), 0);
  PixelImage image = MakeImage(8, 8, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  ReleaseGraphTextures();
  Fail("IDirect3DDevice9_CreateTexture");
  EXPECT_EQ(RecreateGraphTextures(), -1);
  EXPECT_TRUE(LogHas("書き込み専用テクスチャの作成に失敗しました"));
  EXPECT_NE(FindGraphRecord(graph), nullptr);  // the graph itself stays
  ReleasePixelImage(&image);
}

// While a failed rebuild leaves the run without a device, a new graph
// cannot get textures; the next rebuild brings the earlier graphs back.
TEST_F(HardwareGraphRebuild, WithoutADeviceNoGraphIsMadeAndTheOthersWait) {
  ASSERT_EQ(StartWindowed(), 0);
  WriteBmp(directory_ / "sheet.bmp", 16, 16, PositionColor);
  Handle cell = -1;
  ASSERT_EQ(LoadGraphSheet("sheet.bmp", 1, 1, 1, 16, 16, &cell, 1), 0);
  Fail("IDirect3D9Ex_CreateDeviceEx");
  LoseAndRebuild();
  ASSERT_EQ(hardwareMode, 1);
  PixelImage image = MakeImage(8, 8, PositionColor);
  EXPECT_EQ(CreateGraphFromImage(&image, nullptr), -1);
  EXPECT_TRUE(LogHas("書き込み専用テクスチャの作成に失敗しました"));

  script_.failures.clear();
  Script();
  LoseAndRebuild();
  EXPECT_EQ(Texel(cell, 15, 15), Opaque(15, 15));
  ReleasePixelImage(&image);
}

}  // namespace
}  // namespace graphicstest
