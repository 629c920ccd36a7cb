// When the vertex batch goes to the device (a texture change, a state
// change, a full batch, presenting, reading back, changing the target), and
// the state cache that keeps repeated states from the device but sends
// every state again to a rebuilt one. On the Direct3D 9 fake.
#include <algorithm>
#include <set>

#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/WindowHooks.h"
#include "tests/graphics/HardwareDrawingFixture.h"

namespace graphicstest {
namespace {

std::vector<size_t> VertexCounts() {
  std::vector<size_t> counts;
  for (const headless::Direct3D9Draw& draw : headless::Direct3D9Calls().draws)
    counts.push_back(draw.vertices.size());
  return counts;
}

std::vector<port::Direct3DTexture9Handle> Textures() {
  std::vector<port::Direct3DTexture9Handle> textures;
  for (const headless::Direct3D9Draw& draw : headless::Direct3D9Calls().draws)
    textures.push_back(draw.textureHandle);
  return textures;
}

using TextureList = std::vector<port::Direct3DTexture9Handle>;

TEST_F(HardwareDrawing, QuadsOfOneTextureAndOneStateGoInOneDraw) {
  Handle cells[2] = {MakeCell(), MakeCell()};
  StartRecording();
  for (int i = 0; i < 50; ++i) PutGraph(i * 10, 0, cells[0], 1);
  // The modulation colour changes only the vertices while it stays
  // other than white.
  SetModulateColor(200, 0, 0);
  PutGraph(0, 100, cells[0], 1);
  SetModulateColor(0, 200, 0);
  PutGraph(0, 100, cells[0], 1);
  FlushBatch();
  // A texture change, and back.
  PutGraph(0, 0, cells[1], 1);
  PutGraph(0, 0, cells[0], 1);
  FlushBatch();
  EXPECT_EQ(VertexCounts(), (std::vector<size_t>{300, 12, 6, 6}));
  port::Direct3DTexture9Handle first = TextureOf(cells[0]), second = TextureOf(cells[1]);
  EXPECT_EQ(Textures(), (TextureList{first, first, second, first}));
}

struct StateChangeCase {
  const char* what;
  void (*between)();
};

TEST_F(HardwareDrawing, AStateChangeDrawsTheQuadsMadeUnderTheOldState) {
  const StateChangeCase cases[] = {
      {"blend mode", [] { ChooseBlendMode(BLEND_ADD, 255); }},
      {"blend parameter", [] { ChooseBlendMode(BLEND_NONE, 0); }},
      {"modulation from white", [] { SetModulateColor(1, 2, 3); }},
      {"filter", [] { drawState.filter = 1; }},
  };
  Handle cell = MakeCell();
  for (const StateChangeCase& c : cases) {
    SCOPED_TRACE(c.what);
    ChooseBlendMode(BLEND_ALPHA, 255);
    SetModulateColor(255, 255, 255);
    drawState.filter = 0;
    PutGraph(0, 0, cell, 1);
    StartRecording();
    PutGraph(0, 0, cell, 1);
    c.between();
    PutGraph(0, 0, cell, 1);
    FlushBatch();
    EXPECT_EQ(VertexCounts(), (std::vector<size_t>{6, 6}));
  }
}

TEST_F(HardwareDrawing, BoxesAndGraphsTakeTurnsInTheirOwnDraws) {
  Handle cell = MakeCell();
  StartRecording();
  PaintBox(0, 0, 10, 10, 0xFFFFFF, 1);
  PaintBox(0, 0, 10, 10, 0xFFFFFF, 0);
  PutGraph(0, 0, cell, 1);
  PaintBox(0, 0, 10, 10, 0xFFFFFF, 1);
  FlushBatch();
  EXPECT_EQ(VertexCounts(), (std::vector<size_t>{30, 6, 6}));
  EXPECT_EQ(Textures(), (TextureList{nullptr, TextureOf(cell), nullptr}));
}

TEST_F(HardwareDrawing, AFullBatchIsDrawnBeforeItWouldReachItsCapacity) {
  // 2340 textured or 3225 untextured vertices: the batch is drawn when six
  // more would reach that.
  Handle cell = MakeCell();
  StartRecording();
  for (int i = 0; i < 400; ++i) PutGraph(0, 0, cell, 1);
  FlushBatch();
  EXPECT_EQ(VertexCounts(), (std::vector<size_t>{2334, 66}));
  StartRecording();
  for (int i = 0; i < 600; ++i) PaintBox(0, 0, 5, 5, 0x123456, 1);
  FlushBatch();
  EXPECT_EQ(VertexCounts(), (std::vector<size_t>{3222, 378}));
  for (const headless::Direct3D9Draw& draw : Draws())  // every box written
    for (size_t first = 0; first < draw.vertices.size(); first += 3)
      EXPECT_EQ(draw.vertices[first].diffuse, 0xFF123456u);
}

// Index of the first call of a name, or the call count when there is none.
size_t FirstCall(const std::string& name) {
  const std::vector<headless::Direct3D9Call>& calls = headless::Direct3D9Calls().calls;
  size_t i = 0;
  while (i < calls.size() && calls[i].name != name) ++i;
  return i;
}

struct FlushCase {
  const char* what;
  void (*action)();
  const char* callAfterTheDraw;
};

TEST_F(HardwareDrawing, PresentingReadingBackAndChangingTheTargetDrawWhatWaitsFirst) {
  const FlushCase cases[] = {
      {"PresentFrame", [] { PresentFrame(); }, "IDirect3DSwapChain9_Present"},
      {"ReadPixel", [] { ReadPixel(1, 1); }, "IDirect3DSurface9_LockRect"},
      {"ClearDrawTarget", [] { ClearDrawTarget(nullptr); }, "IDirect3DDevice9_Clear"},
      {"SelectDrawTarget", [] { SelectDrawTarget(TARGET_BACK); }, "IDirect3DDevice9_SetRenderTarget"},
      {"activation",
       [] {
         MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
         MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
       },
       "IDirect3DDevice9_Present"},
  };
  Handle cell = MakeCell();
  displayDevice.useBackBufferLock = 1;
  for (const FlushCase& c : cases) {
    SCOPED_TRACE(c.what);
    StartRecording();
    PutGraph(0, 0, cell, 1);
    c.action();
    ASSERT_EQ(Draws().size(), 1u);
    size_t draw = FirstCall("IDirect3DDevice9_DrawPrimitiveUP");
    EXPECT_LT(draw, FirstCall("IDirect3DDevice9_EndScene"));
    EXPECT_LT(draw, FirstCall(c.callAfterTheDraw));
    EXPECT_LT(FirstCall(c.callAfterTheDraw), headless::Direct3D9Calls().calls.size());
    // Nothing is left to draw a second time.
    FlushBatch();
    EXPECT_EQ(Draws().size(), 1u);
  }
  StartRecording();
  PresentFrame();
  EXPECT_TRUE(Draws().empty());
}

TEST_F(HardwareDrawing, OneSceneHoldsEveryDrawOfAFrame) {
  Handle cell = MakeCell();
  PresentFrame();
  StartRecording();
  PutGraph(0, 0, cell, 1);
  ChooseBlendMode(BLEND_ADD, 10);
  PutGraph(0, 0, cell, 1);
  PaintBox(0, 0, 4, 4, 0, 1);
  PresentFrame();
  EXPECT_EQ(Draws().size(), 3u);
  for (const headless::Direct3D9Draw& draw : Draws()) EXPECT_TRUE(draw.insideScene);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_BeginScene").size(), 1u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_EndScene").size(), 1u);
}

