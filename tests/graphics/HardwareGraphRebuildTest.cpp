// Hardware graphs across a device rebuild: their textures released with the
// old device, made again on the new one, and their pixels restored from
// their files or by the program's own restore routine.
#include <filesystem>

#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/graphs/GraphRestore.h"
#include "engine/graphics/hardware/GraphTextures.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
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

// One set that cannot be made again does not stop the rebuild: the other
// graphs are drawn afterwards, the missing one draws nothing (not a black
// box), and the next activation makes it and fills it from its file.
TEST_F(HardwareGraphRebuild, ASetThatCannotBeMadeAgainWaitsForTheNextActivation) {
  ASSERT_EQ(StartWindowed(), 0);
  WriteBmp(directory_ / "first.bmp", 16, 16, PositionColor);
  WriteBmp(directory_ / "second.bmp", 16, 16, PositionColor);
  Handle first = -1, second = -1;
  ASSERT_EQ(LoadGraphSheet("first.bmp", 1, 1, 1, 16, 16, &first, 1), 0);
  ASSERT_EQ(LoadGraphSheet("second.bmp", 1, 1, 1, 16, 16, &second, 1), 0);
  backgroundColor = {0, 0, 255};
  auto drawBoth = [&] {
    ClearDrawTarget(nullptr);
    PutGraph(0, 0, first, 0);
    PutGraph(100, 0, second, 0);
    ASSERT_EQ(PresentFrame(), 0);
  };

  Fail("IDirect3DDevice9_CreateTexture", 1);  // the first set's, on the new device
  LoseAndRebuild();
  EXPECT_TRUE(LogHas("作成できなかったテクスチャは次のアクティブ化で作り直します"));
  EXPECT_EQ(Piece(first).texture, nullptr);
  EXPECT_EQ(Piece(first).surface, nullptr);
  drawBoth();
  EXPECT_EQ(headless::PresentedPixel(5, 5) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(headless::PresentedPixel(105, 5) & 0xFFFFFF, PositionColor(5, 5));

  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, 2);  // no rebuild needed
  EXPECT_EQ(Texel(first, 5, 5), Opaque(5, 5));
  drawBoth();
  EXPECT_EQ(headless::PresentedPixel(5, 5) & 0xFFFFFF, PositionColor(5, 5));
  EXPECT_EQ(headless::PresentedPixel(105, 5) & 0xFFFFFF, PositionColor(5, 5));
  backgroundColor = {0, 0, 0};
}

// The steps of a texture's creation fail whole: a piece keeps nothing of a
// failed attempt, so that the next attempt makes all of it.
TEST_F(HardwareGraphRebuild, APieceKeepsNothingOfAFailedCreation) {
  struct Case {
    const char* call;
    const char* line;
  } const cases[] = {
      {"IDirect3DTexture9_GetSurfaceLevel", "テクスチャのサーフェスアドレスの取得に失敗しました"},
      {"IDirect3DTexture9_LockRect", "テクスチャのロックに失敗しました"},
  };
  ASSERT_EQ(StartWindowed(), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    PixelImage image = MakeImage(8, 8, PositionColor);
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ASSERT_NE(graph, -1);
    ReleaseGraphTextures();
    int liveWithout = headless::Direct3D9Calls().liveObjects;
    Fail(c.call, 1);
    EXPECT_EQ(RecreateGraphTextures(), -1);
    EXPECT_TRUE(LogHas(c.line));
    EXPECT_EQ(Piece(graph).texture, nullptr);
    EXPECT_EQ(Piece(graph).staging, nullptr);
    EXPECT_EQ(headless::Direct3D9Calls().liveObjects, liveWithout);
    EXPECT_TRUE(GraphTexturesMissing());
    // The next attempt makes the whole piece, cleared.
    EXPECT_EQ(RecreateGraphTextures(), 0);
    EXPECT_NE(Piece(graph).surface, nullptr);
    EXPECT_FALSE(GraphTexturesMissing());
    EXPECT_EQ(Texel(graph, 3, 3), 0u);
    ReleaseGraph(graph, 0);
    ReleasePixelImage(&image);
    script_.failures.clear();
    Script();
  }
}

// The twin in system memory is a 9Ex device's need: a rebuild onto a plain
// device makes the textures in the managed pool again, without twins.
TEST_F(HardwareGraphRebuild, ARebuildOntoAPlainDeviceDropsTheTwins) {
  ASSERT_EQ(StartWindowed(), 0);
  ASSERT_TRUE(displayDevice.isEx);
  PixelImage image = MakeImage(8, 8, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  ASSERT_NE(Piece(graph).staging, nullptr);

  script_.exportsCreate9Ex = false;
  Script();
  headless::ClearDirect3D9Calls();
  LoseAndRebuild();
  ASSERT_FALSE(displayDevice.isEx);
  EXPECT_EQ(FindGraphRecord(graph)->textureSet->descriptor.staging, 0);
  EXPECT_EQ(Piece(graph).staging, nullptr);
  std::vector<headless::Direct3D9Call> made =
      headless::Direct3D9CallsNamed("IDirect3DDevice9_CreateTexture");
  ASSERT_EQ(made.size(), 1u);
  EXPECT_EQ(made[0].arguments, "8,8,1,0x0,21,1");  // D3DPOOL_MANAGED
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
