// The Direct3D states of hardware-mode draws: every blend mode's factors,
// operation and texture stages, the choice between the alpha test and the
// texture alpha, the states set once per device, and the three-pass
// subtraction of a device that cannot subtract. On the Direct3D 9 fake,
// read from the states in force at each recorded draw.
#include "tests/graphics/HardwareDrawingFixture.h"

namespace graphicstest {
namespace {

using namespace port;

constexpr uint32_t ANY = 0xFFFFFFFFu;  // not checked

struct ModeCase {
  int mode;
  uint32_t blendEnable;
  uint32_t source, destination, operation;  // ANY when blending is off
  uint32_t colorOp, colorArg1;
  uint32_t stageOneColorOp;
};

// A texture without alpha, white modulation, a device that subtracts. The
// draw before each case used mode 9, whose factors mode 7 keeps.
const ModeCase MODE_CASES[] = {
    {0, 0, ANY, ANY, ANY, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {1, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {2, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {3, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {4, 1, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {5, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {6, 0, ANY, ANY, ANY, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {7, 1, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {8, 1, D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {9, 1, D3DBLEND_INVDESTCOLOR, D3DBLEND_ZERO, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {10, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT, D3DTOP_DISABLE},
    {11, 1, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DBLENDOP_ADD, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_BLENDCURRENTALPHA},
    {12, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLENDOP_ADD, D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {13, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_ADD, D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTOP_DISABLE},
    {14, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DBLENDOP_REVSUBTRACT, D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTOP_DISABLE},
};

void ExpectState(const headless::Direct3D9Draw& draw, uint32_t state, uint32_t expected) {
  if (expected != ANY) {
    EXPECT_EQ(draw.RenderState(state), expected) << "render state " << state;
  }
}

TEST_F(HardwareDrawing, EveryBlendModeHasItsFactorsOperationAndStages) {
  Handle cell = MakeCell(OPAQUE_SET);
  for (const ModeCase& c : MODE_CASES) {
    SCOPED_TRACE(c.mode);
    ChooseBlendMode(9, 255);
    PutGraph(0, 0, cell, 1);
    ChooseBlendMode(c.mode, 128);
    StartRecording();
    PutGraph(0, 0, cell, 1);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    const headless::Direct3D9Draw& draw = Draws()[0];
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHABLENDENABLE), c.blendEnable);
    ExpectState(draw, D3DRS_SRCBLEND, c.source);
    ExpectState(draw, D3DRS_DESTBLEND, c.destination);
    ExpectState(draw, D3DRS_BLENDOP, c.operation);
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLOROP), c.colorOp);
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLORARG1), c.colorArg1);
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLORARG2), D3DTA_DIFFUSE);
    EXPECT_EQ(draw.StageState(1, D3DTSS_COLOROP), c.stageOneColorOp);
    if (c.stageOneColorOp == D3DTOP_BLENDCURRENTALPHA) {
      // The colour blended toward white by its alpha.
      EXPECT_EQ(draw.StageState(1, D3DTSS_COLORARG1), D3DTA_CURRENT);
      EXPECT_EQ(draw.StageState(1, D3DTSS_COLORARG2), D3DTA_TFACTOR);
      EXPECT_EQ(draw.RenderState(D3DRS_TEXTUREFACTOR), 0xFFFFFFFFu);
    }
    // The vertex alpha is the parameter in every mode but 0.
    EXPECT_EQ(draw.vertices.at(0).diffuse >> 24, c.mode == 0 ? 255u : 128u);
  }
}

// A state the device refused is not the device's: the next draw that
// wants it sends it again, rather than drawing on with the state before.
TEST_F(HardwareDrawing, AStateTheDeviceRefusedIsSentAgainByTheNextDraw) {
  Handle cell = MakeCell(OPAQUE_SET);
  for (const char* call : {"IDirect3DDevice9_SetRenderState", "IDirect3DDevice9_SetTextureStageState",
                           "IDirect3DDevice9_SetTexture"}) {
    SCOPED_TRACE(call);
    // Mode 0 and no texture bound (a box) before.
    ChooseBlendMode(0, 255);
    PutGraph(0, 0, cell, 1);
    PaintBox(0, 0, 8, 8, 0xFFFFFF, 1);
    FlushBatch();
    Fail(call);
    ChooseBlendMode(10, 128);
    PutGraph(0, 0, cell, 1);
    FlushBatch();
    script_.failures.clear();
    Script();
    StartRecording();
    PutGraph(0, 0, cell, 1);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    const headless::Direct3D9Draw& draw = Draws()[0];
    EXPECT_EQ(draw.RenderState(D3DRS_DESTBLEND), uint32_t(D3DBLEND_INVSRCALPHA));
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLORARG1), uint32_t(D3DTA_TEXTURE | D3DTA_COMPLEMENT));
    EXPECT_EQ(draw.textureHandle, TextureOf(cell));
  }
}

struct TransparencyCase {
  const char* what;
  SetKind kind;
  int transparent;
  int mode;
  uint32_t alphaTest;
  uint32_t blendEnable;
  uint32_t source, destination;  // ANY when blending is off
  uint32_t alphaOp;              // stage 0
};

TEST_F(HardwareDrawing, TheTextureAlphaMakesTransparencyByAlphaTestOrByBlending) {
  const TransparencyCase cases[] = {
      {"no alpha in the texture", OPAQUE_SET, 1, 0, 0, 0, ANY, ANY, D3DTOP_SELECTARG2},
      {"transparency not asked", ALPHA_TEST_SET, 0, 0, 0, 0, ANY, ANY, D3DTOP_SELECTARG2},
      {"alpha test, mode 0", ALPHA_TEST_SET, 1, 0, 1, 0, ANY, ANY, D3DTOP_SELECTARG1},
      {"alpha test, mode 8", ALPHA_TEST_SET, 1, 8, 1, 1, D3DBLEND_ZERO, D3DBLEND_ONE, D3DTOP_MODULATE},
      {"alpha test, mode 4: its factors never read the alpha", ALPHA_TEST_SET, 1, 4, 1, 1,
       D3DBLEND_ZERO, D3DBLEND_SRCCOLOR, D3DTOP_SELECTARG1},
      {"alpha-test texture blended in mode 1", ALPHA_TEST_SET, 1, 1, 0, 1, D3DBLEND_SRCALPHA,
       D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE},
      {"alpha-test texture blended in mode 6", ALPHA_TEST_SET, 1, 6, 0, 1, D3DBLEND_SRCALPHA,
       D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE},
      {"alpha channel, mode 0", ALPHA_SET, 1, 0, 0, 1, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
       D3DTOP_SELECTARG1},
      {"alpha channel, mode 8", ALPHA_SET, 1, 8, 0, 1, D3DBLEND_ZERO, D3DBLEND_ONE, D3DTOP_MODULATE},
      {"alpha channel, mode 2", ALPHA_SET, 1, 2, 0, 1, D3DBLEND_SRCALPHA, D3DBLEND_ONE, D3DTOP_MODULATE},
      {"alpha channel not asked, mode 1", ALPHA_SET, 0, 1, 0, 1, D3DBLEND_SRCALPHA,
       D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG2},
  };
  for (const TransparencyCase& c : cases) {
    SCOPED_TRACE(c.what);
    Handle cell = MakeCell(c.kind);
    ChooseBlendMode(c.mode, 200);
    StartRecording();
    PutGraph(0, 0, cell, c.transparent);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    const headless::Direct3D9Draw& draw = Draws()[0];
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHATESTENABLE), c.alphaTest);
    if (c.alphaTest) {
      EXPECT_EQ(draw.RenderState(D3DRS_ALPHAREF), 16u);
      EXPECT_EQ(draw.RenderState(D3DRS_ALPHAFUNC), D3DCMP_GREATER);
    }
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHABLENDENABLE), c.blendEnable);
    ExpectState(draw, D3DRS_SRCBLEND, c.source);
    ExpectState(draw, D3DRS_DESTBLEND, c.destination);
    if (c.blendEnable) ExpectState(draw, D3DRS_BLENDOP, D3DBLENDOP_ADD);
    EXPECT_EQ(draw.StageState(0, D3DTSS_ALPHAOP), c.alphaOp);
    EXPECT_EQ(draw.StageState(0, D3DTSS_ALPHAARG1), D3DTA_TEXTURE);
    EXPECT_EQ(draw.StageState(0, D3DTSS_ALPHAARG2), D3DTA_DIFFUSE);
    ReleaseGraph(cell, 0);
  }
}

