// The upload into textures of several mip levels and of DXT formats: an
// image's own levels copied, missing levels made by halving, DXT blocks
// copied as they are into a DXT texture of their kind and expanded into
// any other texture.
#include <cstring>
#include <string>
#include <vector>

#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/services/Memory.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

// An image holding its levels one after another, the way DDS files are
// decoded: the first with its pitch, the others packed. Plain levels are
// 32-bit XRGB filled by colorOf(level, x, y); DXT levels get the given
// bytes.
template <typename ColorOf>
PixelImage PlainImageWithLevels(int width, int height, int levels, ColorOf colorOf) {
  PixelImage image{};
  SetXrgb8ColorFormat(&image);
  image.width = width;
  image.height = height;
  image.pitch = width * 4;
  image.mipCount = levels - 1;
  std::vector<uint32_t> values;
  for (int level = 0; level < levels; ++level) {
    int w = std::max(1, width >> level), h = std::max(1, height >> level);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) values.push_back(colorOf(level, x, y));
  }
  image.pixels = MemAlloc(values.size() * 4, "", 0);
  std::memcpy(image.pixels, values.data(), values.size() * 4);
  return image;
}

PixelImage BlockImage(int kind, int width, int height, const std::vector<uint8_t>& bytes,
                      int levels = 1) {
  PixelImage image{};
  SetArgb8ColorFormat(&image);
  image.format.bitsPerPixel = kind == 1 ? 4 : 8;
  image.blockCompression = kind;
  image.width = width;
  image.height = height;
  image.mipCount = levels - 1;
  image.pixels = MemAlloc(bytes.size(), "", 0);
  std::memcpy(image.pixels, bytes.data(), bytes.size());
  return image;
}

// A DXT1 block of one opaque colour (R5G6B5, as colour 0 of four-colour
// mode with every index 0).
std::vector<uint8_t> SolidDxt1(uint16_t color) {
  return {uint8_t(color), uint8_t(color >> 8), 0, 0, 0, 0, 0, 0};
}

std::vector<uint8_t> Counting(size_t count, uint8_t first) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(first + i);
  return bytes;
}

class MipAndBlockUpload : public HardwareFixture {
 protected:
  void Start() {
    ASSERT_EQ(StartWindowed(), 0);
    ASSERT_EQ(hardwareMode, 1);
  }
  static const TexturePiece& Piece(Handle graph) {
    return PiecesOf(FindGraphRecord(graph)->textureSet)[0];
  }
  int LinesWith(const std::string& text) const {
    int count = 0;
    for (const std::string& line : LogTexts()) count += line.find(text) != std::string::npos;
    return count;
  }
  static uint32_t Texel(Handle graph, int level, int x, int y) {
    return headless::TexturePixel(Piece(graph).texture, level, x, y);
  }
};

uint32_t LevelColor(int level, int x, int y) {
  return uint32_t(0x40 + level) << 16 | uint32_t(x) << 8 | uint32_t(y);
}