TEST_F(HardwareDrawing, RepeatedStatesAreNotSentAgain) {
  Handle cell = MakeCell();
  ChooseBlendMode(BLEND_ALPHA, 80);
  PutGraph(0, 0, cell, 1);
  StartRecording();
  PutGraph(10, 0, cell, 1);
  PaintBox(0, 0, 4, 4, 0, 1);
  PutGraph(20, 0, cell, 1);
  StartRecording();
  // A mode set and put back between two draws sends nothing.
  PutGraph(30, 0, cell, 1);
  ChooseBlendMode(BLEND_ADD, 80);
  ChooseBlendMode(BLEND_ALPHA, 80);
  PutGraph(40, 0, cell, 1);
  EXPECT_EQ(StateCalls(), 0);
  FlushBatch();
  EXPECT_EQ(VertexCounts(), (std::vector<size_t>{12}));

  // A change sends only what differs, each once.
  StartRecording();
  ChooseBlendMode(BLEND_ADD, 80);
  PutGraph(50, 0, cell, 1);
  FlushBatch();
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetRenderState").size(), 1u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetRenderState").at(0).arguments,
            std::to_string(port::D3DRS_DESTBLEND) + "," + std::to_string(port::D3DBLEND_ONE));
}

// "state,value" of every call of a setter since the calls were cleared.
std::set<std::string> SentValues(const std::string& setter) {
  std::set<std::string> sent;
  for (const headless::Direct3D9Call& call : headless::Direct3D9CallsNamed(setter))
    sent.insert(call.arguments);
  return sent;
}

