// How images are laid out over textures in hardware mode, and the draw
// pieces of graphs whose rectangles cross the textures' borders.
#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/hardware/TexturePieces.h"
#include "engine/graphics/records/GraphTable.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

// A piece as (x, y, texture width, texture height, used width, used height).
struct PieceShape {
  int x, y, textureWidth, textureHeight, usedWidth, usedHeight;
  bool operator==(const PieceShape& o) const {
    return x == o.x && y == o.y && textureWidth == o.textureWidth &&
           textureHeight == o.textureHeight && usedWidth == o.usedWidth &&
           usedHeight == o.usedHeight;
  }
};

void PrintTo(const PieceShape& p, std::ostream* out) {
  *out << "{" << p.x << "," << p.y << " " << p.textureWidth << "x" << p.textureHeight << " used "
       << p.usedWidth << "x" << p.usedHeight << "}";
}

std::vector<PieceShape> Shapes(const std::vector<TexturePiece>& pieces) {
  std::vector<PieceShape> shapes;
  for (const TexturePiece& p : pieces)
    shapes.push_back({p.x, p.y, p.textureWidth, p.textureHeight, p.usedWidth, p.usedHeight});
  return shapes;
}

struct LayoutCase {
  const char* what;
  int width, height;
  TextureLimits limits;
  std::vector<PieceShape> pieces;
};

TEST(TexturePieceLayout, PiecesCoverTheImageRowByRow) {
  const TextureLimits plain = {2048, 800, false};
  const TextureLimits square = {2048, 800, true};
  const LayoutCase cases[] = {
      {"the actor sheet", 144, 384, plain, {{0, 0, 256, 512, 144, 384}}},
      {"the font sheet", 512, 512, plain, {{0, 0, 512, 512, 512, 512}}},
      {"tiny", 3, 5, plain, {{0, 0, 8, 8, 3, 5}}},
      {"as wide as the screen",
       800,
       600,
       plain,
       {{0, 0, 512, 1024, 512, 600}, {512, 0, 256, 1024, 256, 600}, {768, 0, 32, 1024, 32, 600}}},
      // 300 = 128 + 128 + 32 + 16 and 200 = 128 + 64 + 8 on a device of 128.
      {"cut both ways on a small device",
       300,
       200,
       {128, 800, false},
       {{0, 0, 128, 128, 128, 128},
        {128, 0, 128, 128, 128, 128},
        {256, 0, 32, 128, 32, 128},
        {288, 0, 16, 128, 12, 128},
        {0, 128, 128, 64, 128, 64},
        {128, 128, 128, 64, 128, 64},
        {256, 128, 32, 64, 32, 64},
        {288, 128, 16, 64, 12, 64},
        {0, 192, 128, 8, 128, 8},
        {128, 192, 128, 8, 128, 8},
        {256, 192, 32, 8, 32, 8},
        {288, 192, 16, 8, 12, 8}}},
      {"square only: side by side", 384, 144, square,
       {{0, 0, 256, 256, 256, 144}, {256, 0, 256, 256, 128, 144}}},
      {"square only: one above the other", 144, 384, square,
       {{0, 0, 256, 256, 144, 256}, {0, 256, 256, 256, 144, 128}}},
      // The fourth square of a 512 x 128 texture would start past the image.
      {"square only: squares the image does not reach are left out", 300, 100, square,
       {{0, 0, 128, 128, 128, 100}, {128, 0, 128, 128, 128, 100}, {256, 0, 128, 128, 44, 100}}},
      {"square only: appended after every piece of the grid",
       800,
       100,
       square,
       {{0, 0, 128, 128, 128, 100},
        {512, 0, 128, 128, 128, 100},
        {768, 0, 32, 32, 32, 32},
        {128, 0, 128, 128, 128, 100},
        {256, 0, 128, 128, 128, 100},
        {384, 0, 128, 128, 128, 100},
        {640, 0, 128, 128, 128, 100},
        {768, 32, 32, 32, 32, 32},
        {768, 64, 32, 32, 32, 32},
        {768, 96, 32, 32, 32, 4}}},
  };
  for (const LayoutCase& c : cases)
    EXPECT_EQ(Shapes(LayOutTexturePieces(c.width, c.height, c.limits)), c.pieces) << c.what;
}

using DrawPieces = HardwareFixture;

struct Quad {
  int destX, destY, sourceX, sourceY, width, height;
  std::vector<float> corners;     // x, y, u, v of each of the four vertices
  std::vector<int> aboveDiagonal;  // of each vertex
  bool operator==(const Quad& o) const {
    return destX == o.destX && destY == o.destY && sourceX == o.sourceX &&
           sourceY == o.sourceY && width == o.width && height == o.height &&
           corners == o.corners && aboveDiagonal == o.aboveDiagonal;
  }
};

void PrintTo(const Quad& q, std::ostream* out) {
  *out << "{dest " << q.destX << "," << q.destY << " source " << q.sourceX << "," << q.sourceY
       << " size " << q.width << "x" << q.height << " corners";
  for (float f : q.corners) *out << " " << f;
  *out << " diagonal";
  for (int d : q.aboveDiagonal) *out << " " << d;
  *out << "}";
}