// A 6 x 6 image with levels of 3 x 3 and 1 x 1 in a texture of 8, 4 and 2:
// each level takes its own pixels and repeats its edge into the texel past
// it.
TEST_F(MipAndBlockUpload, AnImagesOwnLevelsAreCopiedLevelByLevel) {
  Start();
  PixelImage image = PlainImageWithLevels(6, 6, 3, LevelColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  ASSERT_EQ(headless::TextureLevelCount(Piece(graph).texture), 3);
  for (int level = 0; level < 3; ++level) {
    int size = std::max(1, 6 >> level);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        EXPECT_EQ(Texel(graph, level, x, y), 0xFF000000u | LevelColor(level, x, y))
            << level << ":" << x << "," << y;
    EXPECT_EQ(Texel(graph, level, size, size - 1), 0xFF000000u | LevelColor(level, size - 1, size - 1))
        << level;
    EXPECT_EQ(Texel(graph, level, size, size), 0xFF000000u | LevelColor(level, size - 1, size - 1))
        << level;
  }
  std::vector<std::string> locks;
  for (const headless::Direct3D9Call& call : headless::Direct3D9CallsNamed("IDirect3DTexture9_LockRect"))
    locks.push_back(call.arguments);
  // The clear of three levels, then the upload of each.
  const std::vector<std::string> expected = {
      "Texture2.0,null,0x0",        "Texture2.1,null,0x0",        "Texture2.2,null,0x0",
      "Texture2.0,{0,0,7,7},0x0", "Texture2.1,{0,0,4,4},0x0", "Texture2.2,{0,0,2,2},0x0"};
  EXPECT_EQ(locks, expected);
  ReleasePixelImage(&image);
}

// An image without levels going into a texture with them: the levels are
// made by halving the first, each texel the average of the four below it.
TEST_F(MipAndBlockUpload, MissingLevelsAreMadeByHalving) {
  Start();
  PixelImage levels = PlainImageWithLevels(4, 4, 3, LevelColor);
  Handle graph = CreateGraphFromImage(&levels, nullptr);
  ASSERT_NE(graph, -1);
  PixelImage flat = MakeImage(4, 4, PositionColor);
  EXPECT_EQ(TransferImageToGraph(graph, &flat, nullptr, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(Texel(graph, 0, 3, 3), 0xFF000000u | PositionColor(3, 3));
  EXPECT_EQ(Texel(graph, 1, 0, 0), 0xFF000040u);  // red and green (0 + 1) / 2
  EXPECT_EQ(Texel(graph, 1, 1, 1), 0xFF020240u);  // (2 + 3) / 2
  EXPECT_EQ(Texel(graph, 2, 0, 0), 0xFF010140u);  // (0 + 0 + 2 + 2) / 4
  ReleasePixelImage(&levels);
  ReleasePixelImage(&flat);
}

TEST_F(MipAndBlockUpload, AFailedLockOfAFurtherLevelHasItsOwnLine) {
  Start();
  PixelImage image = PlainImageWithLevels(4, 4, 2, LevelColor);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  Fail("IDirect3DTexture9_LockRect", 2);  // level 1 of the next upload
  EXPECT_EQ(TransferImageToGraph(graph, &image, nullptr, 0, 0, nullptr, 0), -1);
  EXPECT_TRUE(LogHas("ミップマップテクスチャのロックに失敗しました"));
  for (const std::string& line : LogTexts())
    EXPECT_NE(line, "テクスチャのロックに失敗しました");  // level 0 was written
  ReleasePixelImage(&image);
}

// Into a DXT texture of the same kind the blocks are copied level by
// level; the levels below one block still take a whole block each.
TEST_F(MipAndBlockUpload, BlocksAreCopiedIntoATextureOfTheirKind) {
  struct Case {
    int kind;
    uint32_t format;
    int size, levels;
    std::vector<int> levelBytes;
  };
  const Case cases[] = {
      {1, port::D3DFMT_DXT1, 16, 3, {128, 32, 8}},
      {3, port::D3DFMT_DXT3, 8, 4, {64, 16, 16, 16}},
      {5, port::D3DFMT_DXT5, 8, 1, {64}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Start();
    size_t total = 0;
    for (int bytes : c.levelBytes) total += size_t(bytes);
    PixelImage image = BlockImage(c.kind, c.size, c.size, Counting(total, 1), c.levels);
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ASSERT_NE(graph, -1);
    port::Direct3DTexture9Handle texture = Piece(graph).texture;
    EXPECT_EQ(headless::TextureLevelDesc(texture, 0).Format, c.format);
    ASSERT_EQ(headless::TextureLevelCount(texture), c.levels);
    size_t offset = 0;
    for (int level = 0; level < c.levels; ++level) {
      std::vector<uint8_t> expected = Counting(size_t(c.levelBytes[size_t(level)]), uint8_t(1 + offset));
      EXPECT_EQ(headless::TextureLevelBytes(texture, level), expected) << level;
      offset += size_t(c.levelBytes[size_t(level)]);
    }
    ReleasePixelImage(&image);
    ShutdownEngine();
  }
}

TEST_F(MipAndBlockUpload, OnlyAWholeTextureOfTheSameKindTakesBlocks) {
  Start();
  PixelImage dxt = BlockImage(1, 16, 16, Counting(128, 1));
  Handle graph = CreateGraphFromImage(&dxt, nullptr);
  ASSERT_NE(graph, -1);
  struct Case {
    const char* what;
    PixelImage image;
  };
  std::vector<Case> cases = {
      {"plain pixels", MakeImage(16, 16, PositionColor)},
      {"another DXT kind", BlockImage(3, 16, 16, Counting(256, 7))},
  };
  const std::string refused = "DXTフォーマットのテクスチャに標準形式のイメージを転送することはできません";
  int refusals = 0;
  for (Case& c : cases) {
    EXPECT_EQ(TransferImageToGraph(graph, &c.image, nullptr, 0, 0, nullptr, 0), -1) << c.what;
    EXPECT_EQ(LinesWith(refused), ++refusals) << c.what;
    ReleasePixelImage(&c.image);
  }
  // A 12 x 12 image does not fill its 16 x 16 texture: the graph is made,
  // its texture stays empty.
  PixelImage small = BlockImage(1, 12, 12, Counting(72, 1));
  Handle partial = CreateGraphFromImage(&small, nullptr);
  EXPECT_NE(partial, -1);
  EXPECT_EQ(LinesWith(refused), ++refusals);
  EXPECT_EQ(headless::TextureLevelBytes(Piece(partial).texture, 0), std::vector<uint8_t>(128, 0));
  // The texture of the first graph kept its blocks.
  EXPECT_EQ(headless::TextureLevelBytes(Piece(graph).texture, 0), Counting(128, 1));
  ReleasePixelImage(&dxt);
  ReleasePixelImage(&small);
}

// Without DXT1 textures the class falls back to the 16-bit alpha-test
// format: the blocks are expanded to pixels and the second level made by
// halving.
TEST_F(MipAndBlockUpload, BlocksAreExpandedForATextureOfAnotherFormat) {
  script_.textureFormats = {port::D3DFMT_R5G6B5,   port::D3DFMT_X1R5G5B5, port::D3DFMT_X8R8G8B8,
                            port::D3DFMT_A8R8G8B8, port::D3DFMT_A4R4G4B4, port::D3DFMT_A1R5G5B5};
  Script();
  Start();
  // 8 x 8: red blocks on the left, blue on the right; a 4 x 4 level of
  // whatever (it is not used: the expansion keeps the first level only).
  std::vector<uint8_t> bytes;
  for (uint16_t color : {0xF800, 0x001F, 0xF800, 0x001F, 0x07E0}) {
    std::vector<uint8_t> block = SolidDxt1(color);
    bytes.insert(bytes.end(), block.begin(), block.end());
  }
  PixelImage image = BlockImage(1, 8, 8, bytes, 2);
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  EXPECT_EQ(headless::TextureLevelDesc(Piece(graph).texture, 0).Format, port::D3DFMT_A1R5G5B5);
  EXPECT_EQ(Texel(graph, 0, 0, 0), 0xFC00u);
  EXPECT_EQ(Texel(graph, 0, 7, 7), 0x801Fu);
  EXPECT_EQ(Texel(graph, 1, 1, 3), 0xFC00u);
  EXPECT_EQ(Texel(graph, 1, 2, 0), 0x801Fu);
  EXPECT_FALSE(LogHas("DXTフォーマット"));
  EXPECT_EQ(image.blockCompression, 1);  // the caller's image is untouched
  ReleasePixelImage(&image);
}

}  // namespace
}  // namespace graphicstest
