// Graphs in hardware mode on the Direct3D 9 fake: the textures made for an
// image, what the upload writes into them, the draw pieces, the failures of
// each device call, and the release.
#include <string>
#include <vector>

#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "tests/graphics/HardwareFixture.h"
#include "tests/support/UploadedTexels.h"

namespace graphicstest {
namespace {

class HardwareGraphs : public HardwareFixture {
 protected:
  // Windowed at 800 x 600 on a 32-bit desktop; ex false makes the plain
  // device (no 9Ex export).
  void Start(bool ex = true) {
    script_.exportsCreate9Ex = ex;
    Script();
    ASSERT_EQ(StartWindowed(), 0);
    ASSERT_EQ(hardwareMode, 1);
    baseObjects_ = headless::Direct3D9Calls().liveObjects;
  }

  static GraphRecord& Record(Handle graph) { return *FindGraphRecord(graph); }
  static TexturePiece& Piece(Handle graph, int index = 0) {
    return PiecesOf(Record(graph).textureSet)[index];
  }
  static uint32_t Texel(const TexturePiece& piece, int x, int y, int level = 0) {
    return headless::TexturePixel(piece.texture, level, x, y);
  }

  int baseObjects_ = 0;
};

// 0xAARRGGBB of an opaque PositionColor.
uint32_t Opaque(int x, int y) { return 0xFF000000u | PositionColor(x, y); }

TEST_F(HardwareGraphs, AnImageBecomesOneTextureWithItsEdgeRepeated) {
  Start();
  PixelImage image = MakeImage(144, 384, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  const TextureSet& set = *Record(graph).textureSet;
  EXPECT_EQ(set.pieceCount, 1);
  EXPECT_EQ(set.formatClass, FORMAT_CLASS_ALPHA_TEST32);  // alpha test on, no alpha
  const TexturePiece& piece = Piece(graph);
  EXPECT_EQ(piece.textureWidth, 256);
  EXPECT_EQ(piece.textureHeight, 512);
  EXPECT_EQ(piece.usedWidth, 144);
  EXPECT_EQ(piece.usedHeight, 384);
  EXPECT_EQ(headless::TextureLevelDesc(piece.texture, 0).Format, port::D3DFMT_A8R8G8B8);

  for (int y : {0, 1, 200, 383})
    for (int x : {0, 1, 77, 143}) EXPECT_EQ(Texel(piece, x, y), Opaque(x, y)) << x << "," << y;
  // The column and the row past the image repeat its edge, the corner too;
  // the rest of the texture stays cleared.
  for (int y : {0, 383}) EXPECT_EQ(Texel(piece, 144, y), Opaque(143, y)) << y;
  for (int x : {0, 143}) EXPECT_EQ(Texel(piece, x, 384), Opaque(x, 383)) << x;
  EXPECT_EQ(Texel(piece, 144, 384), Opaque(143, 383));
  EXPECT_EQ(Texel(piece, 145, 0), 0u);
  EXPECT_EQ(Texel(piece, 0, 385), 0u);
  EXPECT_EQ(Texel(piece, 255, 511), 0u);

  ASSERT_EQ(Record(graph).drawPieceCount, 1);
  const DrawPiece& quad = DrawPiecesOf(&Record(graph))[0];
  EXPECT_EQ(quad.piece, &piece);
  EXPECT_EQ(quad.vertices[3].x, 144.0f);
  EXPECT_EQ(quad.vertices[3].y, 384.0f);
  EXPECT_EQ(quad.vertices[3].u, 144.0f / 256.0f);
  EXPECT_EQ(quad.vertices[3].v, 384.0f / 512.0f);
  ReleasePixelImage(&image);
}

// The same image and the same expected texels serve the test on the real
// device (tests/direct3d), so that the fake and Direct3D itself are held
// to one result.
TEST_F(HardwareGraphs, EveryTexelOfTheUploadOnBothDevices) {
  for (bool ex : {true, false}) {
    SCOPED_TRACE(ex ? "9Ex" : "plain");
    Start(ex);
    PixelImage image = testsupport::MakeUploadImage();
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ASSERT_NE(graph, -1);
    const TexturePiece& piece = Piece(graph);
    ASSERT_EQ(piece.textureWidth, testsupport::UPLOAD_TEXTURE_WIDTH);
    ASSERT_EQ(piece.textureHeight, testsupport::UPLOAD_TEXTURE_HEIGHT);
    int wrong = 0;
    for (int y = 0; y < piece.textureHeight; ++y)
      for (int x = 0; x < piece.textureWidth; ++x)
        if (Texel(piece, x, y) != testsupport::ExpectedUploadTexel(x, y) && wrong++ < 5)
          ADD_FAILURE() << x << "," << y << ": " << std::hex << Texel(piece, x, y);
    EXPECT_EQ(wrong, 0);
    ReleasePixelImage(&image);
    ShutdownEngine();
  }
}

// Which device calls make and fill the texture: on the 9Ex device the
// texture lives in the default pool and is written through a system-memory
// twin; on the plain device it is a managed texture written directly.
TEST_F(HardwareGraphs, TheDeviceCallsOfCreationOnBothDevices) {
  struct Case {
    bool ex;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {true,
       {"IDirect3DDevice9_CreateTexture 64,32,1,0x0,21,0",
        "IDirect3DDevice9_CreateTexture 64,32,1,0x200,21,2",
        "IDirect3DTexture9_GetSurfaceLevel 0", "IDirect3DTexture9_LockRect Texture2.0,null,0x0",
        "IDirect3DTexture9_UnlockRect 0", "IDirect3DDevice9_UpdateTexture Texture2.0,Texture1.0",
        "IDirect3DTexture9_LockRect Texture2.0,{0,0,41,21},0x0", "IDirect3DTexture9_UnlockRect 0",
        "IDirect3DDevice9_UpdateTexture Texture2.0,Texture1.0"}},
      {false,
       {"IDirect3DDevice9_CreateTexture 64,32,1,0x0,21,1", "IDirect3DTexture9_GetSurfaceLevel 0",
        "IDirect3DTexture9_LockRect Texture1.0,null,0x0", "IDirect3DTexture9_UnlockRect 0",
        "IDirect3DTexture9_LockRect Texture1.0,{0,0,41,21},0x0",
        "IDirect3DTexture9_UnlockRect 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ex ? "9Ex" : "plain");
    Start(c.ex);
    headless::ClearDirect3D9Calls();
    PixelImage image = MakeImage(40, 20, PositionColor);
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ASSERT_NE(graph, -1);
    std::vector<std::string> calls;
    for (const headless::Direct3D9Call& call : headless::Direct3D9Calls().calls)
      calls.push_back(call.name + " " + call.arguments);
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(Record(graph).textureSet->descriptor.staging, c.ex ? 1 : 0);
    // The device's texture holds the pixels either way.
    EXPECT_EQ(Texel(Piece(graph), 39, 19), Opaque(39, 19));
    EXPECT_EQ(Texel(Piece(graph), 40, 20), Opaque(39, 19));
    ReleasePixelImage(&image);
    ShutdownEngine();
  }
}

TEST_F(HardwareGraphs, TheColorKeyBecomesAlphaAndTheColorBitsStay) {
  Start();
  // Black is the key at start; one pixel is black, one near-black.
  PixelImage image = MakeImage(4, 1, [](int x, int) -> uint32_t {
    return x == 1 ? 0x000000 : x == 2 ? 0x000001 : 0x808080;
  });
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  EXPECT_EQ(Texel(Piece(graph), 0, 0), 0xFF808080u);
  EXPECT_EQ(Texel(Piece(graph), 1, 0), 0x00000000u);
  EXPECT_EQ(Texel(Piece(graph), 2, 0), 0xFF000001u);

  // A key set later leaves the graph's stored key in force for reloads.
  SetColorKey(0x80, 0x80, 0x80);
  EXPECT_EQ(TransferImageToGraph(graph, &image, nullptr, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(Texel(Piece(graph), 0, 0), 0xFF808080u);
  EXPECT_EQ(Texel(Piece(graph), 1, 0), 0x00000000u);

  // An image with alpha of its own keeps it: no key.
  PixelImage argb{};
  CreateArgb8PixelImage(2, 1, &argb);
  SetPixelColor(&argb, 0, 0, 0x80, 0x80, 0x80, 0x40);
  SetPixelColor(&argb, 1, 0, 0, 0, 0, 0xFF);
  Handle withAlpha = CreateGraphFromImage(&argb, nullptr);
  ASSERT_NE(withAlpha, -1);
  EXPECT_EQ(Record(withAlpha).textureSet->formatClass, FORMAT_CLASS_ALPHA32);
  EXPECT_EQ(Texel(Piece(withAlpha), 0, 0), 0x40808080u);
  EXPECT_EQ(Texel(Piece(withAlpha), 1, 0), 0xFF000000u);

  // With the key switched off in conversion every pixel is opaque.
  graphCreationOptions.colorKeyInConversion = 0;
  EXPECT_EQ(TransferImageToGraph(graph, &image, nullptr, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(Texel(Piece(graph), 1, 0), 0xFF000000u);
  ReleasePixelImage(&image);
  ReleasePixelImage(&argb);
}

// The key and the alpha in each texture format a graph can get: the format
// class follows the screen's depth, the depth override and the image's own
// alpha.
TEST_F(HardwareGraphs, KeyAndAlphaInEachTextureFormat) {
  enum Source { OPAQUE_IMAGE, WITH_ALPHA_CHANNEL, WITH_ALPHA_IMAGE };
  struct Case {
    const char* what;
    uint32_t desktop;
    int depthOverride;
    Source source;
    uint32_t format;
    uint32_t colored, black;  // texels of 0x8040C0 (alpha 0x80) and of black
  };
  const Case cases[] = {
      {"32-bit alpha test", port::D3DFMT_X8R8G8B8, 0, OPAQUE_IMAGE, port::D3DFMT_A8R8G8B8,
       0xFF8040C0, 0x00000000},
      {"16-bit alpha test", port::D3DFMT_R5G6B5, 0, OPAQUE_IMAGE, port::D3DFMT_A1R5G5B5, 0xC118,
       0x0000},
      {"alpha channel", port::D3DFMT_X8R8G8B8, 0, WITH_ALPHA_CHANNEL, port::D3DFMT_A8R8G8B8,
       0x808040C0, 0x80000000},
      {"alpha channel, 16-bit override", port::D3DFMT_X8R8G8B8, 16, WITH_ALPHA_CHANNEL,
       port::D3DFMT_A4R4G4B4, 0x884C, 0x8000},
      {"alpha image", port::D3DFMT_X8R8G8B8, 0, WITH_ALPHA_IMAGE, port::D3DFMT_A8R8G8B8,
       0x808040C0, 0x80000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    script_.desktop.Format = c.desktop;
    Start();
    graphCreationOptions.bitDepthOverride = c.depthOverride;
    PixelImage image{}, alpha{};
    if (c.source == WITH_ALPHA_CHANNEL)
      CreateArgb8PixelImage(2, 1, &image);
    else
      CreateXrgb8PixelImage(2, 1, &image);
    SetPixelColor(&image, 0, 0, 0x80, 0x40, 0xC0, 0x80);
    SetPixelColor(&image, 1, 0, 0, 0, 0, 0x80);
    if (c.source == WITH_ALPHA_IMAGE) {
      CreateXrgb8PixelImage(2, 1, &alpha);
      SetPixelColor(&alpha, 0, 0, 0x80, 0, 0, 0);
      SetPixelColor(&alpha, 1, 0, 0x80, 0, 0, 0);
    }
    Handle graph = CreateGraphFromImage(&image, c.source == WITH_ALPHA_IMAGE ? &alpha : nullptr);
    ASSERT_NE(graph, -1);
    EXPECT_EQ(headless::TextureLevelDesc(Piece(graph).texture, 0).Format, c.format);
    EXPECT_EQ(Texel(Piece(graph), 0, 0), c.colored);
    EXPECT_EQ(Texel(Piece(graph), 1, 0), c.black);
    ReleasePixelImage(&image);
    ReleasePixelImage(&alpha);
    ShutdownEngine();
    graphCreationOptions.bitDepthOverride = 0;
  }
}

// An image cut into three textures across (512, 256 and 32 wide, 600 of
// 1024 high used): each takes its own part, the row below the image is
// repeated in each, and no column is added where a texture is full.
TEST_F(HardwareGraphs, AnImageCutIntoSeveralTexturesFillsEachWithItsPart) {
  Start();
  PixelImage image = MakeImage(800, 600, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  ASSERT_EQ(Record(graph).textureSet->pieceCount, 3);
  struct Case {
    int piece, x, y;
    uint32_t expected;
  };
  const Case cases[] = {
      {0, 0, 0, Opaque(0, 0)},       {0, 511, 599, Opaque(511, 599)},
      {0, 511, 600, Opaque(511, 599)}, {0, 0, 601, 0},
      {1, 0, 0, Opaque(512, 0)},     {1, 255, 300, Opaque(767, 300)},
      {1, 100, 600, Opaque(612, 599)}, {2, 0, 0, Opaque(768, 0)},
      {2, 31, 599, Opaque(799, 599)}, {2, 31, 600, Opaque(799, 599)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Texel(Piece(graph, c.piece), c.x, c.y), c.expected)
        << c.piece << ": " << c.x << "," << c.y;
  std::vector<std::string> locks;
  for (const headless::Direct3D9Call& call : headless::Direct3D9CallsNamed("IDirect3DTexture9_LockRect"))
    if (call.arguments.find("null") == std::string::npos) locks.push_back(call.arguments);
  const std::vector<std::string> expected = {"Texture2.0,{0,0,512,601},0x0",
                                             "Texture4.0,{0,0,256,601},0x0",
                                             "Texture6.0,{0,0,32,601},0x0"};
  EXPECT_EQ(locks, expected);
  ReleasePixelImage(&image);
}

// A device that makes square textures only: the 512 x 256 texture of a
// 384 x 144 image becomes two squares side by side, the second one used
// 128 wide, and a graph across both is drawn from both.
TEST_F(HardwareGraphs, ASquareOnlyDeviceGetsSquareTextures) {
  script_.caps.TextureCaps |= port::D3DPTEXTURECAPS_SQUAREONLY;
  Start();
  PixelImage image = MakeImage(384, 144, PositionColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  ASSERT_EQ(Record(graph).textureSet->pieceCount, 2);
  for (int i : {0, 1}) {
    EXPECT_EQ(headless::TextureLevelDesc(Piece(graph, i).texture, 0).Width, 256u);
    EXPECT_EQ(headless::TextureLevelDesc(Piece(graph, i).texture, 0).Height, 256u);
  }
  EXPECT_EQ(Texel(Piece(graph, 1), 0, 0), Opaque(256, 0));
  EXPECT_EQ(Texel(Piece(graph, 1), 128, 143), Opaque(383, 143));  // the column past the image
  EXPECT_EQ(Texel(Piece(graph, 0), 255, 144), Opaque(255, 143));  // the row below it
  Handle across = DeriveGraph(graph, 200, 0, 100, 10);
  ASSERT_NE(across, -1);
  EXPECT_EQ(Record(across).drawPieceCount, 2);
  ReleasePixelImage(&image);
}

// Cells of a sheet share its texture: each cell's upload writes its own
// rectangle of it, and only the cell at the image's edge widens its lock.
TEST_F(HardwareGraphs, CellsUploadTheirOwnRectangleOfTheSharedTexture) {
  Start();
  PixelImage image = MakeImage(96, 48, PositionColor);
  Handle cells[2];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 2, 2, 1, 48, 48, cells, 1), 0);
  const TexturePiece& piece = Piece(cells[0]);
  EXPECT_EQ(&Piece(cells[1]), &piece);
  PixelImage other = MakeImage(96, 48, [](int, int) -> uint32_t { return 0x123456; });
  struct Case {
    int cell;
    const char* lock;
  };
  for (const Case& c : {Case{0, "{0,0,48,49}"}, Case{1, "{48,0,97,49}"}}) {
    headless::ClearDirect3D9Calls();
    EXPECT_EQ(TransferImageToGraph(cells[c.cell], &other, nullptr, 48 * c.cell, 0, nullptr, 0), 0);
    std::vector<headless::Direct3D9Call> locks =
        headless::Direct3D9CallsNamed("IDirect3DTexture9_LockRect");
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].arguments, std::string("Texture2.0,") + c.lock + ",0x0");
  }
  EXPECT_EQ(Texel(piece, 0, 0), 0xFF123456u);
  EXPECT_EQ(Texel(piece, 96, 48), 0xFF123456u);
  // A transfer from a source position moves the image under the graph.
  EXPECT_EQ(TransferImageToGraph(cells[1], &image, nullptr, 10, 5, nullptr, 0), 0);
  EXPECT_EQ(Texel(piece, 48, 0), Opaque(10, 5));
  EXPECT_EQ(Texel(piece, 95, 42), Opaque(57, 47));
  EXPECT_EQ(Texel(piece, 95, 43), 0xFF123456u);  // past the image: not written
  for (Handle cell : cells) ReleaseGraph(cell, 0);
  ReleasePixelImage(&image);
  ReleasePixelImage(&other);
}

TEST_F(HardwareGraphs, EachFailingDeviceCallFailsCreationWithItsLineAndLeaksNothing) {
  struct Case {
    const char* call;
    int occurrence;
    const char* line;
  };
  const Case cases[] = {
      {"IDirect3DDevice9_CreateTexture", 1, "書き込み専用テクスチャの作成に失敗しました"},
      {"IDirect3DDevice9_CreateTexture", 2, "メモリテクスチャの作成に失敗しました"},
      {"IDirect3DTexture9_GetSurfaceLevel", 1,
       "テクスチャのサーフェスアドレスの取得に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + " " + std::to_string(c.occurrence));
    Start();
    Fail(c.call, c.occurrence);
    PixelImage image = MakeImage(16, 16, PositionColor);
    EXPECT_EQ(CreateGraphFromImage(&image, nullptr), -1);
    EXPECT_TRUE(LogHas(c.line));
    EXPECT_EQ(graphTable.liveCount, 0);
    EXPECT_EQ(headless::Direct3D9Calls().liveObjects, baseObjects_);
    ReleasePixelImage(&image);
    ShutdownEngine();
    script_.failures.clear();
  }
}

TEST_F(HardwareGraphs, AClassWithoutAFormatCannotBeCreated) {
  Start();
  textureFormatTable[FORMAT_CLASS_ALPHA_TEST32] = 0;
  PixelImage image = MakeImage(16, 16, PositionColor);
  EXPECT_EQ(CreateGraphFromImage(&image, nullptr), -1);
  EXPECT_TRUE(LogHas("指定のフォーマットで作成できるテクスチャフォーマットがありませんでした"));
  EXPECT_EQ(graphTable.liveCount, 0);
  ReleasePixelImage(&image);
}

// A texture that cannot be locked, or (on the 9Ex device, which uploads
// through a staging twin) whose copy from the twin is refused, leaves the
// graph made but empty, and the transfer reports the failure.
TEST_F(HardwareGraphs, AFailedUploadIsLoggedAndReported) {
  struct Case {
    bool ex;
    const char* call;
    const char* line;
  };
  const Case cases[] = {
      {false, "IDirect3DTexture9_LockRect", "テクスチャのロックに失敗しました"},
      {true, "IDirect3DDevice9_UpdateTexture", "テクスチャへの転送に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    Start(c.ex);
    PixelImage image = MakeImage(16, 16, PositionColor);
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ASSERT_NE(graph, -1);
    Fail(c.call);
    EXPECT_EQ(TransferImageToGraph(graph, &image, nullptr, 0, 0, nullptr, 0), -1);
    EXPECT_TRUE(LogHas(c.line));
    ReleasePixelImage(&image);
    ShutdownEngine();
    script_.failures.clear();
  }
}

TEST_F(HardwareGraphs, TheTexturesGoWithTheLastGraphOfTheirSet) {
  Start();
  PixelImage image = MakeImage(96, 48, PositionColor);
  Handle cells[2];
  ASSERT_EQ(CreateDivGraphFromGraphImage(&image, nullptr, 2, 2, 1, 48, 48, cells, 1), 0);
  int withTextures = headless::Direct3D9Calls().liveObjects;
  EXPECT_GT(withTextures, baseObjects_);
  EXPECT_EQ(ReleaseGraph(cells[0], 0), 0);
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, withTextures);
  EXPECT_EQ(ReleaseGraph(cells[1], 0), 0);
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, baseObjects_);
  ReleasePixelImage(&image);
}

}  // namespace
}  // namespace graphicstest