TEST_F(HardwareDrawing, AModulatedGraphMultipliesTheTextureByTheDiffuseColour) {
  Handle cell = MakeCell();
  SetModulateColor(255, 255, 254);
  StartRecording();
  PutGraph(0, 0, cell, 1);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].StageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
  EXPECT_EQ(Draws()[0].vertices[0].diffuse, 0xFFFFFFFEu);
}

TEST_F(HardwareDrawing, BoxesTakeColourAndAlphaFromTheDiffuseColourWithoutTexture) {
  Handle cell = MakeCell();
  PutGraph(0, 0, cell, 1);  // leaves a texture bound
  struct BoxCase {
    int mode;
    uint32_t colorArg1;
    uint32_t stageOneColorOp;
  } const cases[] = {
      {1, D3DTA_DIFFUSE, D3DTOP_DISABLE},
      {10, D3DTA_DIFFUSE | D3DTA_COMPLEMENT, D3DTOP_DISABLE},
      {11, D3DTA_DIFFUSE, D3DTOP_BLENDCURRENTALPHA},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.mode);
    ChooseBlendMode(c.mode, 90);
    StartRecording();
    PaintBox(0, 0, 8, 8, 0xFFFFFF, 1);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    const headless::Direct3D9Draw& draw = Draws()[0];
    EXPECT_EQ(draw.texture, "null");
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHATESTENABLE), 0u);
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLOROP), D3DTOP_SELECTARG1);
    EXPECT_EQ(draw.StageState(0, D3DTSS_COLORARG1), c.colorArg1);
    EXPECT_EQ(draw.StageState(0, D3DTSS_ALPHAOP), D3DTOP_SELECTARG1);
    EXPECT_EQ(draw.StageState(0, D3DTSS_ALPHAARG1), D3DTA_DIFFUSE);
    EXPECT_EQ(draw.StageState(1, D3DTSS_COLOROP), c.stageOneColorOp);
  }
}

