// The draw state: clamps, defaults after start-up, the vertex colour.
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/records/DrawState.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {
namespace {

using DrawStateCalls = HeadlessFixture;

TEST_F(DrawStateCalls, BlendParameterAndModulationAreClamped) {
  struct Case {
    int mode, parameter, stored;
  } blends[] = {{1, 300, 255}, {1, -5, 0}, {2, 128, 128}, {4, 256, 255}};
  for (const Case& c : blends) {
    EXPECT_EQ(ChooseBlendMode(c.mode, c.parameter), 0);
    EXPECT_EQ(drawState.blendMode, c.mode);
    EXPECT_EQ(drawState.blendParameter, c.stored) << c.parameter;
  }
  EXPECT_EQ(SetModulateColor(300, -1, 128), 0);
  EXPECT_EQ(drawState.modulateRed, 255);
  EXPECT_EQ(drawState.modulateGreen, 0);
  EXPECT_EQ(drawState.modulateBlue, 128);
}

TEST_F(DrawStateCalls, TheVertexColourFollowsModeParameterAndModulation) {
  ChooseBlendMode(1, 64);
  SetModulateColor(10, 20, 30);
  EXPECT_EQ(drawState.vertexColor, 0x400A141Eu);
  ChooseBlendMode(0, 64);  // mode 0 draws opaque whatever the parameter
  EXPECT_EQ(drawState.vertexColor, 0xFF0A141Eu);
}

TEST_F(DrawStateCalls, StartupPutsTheDefaultsBack) {
  ChooseBlendMode(2, 99);
  SetModulateColor(1, 2, 3);
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(drawState.blendMode, BLEND_NONE);
  EXPECT_EQ(drawState.blendParameter, 0);
  EXPECT_TRUE(ModulationIsWhite());
  EXPECT_EQ(drawState.filter, 0);
  EXPECT_EQ(drawState.maxAnisotropy, 1);
  EXPECT_FLOAT_EQ(drawState.depth2D, 0.2f);
  EXPECT_EQ(drawState.area.left, 0);
  EXPECT_EQ(drawState.area.right, 800);
  EXPECT_EQ(drawState.area.bottom, 600);
  EXPECT_FALSE(drawState.area.empty);
}

using DrawArea = StartedEngine;

TEST_F(DrawArea, CornersAreOrderedAndClampedToTheTarget) {
  SetDrawArea(900, 700, -20, 100);
  EXPECT_EQ(drawState.area.left, 0);
  EXPECT_EQ(drawState.area.top, 100);
  EXPECT_EQ(drawState.area.right, 800);
  EXPECT_EQ(drawState.area.bottom, 600);
  EXPECT_FLOAT_EQ(drawState.area.rightF, 800.0f);
  SetDrawArea(50, 50, 50, 80);
  EXPECT_TRUE(drawState.area.empty);
}

TEST_F(DrawArea, AnEmptyAreaDrawsNothing) {
  PaintBox(0, 0, 10, 10, 0x123456, 1);
  SetDrawArea(5, 5, 5, 5);
  EXPECT_EQ(PaintBox(0, 0, 10, 10, 0x654321, 1), 0);
  SetDrawArea(0, 0, 800, 600);
  EXPECT_EQ(ReadPixel(2, 2), 0x123456);
}

}  // namespace
}  // namespace graphicstest