std::vector<Quad> QuadsOf(Handle graph) {
  GraphRecord* record = FindGraphRecord(graph);
  std::vector<Quad> quads;
  for (int i = 0; i < record->drawPieceCount; ++i) {
    const DrawPiece& p = DrawPiecesOf(record)[i];
    Quad q{p.destX, p.destY, p.sourceX, p.sourceY, p.width, p.height, {}, {}};
    for (const DrawPiece::Vertex& v : p.vertices) q.corners.insert(q.corners.end(), {v.x, v.y, v.u, v.v});
    for (uint8_t d : p.onOrAboveDiagonal) q.aboveDiagonal.push_back(d);
    quads.push_back(q);
  }
  return quads;
}

// Graphs of an 800 x 600 image, whose columns are textures 512, 256 and 32
// wide (1024 high, 600 used).
TEST_F(DrawPieces, AGraphGetsOneQuadForEachTextureItTouches) {
  ASSERT_EQ(StartWindowed(), 0);
  ASSERT_EQ(hardwareMode, 1);
  PixelImage image = MakeImage(800, 600, PositionColor);
  Handle whole = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(whole, -1);
  struct Case {
    const char* what;
    int x, y, width, height;
    std::vector<Quad> quads;
  };
  const float w512 = 1 / 512.0f, w256 = 1 / 256.0f, w32 = 1 / 32.0f, h = 1 / 1024.0f;
  const Case cases[] = {
      {"inside the first texture",
       10, 20, 48, 32,
       {{0, 0, 10, 20, 48, 32,
         {0, 0, 10 * w512, 20 * h, 48, 0, 58 * w512, 20 * h,
          0, 32, 10 * w512, 52 * h, 48, 32, 58 * w512, 52 * h},
         {1, 1, 1, 0}}}},
      {"across all three",
       500, 10, 300, 20,
       {{0, 0, 500, 10, 12, 20,
         {0, 0, 500 * w512, 10 * h, 12, 0, 1, 10 * h, 0, 20, 500 * w512, 30 * h, 12, 20, 1, 30 * h},
         {1, 1, 1, 0}},
        {12, 0, 0, 10, 256, 20,
         {12, 0, 0, 10 * h, 268, 0, 1, 10 * h, 12, 20, 0, 30 * h, 268, 20, 1, 30 * h},
         {1, 1, 0, 0}},
        {268, 0, 0, 10, 32, 20,
         {268, 0, 0, 10 * h, 300, 0, 1, 10 * h, 268, 20, 0, 30 * h, 300, 20, 1, 30 * h},
         {1, 1, 0, 0}}}},
      {"clipped at the image's corner",
       780, 590, 48, 48,
       {{0, 0, 12, 590, 20, 10,
         {0, 0, 12 * w32, 590 * h, 20, 0, 1, 590 * h, 0, 10, 12 * w32, 600 * h, 20, 10, 1, 600 * h},
         {1, 1, 1, 0}}}},
      {"starting in the middle texture", 600, 0, 200, 8,
       {{0, 0, 88, 0, 168, 8,
         {0, 0, 88 * w256, 0, 168, 0, 1, 0, 0, 8, 88 * w256, 8 * h, 168, 8, 1, 8 * h},
         {1, 1, 1, 0}},
        {168, 0, 0, 0, 32, 8,
         {168, 0, 0, 0, 200, 0, 1, 0, 168, 8, 0, 8 * h, 200, 8, 1, 8 * h},
         {1, 1, 0, 0}}}},
  };
  for (const Case& c : cases) {
    Handle graph = DeriveGraph(whole, c.x, c.y, c.width, c.height);
    ASSERT_NE(graph, -1) << c.what;
    EXPECT_EQ(QuadsOf(graph), c.quads) << c.what;
    ReleaseGraph(graph, 0);
  }
  ReleasePixelImage(&image);
}

// The diagonal runs from the bottom-left corner to the top-right one; a
// vertex on it counts as above.
TEST_F(DrawPieces, DiagonalFlagsOfANonSquareGraph) {
  ASSERT_EQ(StartWindowed(), 0);
  PixelImage image = MakeImage(800, 600, PositionColor);
  Handle whole = CreateGraphFromImage(&image, nullptr);
  // 512 - 412 = 100 wide in the first texture, 3 high: the diagonal of the
  // 256 x 3 graph passes the border at y = 3 - 100 * 3 / 256 = 1.83.
  Handle graph = DeriveGraph(whole, 412, 0, 256, 3);
  std::vector<Quad> quads = QuadsOf(graph);
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[0].aboveDiagonal, (std::vector<int>{1, 1, 1, 0}));
  EXPECT_EQ(quads[1].aboveDiagonal, (std::vector<int>{1, 1, 0, 0}));
  ReleasePixelImage(&image);
}

}  // namespace
}  // namespace graphicstest