std::string Pair(uint32_t key, uint32_t value) {
  return std::to_string(key) + "," + std::to_string(value);
}

TEST_F(HardwareDrawing, ARebuiltDeviceGetsEveryCachedStateAgain) {
  Handle cell = MakeCell();
  drawState.filter = 2;
  drawState.maxAnisotropy = 8;
  ChooseBlendMode(11, 70);
  PutGraph(0, 0, cell, 1);
  PaintBox(0, 0, 4, 4, 0, 1);
  ChooseBlendMode(BLEND_ALPHA, 70);
  PutGraph(0, 0, cell, 1);
  FlushBatch();
  // The states in force at the last draw, after every earlier change.
  const headless::Direct3D9Draw before = Draws().back();
  ReleaseGraph(cell, 0);

  headless::ClearDirect3D9Calls();
  ASSERT_EQ(RebuildDisplay(), 0);
  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, 2);
  const std::set<std::string> render = SentValues("IDirect3DDevice9_SetRenderState");
  const std::set<std::string> stage = SentValues("IDirect3DDevice9_SetTextureStageState");
  const std::set<std::string> sampler = SentValues("IDirect3DDevice9_SetSamplerState");
  for (const auto& [state, value] : before.renderStates)
    if (state != port::D3DRS_ZENABLE) {  // the new device's own set-up sets it
      EXPECT_EQ(render.count(Pair(state, value)), 1u) << "render state " << state;
    }
  for (const auto& [key, value] : before.stageStates)
    EXPECT_EQ(stage.count(std::to_string(key >> 16) + "," + Pair(key & 0xFFFF, value)), 1u)
        << "stage " << (key >> 16) << " state " << (key & 0xFFFF);
  for (const auto& [key, value] : before.samplerStates)
    EXPECT_EQ(sampler.count(std::to_string(key >> 16) + "," + Pair(key & 0xFFFF, value)), 1u)
        << "sampler state " << (key & 0xFFFF);
  EXPECT_EQ(SentValues("IDirect3DDevice9_SetFVF").count("0x144"), 1u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetVertexShaderNone").size(), 1u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetPixelShaderNone").size(), 1u);

  // The textures of the old device are forgotten: the next graph binds its
  // own even if it were made at the old one's address.
  Handle again = MakeCell();
  StartRecording();
  PutGraph(0, 0, again, 1);
  FlushBatch();
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_SetTexture").size(), 1u);
}

TEST_F(HardwareDrawing, VerticesWaitingWhenTheDeviceGoesAreDropped) {
  Handle cell = MakeCell();
  PutGraph(0, 0, cell, 1);
  ReleaseGraph(cell, 0);
  headless::ClearDirect3D9Calls();
  ASSERT_EQ(RebuildDisplay(), 0);
  FlushBatch();
  EXPECT_TRUE(Draws().empty());
}

}  // namespace
}  // namespace graphicstest