TEST_F(HardwareDrawing, EveryDrawIsFlatShadedWithoutDepthInTheChosenFilter) {
  // Set once when the device is made.
  const headless::Direct3D9Record& record = headless::Direct3D9Calls();
  EXPECT_EQ(record.renderStates.at(D3DRS_CULLMODE), D3DCULL_NONE);
  EXPECT_EQ(record.renderStates.at(D3DRS_DITHERENABLE), 0u);
  EXPECT_EQ(record.renderStates.at(D3DRS_FOGENABLE), 0u);
  EXPECT_EQ(record.renderStates.at(D3DRS_LIGHTING), 0u);
  EXPECT_EQ(record.renderStates.at(D3DRS_SPECULARENABLE), 0u);

  Handle cell = MakeCell();
  struct FilterCase {
    int filter;
    uint32_t textureFilter;
  } const filters[] = {{0, D3DTEXF_POINT}, {1, D3DTEXF_LINEAR}, {2, D3DTEXF_ANISOTROPIC}};
  for (const FilterCase& c : filters) {
    SCOPED_TRACE(c.filter);
    drawState.filter = c.filter;
    drawState.maxAnisotropy = 4;
    StartRecording();
    PutGraph(0, 0, cell, 1);
    FlushBatch();
    ASSERT_EQ(Draws().size(), 1u);
    const headless::Direct3D9Draw& draw = Draws()[0];
    EXPECT_EQ(draw.RenderState(D3DRS_ZENABLE), 0u);
    EXPECT_EQ(draw.RenderState(D3DRS_SHADEMODE), D3DSHADE_FLAT);
    EXPECT_EQ(draw.RenderState(D3DRS_FILLMODE), D3DFILL_SOLID);
    EXPECT_EQ(draw.SamplerState(0, D3DSAMP_MINFILTER), c.textureFilter);
    EXPECT_EQ(draw.SamplerState(0, D3DSAMP_MAGFILTER), c.textureFilter);
    if (c.filter == 2) {
      EXPECT_EQ(draw.SamplerState(0, D3DSAMP_MAXANISOTROPY), 4u);
    }
    EXPECT_EQ(draw.SamplerState(0, D3DSAMP_ADDRESSU), D3DTADDRESS_CLAMP);
    EXPECT_EQ(draw.SamplerState(0, D3DSAMP_ADDRESSV), D3DTADDRESS_CLAMP);
    EXPECT_EQ(draw.StageState(0, D3DTSS_TEXCOORDINDEX), 0u);
  }
}

