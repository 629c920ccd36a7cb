// PutGraph and PaintBox in hardware mode: the vertices each sends to the
// device (positions, half-pixel shift, clipping with the texture
// coordinates, colours), on the Direct3D 9 fake.
#include <algorithm>

#include "engine/graphics/display/DrawTarget.h"
#include "tests/graphics/HardwareDrawingFixture.h"

namespace graphicstest {
namespace {

// A quad as drawn: its top-left and bottom-right corners with their
// texture coordinates in texels.
struct Quad {
  float left, top, right, bottom;
  float texelLeft, texelTop, texelRight, texelBottom;
};

// The six vertices of quad q of a draw, checked to be the two triangles
// TL TR BL, BR BL TR of one rectangle, as a Quad with texel coordinates.
Quad QuadOf(const headless::Direct3D9Draw& draw, size_t q, float textureWidth,
           float textureHeight) {
  const headless::Direct3D9Vertex* v = &draw.vertices.at(q * 6);
  EXPECT_EQ(v[0].y, v[1].y);  // top-right shares the top
  EXPECT_EQ(v[0].x, v[2].x);  // bottom-left shares the left
  EXPECT_EQ(v[3].x, v[1].x);
  EXPECT_EQ(v[3].y, v[2].y);
  EXPECT_EQ(v[4].x, v[2].x);
  EXPECT_EQ(v[4].y, v[2].y);
  EXPECT_EQ(v[5].x, v[1].x);
  EXPECT_EQ(v[5].y, v[1].y);
  EXPECT_EQ(v[1].u, v[3].u);
  EXPECT_EQ(v[2].v, v[3].v);
  return {v[0].x,
          v[0].y,
          v[3].x,
          v[3].y,
          v[0].u * textureWidth,
          v[0].v * textureHeight,
          v[3].u * textureWidth,
          v[3].v * textureHeight};
}

void ExpectQuad(const Quad& actual, const Quad& expected) {
  EXPECT_FLOAT_EQ(actual.left, expected.left);
  EXPECT_FLOAT_EQ(actual.top, expected.top);
  EXPECT_FLOAT_EQ(actual.right, expected.right);
  EXPECT_FLOAT_EQ(actual.bottom, expected.bottom);
  EXPECT_NEAR(actual.texelLeft, expected.texelLeft, 1e-4);
  EXPECT_NEAR(actual.texelTop, expected.texelTop, 1e-4);
  EXPECT_NEAR(actual.texelRight, expected.texelRight, 1e-4);
  EXPECT_NEAR(actual.texelBottom, expected.texelBottom, 1e-4);
}

TEST_F(HardwareDrawing, AGraphBecomesSixTexturedVerticesShiftedByHalfAPixel) {
  Handle cell = MakeCell();
  ChooseBlendMode(BLEND_ALPHA, 200);
  SetModulateColor(10, 20, 30);
  StartRecording();
  ASSERT_EQ(PutGraph(100, 50, cell, 1), 0);
  EXPECT_TRUE(Draws().empty());  // waiting in the batch
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  const headless::Direct3D9Draw& draw = Draws()[0];
  EXPECT_EQ(draw.primitiveType, port::D3DPT_TRIANGLELIST);
  EXPECT_EQ(draw.primitiveCount, 2u);
  EXPECT_EQ(draw.fvf, 0x144u);
  EXPECT_EQ(draw.stride, 28u);
  EXPECT_EQ(draw.textureHandle, TextureOf(cell));
  EXPECT_TRUE(draw.insideScene);
  ExpectQuad(QuadOf(draw, 0, 64, 64), {99.5f, 49.5f, 147.5f, 97.5f, 16, 0, 64, 48});
  for (const headless::Direct3D9Vertex& vertex : draw.vertices) {
    EXPECT_FLOAT_EQ(vertex.z, 0.2f);
    EXPECT_FLOAT_EQ(vertex.rhw, 1.0f);
    EXPECT_EQ(vertex.diffuse, 0xC80A141Eu);  // alpha 200, the modulation colour
  }
}

// The cell is 48 x 48 at texels (16, 0)-(64, 48) of its 64 x 64 texture.
struct ClipCase {
  const char* what;
  int x, y;
  Rect area;
  bool drawn;
  Quad expected;
};

TEST_F(HardwareDrawing, PutGraphClipsEachEdgeAndMovesTheTextureCoordinatesAlong) {
  const ClipCase cases[] = {
      {"inside", 10, 20, {0, 0, 800, 600}, true, {9.5f, 19.5f, 57.5f, 67.5f, 16, 0, 64, 48}},
      {"partly left", -10, 5, {0, 0, 800, 600}, true, {-0.5f, 4.5f, 37.5f, 52.5f, 26, 0, 64, 48}},
      {"partly right", 780, 5, {0, 0, 800, 600}, true, {779.5f, 4.5f, 799.5f, 52.5f, 16, 0, 36, 48}},
      {"partly above", 5, -40, {0, 0, 800, 600}, true, {4.5f, -0.5f, 52.5f, 7.5f, 16, 40, 64, 48}},
      {"partly below", 5, 590, {0, 0, 800, 600}, true, {4.5f, 589.5f, 52.5f, 599.5f, 16, 0, 64, 10}},
      {"two edges of an area", 95, 195, {100, 200, 300, 400}, true,
       {99.5f, 199.5f, 142.5f, 242.5f, 21, 5, 64, 48}},
      {"all four edges", 0, 0, {10, 20, 30, 40}, true, {9.5f, 19.5f, 29.5f, 39.5f, 26, 20, 46, 40}},
      {"wholly left", -48, 5, {0, 0, 800, 600}, false, {}},
      {"wholly right", 800, 5, {0, 0, 800, 600}, false, {}},
      {"wholly above", 5, -60, {0, 0, 800, 600}, false, {}},
      {"wholly below", 5, 600, {0, 0, 800, 600}, false, {}},
      {"wholly outside an area", 0, 0, {48, 48, 100, 100}, false, {}},
  };
  Handle cell = MakeCell();
  for (const ClipCase& c : cases) {
    SCOPED_TRACE(c.what);
    SetDrawArea(c.area.left, c.area.top, c.area.right, c.area.bottom);
    StartRecording();
    ASSERT_EQ(PutGraph(c.x, c.y, cell, 1), 0);
    FlushBatch();
    if (!c.drawn) {
      EXPECT_TRUE(Draws().empty());
      continue;
    }
    ASSERT_EQ(Draws().size(), 1u);
    ASSERT_EQ(Draws()[0].vertices.size(), 6u);
    ExpectQuad(QuadOf(Draws()[0], 0, 64, 64), c.expected);
  }
}

TEST_F(HardwareDrawing, EachPieceOfAGraphIsAQuadOnItsOwnTexture) {
  // 800 columns lie on textures of 512, 256 and 32.
  Handle wide = MakeImageGraph(800, 40);
  ASSERT_EQ(FindGraphRecord(wide)->drawPieceCount, 3);
  SetDrawArea(0, 0, 600, 600);  // cuts the second piece, hides the third
  StartRecording();
  PutGraph(0, 0, wide, 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[0].textureHandle, TextureOf(wide, 0));
  EXPECT_EQ(Draws()[1].textureHandle, TextureOf(wide, 1));
  ExpectQuad(QuadOf(Draws()[0], 0, 512, 64), {-0.5f, -0.5f, 511.5f, 39.5f, 0, 0, 512, 40});
  ExpectQuad(QuadOf(Draws()[1], 0, 256, 64), {511.5f, -0.5f, 599.5f, 39.5f, 0, 0, 88, 40});
}

TEST_F(HardwareDrawing, PutGraphRefusesWhatSoftwareModeRefuses) {
  Handle cell = MakeCell();
  StartRecording();
  EXPECT_EQ(PutGraph(0, 0, cell + 1, 0), -1);
  EXPECT_EQ(PutGraph(0, 0, -1, 0), -1);
  SetDrawArea(5, 5, 5, 100);  // empty
  EXPECT_EQ(PutGraph(0, 0, cell, 0), 0);
  FlushBatch();
  EXPECT_TRUE(Draws().empty());
}

// A box's vertices: untextured, integer corners (no shift), the colour on
// the first vertex of each triangle.
struct BoxRect {
  float left, top, right, bottom;
};

BoxRect BoxOf(const headless::Direct3D9Draw& draw, size_t q, uint32_t diffuse) {
  const headless::Direct3D9Vertex* v = &draw.vertices.at(q * 6);
  EXPECT_EQ(v[0].diffuse, diffuse);
  EXPECT_EQ(v[3].diffuse, diffuse);
  EXPECT_EQ(v[0].y, v[1].y);
  EXPECT_EQ(v[0].x, v[2].x);
  EXPECT_EQ(v[3].x, v[1].x);
  EXPECT_EQ(v[4].x, v[2].x);
  EXPECT_EQ(v[5].y, v[1].y);
  for (int i = 0; i < 6; ++i) {
    EXPECT_FLOAT_EQ(v[i].z, 0.2f);
    EXPECT_FLOAT_EQ(v[i].rhw, 1.0f);
  }
  return {v[0].x, v[0].y, v[3].x, v[3].y};
}

void ExpectBox(const BoxRect& actual, const BoxRect& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST_F(HardwareDrawing, AFilledBoxIsOneUntexturedQuadAtIntegerCorners) {
  ChooseBlendMode(BLEND_ALPHA, 255);
  StartRecording();
  ASSERT_EQ(PaintBox(0, 0, 800, 64, 0x161616, 1), 0);
  // The corners in any order give the same box.
  ASSERT_EQ(PaintBox(300, 90, 200, 70, 0x161616, 1), 0);
  // A box without width draws nothing.
  ASSERT_EQ(PaintBox(50, 10, 50, 80, 0x161616, 1), 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  const headless::Direct3D9Draw& draw = Draws()[0];
  EXPECT_EQ(draw.fvf, 0x44u);
  EXPECT_EQ(draw.stride, 20u);
  EXPECT_EQ(draw.texture, "null");
  ASSERT_EQ(draw.vertices.size(), 12u);
  ExpectBox(BoxOf(draw, 0, 0xFF161616u), {0, 0, 800, 64});
  ExpectBox(BoxOf(draw, 1, 0xFF161616u), {200, 70, 300, 90});
}

TEST_F(HardwareDrawing, AnOutlineIsFourOnePixelStripsEachClippedToTheArea) {
  StartRecording();
  ASSERT_EQ(PaintBox(10, 20, 110, 70, 0x00FF00, 0), 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  ASSERT_EQ(Draws()[0].vertices.size(), 24u);
  const BoxRect strips[] = {{10, 20, 110, 21}, {10, 69, 110, 70}, {10, 20, 11, 70}, {109, 20, 110, 70}};
  for (size_t i = 0; i < 4; ++i) ExpectBox(BoxOf(Draws()[0], i, 0xFF00FF00u), strips[i]);

  // With the area cutting the box's left side off, the left column goes
  // and the rows start at the area's edge.
  SetDrawArea(50, 0, 800, 600);
  StartRecording();
  ASSERT_EQ(PaintBox(10, 20, 110, 70, 0x00FF00, 0), 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  ASSERT_EQ(Draws()[0].vertices.size(), 18u);
  const BoxRect clipped[] = {{50, 20, 110, 21}, {50, 69, 110, 70}, {109, 20, 110, 70}};
  for (size_t i = 0; i < 3; ++i) ExpectBox(BoxOf(Draws()[0], i, 0xFF00FF00u), clipped[i]);
}

struct BoxColorCase {
  const char* what;
  int bits;
  uint32_t value;
  int mode, parameter;
  int red, green, blue;  // modulation
  uint32_t diffuse;
};

TEST_F(HardwareDrawing, TheBoxColourIsSplitWithTheScreensFormatAndModulated) {
  const BoxColorCase cases[] = {
      {"32-bit value", 32, 0x00123456, 0, 0, 255, 255, 255, 0xFF123456u},
      {"32-bit, the fourth byte ignored", 32, 0xAB123456, 0, 0, 255, 255, 255, 0xFF123456u},
      {"modulated, truncated", 32, 0x00FF8001, 0, 0, 128, 255, 0, 0xFF808000u},
      {"alpha from the parameter", 32, 0x00FFFFFF, 1, 100, 255, 255, 255, 0x64FFFFFFu},
      {"mode 0 keeps alpha 255", 32, 0x00FFFFFF, 0, 100, 255, 255, 255, 0xFFFFFFFFu},
      {"16-bit red", 16, 0xF800, 0, 0, 255, 255, 255, 0xFFFF0000u},
      {"16-bit green", 16, 0x07E0, 0, 0, 255, 255, 255, 0xFF00FF00u},
      {"16-bit lowest steps", 16, 0x0841, 0, 0, 255, 255, 255, 0xFF080808u},
      {"16-bit white modulated", 16, 0xFFFF, 2, 30, 0, 128, 255, 0x1E0080FFu},
  };
  for (const BoxColorCase& c : cases) {
    SCOPED_TRACE(c.what);
    ShutdownEngine();
    script_.desktop.Format = c.bits == 16 ? port::D3DFMT_R5G6B5 : port::D3DFMT_X8R8G8B8;
    Script();
    ASSERT_EQ(StartWindowed(), 0);
    ChooseBlendMode(c.mode, c.parameter);
    SetModulateColor(c.red, c.green, c.blue);
    StartRecording();
    PaintBox(1, 2, 3, 4, c.value, 1);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    ExpectBox(BoxOf(Draws()[0], 0, c.diffuse), {1, 2, 3, 4});
  }
}

TEST_F(HardwareDrawing, SetDrawAreaSetsTheViewportAfterDrawingWhatWaits) {
  Handle cell = MakeCell();
  PutGraph(0, 0, cell, 0);
  headless::ClearDirect3D9Calls();
  SetDrawArea(300, 200, 10, 20);  // corners put in order
  std::vector<std::string> names = CallNames();
  auto draw = std::find(names.begin(), names.end(), "IDirect3DDevice9_DrawPrimitiveUP");
  auto viewport = std::find(names.begin(), names.end(), "IDirect3DDevice9_SetViewport");
  EXPECT_LT(draw - names.begin(), viewport - names.begin());
  ASSERT_NE(viewport, names.end());
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetViewport").at(0).arguments,
            "10,20,290,180,0,1");
  // An empty area sets no viewport.
  headless::ClearDirect3D9Calls();
  SetDrawArea(30, 30, 30, 90);
  EXPECT_TRUE(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetViewport").empty());
}

}  // namespace
}  // namespace graphicstest