class NoSubtraction : public HardwareDrawing {
 protected:
  void SetUp() override {
    HardwareFixture::SetUp();
    script_.caps.PrimitiveMiscCaps &= ~D3DPMISCCAPS_BLENDOP;
    Script();
    ASSERT_EQ(StartWindowed(), 0);
    ASSERT_EQ(displayDevice.subtractiveBlend, 0);
  }

  // A box draw of the three-pass subtraction inverting the rectangle.
  static void ExpectInvertingBox(const headless::Direct3D9Draw& draw, float left, float top,
                                 float right, float bottom) {
    EXPECT_EQ(draw.fvf, 0x44u);
    EXPECT_EQ(draw.texture, "null");
    EXPECT_EQ(draw.RenderState(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(draw.RenderState(D3DRS_SRCBLEND), D3DBLEND_INVDESTCOLOR);
    EXPECT_EQ(draw.RenderState(D3DRS_DESTBLEND), D3DBLEND_ZERO);
    EXPECT_EQ(draw.RenderState(D3DRS_BLENDOP), D3DBLENDOP_ADD);
    ASSERT_EQ(draw.vertices.size(), 6u);
    EXPECT_EQ(draw.vertices[0].diffuse, 0xFFFFFFFFu);  // white, parameter 255
    EXPECT_EQ(draw.vertices[0].x, left);
    EXPECT_EQ(draw.vertices[0].y, top);
    EXPECT_EQ(draw.vertices[3].x, right);
    EXPECT_EQ(draw.vertices[3].y, bottom);
  }

  static void ExpectAdded(const headless::Direct3D9Draw& draw) {
    EXPECT_EQ(draw.RenderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
    EXPECT_EQ(draw.RenderState(D3DRS_DESTBLEND), D3DBLEND_ONE);
    EXPECT_EQ(draw.RenderState(D3DRS_BLENDOP), D3DBLENDOP_ADD);
  }

  static void ExpectCallersStateBack() {
    EXPECT_EQ(drawState.blendMode, BLEND_SUB);
    EXPECT_EQ(drawState.blendParameter, 100);
    EXPECT_EQ(drawState.modulateRed, 10);
    EXPECT_EQ(drawState.modulateGreen, 20);
    EXPECT_EQ(drawState.modulateBlue, 30);
    EXPECT_EQ(drawState.vertexColor, 0x640A141Eu);
  }
};

TEST_F(NoSubtraction, AGraphIsSubtractedByInvertingAddingAndInvertingAgain) {
  Handle cell = MakeCell();
  ChooseBlendMode(BLEND_SUB, 100);
  SetModulateColor(10, 20, 30);
  StartRecording();
  ASSERT_EQ(PutGraph(-10, 5, cell, 1), 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 3u);
  ExpectInvertingBox(Draws()[0], 0, 5, 38, 53);  // the graph's rectangle, clipped
  const headless::Direct3D9Draw& added = Draws()[1];
  EXPECT_EQ(added.textureHandle, TextureOf(cell));
  ExpectAdded(added);
  EXPECT_EQ(added.vertices.at(0).diffuse, 0x640A141Eu);  // the caller's parameter and colour
  ExpectInvertingBox(Draws()[2], 0, 5, 38, 53);
  ExpectCallersStateBack();
}

TEST_F(NoSubtraction, ABoxIsSubtractedTheSameWay) {
  ChooseBlendMode(BLEND_SUB, 100);
  SetModulateColor(10, 20, 30);
  StartRecording();
  ASSERT_EQ(PaintBox(4, 6, 20, 30, 0xFFFFFF, 1), 0);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 3u);
  ExpectInvertingBox(Draws()[0], 4, 6, 20, 30);
  ExpectAdded(Draws()[1]);
  EXPECT_EQ(Draws()[1].vertices.at(0).diffuse, 0x640A141Eu);
  ExpectInvertingBox(Draws()[2], 4, 6, 20, 30);
  ExpectCallersStateBack();
}

TEST_F(HardwareDrawing, ADeviceThatSubtractsDrawsOnceWithReverseSubtraction) {
  Handle cell = MakeCell();
  ChooseBlendMode(BLEND_SUB, 100);
  StartRecording();
  PutGraph(0, 0, cell, 1);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].RenderState(D3DRS_BLENDOP), D3DBLENDOP_REVSUBTRACT);
}

}  // namespace
}  // namespace graphicstest
