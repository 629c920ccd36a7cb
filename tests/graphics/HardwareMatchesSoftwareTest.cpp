// The same scenes drawn in software mode and in hardware mode on the
// Direct3D 9 fake (which rasterises as the fixed-function pipeline does)
// give the same pixels: exactly for copies, colour keying and clipping;
// within a small per-channel difference for modulation and the blends,
// whose arithmetic rounds differently in the two renderers (the fake rounds
// products to the nearest step; the software renderer mostly truncates, and
// subtracts red and green with their lowest bits set aside). The
// tolerances are the largest differences these scenes show, no looser.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/ScreenLock.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/images/PixelImage.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {
namespace {

constexpr int WIDTH = 800, HEIGHT = 600;

// A 40 x 30 picture: position colours with black (keyed) cells.
uint32_t KeyedPattern(int x, int y) {
  return (x / 5 + y / 5) % 3 == 0 ? 0 : PositionColor(x * 6, y * 8);
}

using Frame = std::vector<uint32_t>;

Frame ReadScreen() {
  Frame frame(size_t(WIDTH) * HEIGHT, 0);
  PixelImage view{};
  EXPECT_EQ(LockDrawScreen(Rect{0, 0, WIDTH, HEIGHT}, &view), 0);
  for (int y = 0; y < HEIGHT; ++y)
    for (int x = 0; x < WIDTH; ++x) {
      uint32_t value = 0;
      const auto* row = static_cast<const uint8_t*>(view.pixels) + size_t(y) * size_t(view.pitch);
      std::memcpy(&value, row + size_t(x) * 4, 4);
      frame[size_t(y) * WIDTH + size_t(x)] = value & 0xFFFFFF;
    }
  UnlockDrawScreen();
  return frame;
}

// The largest difference of one channel between the two frames, and
// where it was.
struct Difference {
  int largest = 0;
  int x = -1, y = -1;
};

Difference Compare(const Frame& a, const Frame& b) {
  Difference difference;
  for (size_t i = 0; i < a.size(); ++i)
    for (int shift : {0, 8, 16}) {
      int d = std::abs(int(a[i] >> shift & 0xFF) - int(b[i] >> shift & 0xFF));
      if (d > difference.largest) difference = {d, int(i % WIDTH), int(i / WIDTH)};
    }
  return difference;
}

struct SceneCase {
  const char* what;
  int tolerance;  // per channel; 0: equal
  std::function<void(Handle)> draw;
};

class HardwareMatchesSoftware : public HardwareFixture {
 protected:
  // The scene drawn in hardware mode (hardware 1) or software mode.
  Frame Render(const SceneCase& scene, bool hardware) {
    if (hardware) {
      Script();
    } else {
      headless::ResetDirect3D9Script();
    }
    EXPECT_EQ(StartWindowed(), 0);
    EXPECT_EQ(hardwareMode, hardware ? 1 : 0);
    backgroundColor = {0x30, 0x60, 0x90};
    ClearDrawTarget(nullptr);
    PixelImage image = MakeImage(40, 30, KeyedPattern);
    Handle graph = CreateGraphFromImage(&image, nullptr);
    ReleasePixelImage(&image);
    EXPECT_GE(graph, 0);
    scene.draw(graph);
    Frame frame = ReadScreen();
    ShutdownEngine();
    backgroundColor = {0, 0, 0};
    return frame;
  }

  void Check(const SceneCase& scene) {
    SCOPED_TRACE(scene.what);
    Frame software = Render(scene, false);
    Frame hardware = Render(scene, true);
    Difference difference = Compare(software, hardware);
    EXPECT_LE(difference.largest, scene.tolerance)
        << "at (" << difference.x << ", " << difference.y << "): software 0x" << std::hex
        << software[size_t(difference.y) * WIDTH + size_t(difference.x)] << ", hardware 0x"
        << hardware[size_t(difference.y) * WIDTH + size_t(difference.x)];
    // The scene drew something.
    Frame background(software.size(), 0x306090);
    EXPECT_GT(Compare(background, software).largest, 0);
  }
};

// Every way a graph can meet an edge: the screen's and a draw area's.
void PutAcrossEdges(Handle graph, int transparent) {
  PutGraph(10, 10, graph, transparent);
  PutGraph(-7, 50, graph, transparent);
  PutGraph(770, -11, graph, transparent);
  PutGraph(300, 585, graph, transparent);
  PutGraph(-50, 300, graph, transparent);  // wholly outside
  SetDrawArea(100, 100, 300, 250);
  PutGraph(90, 95, graph, transparent);
  PutGraph(280, 240, graph, transparent);
  PutGraph(150, 150, graph, transparent);
  SetDrawArea(0, 0, WIDTH, HEIGHT);
}

TEST_F(HardwareMatchesSoftware, CopiesKeyingModulationAndClippingAreEqual) {
  const SceneCase scenes[] = {
      {"keyed copy", 0, [](Handle g) { PutAcrossEdges(g, 1); }},
      {"copy without the key", 0, [](Handle g) { PutAcrossEdges(g, 0); }},
      {"mode 1 at 255", 0,
       [](Handle g) {
         ChooseBlendMode(BLEND_ALPHA, 255);
         PutAcrossEdges(g, 1);
       }},
      {"boxes in mode 0", 0,
       [](Handle) {
         PaintBox(0, 0, 800, 64, 0x161616, 1);
         PaintBox(300, 400, 200, 300, 0xFF8000, 1);
         PaintBox(-20, 500, 40, 620, 0x00FF00, 0);
         PaintBox(600, 100, 700, 200, 0xFFFFFF, 0);
       }},
  };
  for (const SceneCase& scene : scenes) Check(scene);
}

TEST_F(HardwareMatchesSoftware, BlendsDifferOnlyByRounding) {
  auto inMode = [](int mode, int parameter) {
    return [mode, parameter](Handle g) {
      ChooseBlendMode(mode, parameter);
      PutAcrossEdges(g, 1);
    };
  };
  const SceneCase scenes[] = {
      {"modulated copy", 1,
       [](Handle g) {
         SetModulateColor(200, 100, 50);
         PutAcrossEdges(g, 1);
       }},
      {"modulated boxes", 1,
       [](Handle) {
         SetModulateColor(128, 255, 0);
         PaintBox(300, 400, 200, 300, 0xFF8000, 1);
         PaintBox(600, 100, 700, 200, 0xFFFFFF, 0);
       }},
      {"mode 1 at 160", 1, inMode(BLEND_ALPHA, 160)},
      {"mode 1 at 160, modulated", 2,
       [](Handle g) {
         SetModulateColor(90, 255, 180);
         ChooseBlendMode(BLEND_ALPHA, 160);
         PutAcrossEdges(g, 1);
       }},
      {"mode 2 at 100", 1, inMode(BLEND_ADD, 100)},
      {"mode 2 at 255", 0, inMode(BLEND_ADD, 255)},
      {"mode 3 at 100", 3, inMode(BLEND_SUB, 100)},
      {"mode 4 unkeyed", 1,
       [](Handle g) {
         ChooseBlendMode(BLEND_MUL, 0);
         PutAcrossEdges(g, 0);
       }},
      {"mode 10 at 100", 1, inMode(10, 100)},
      {"mode 11 at 100", 1, inMode(11, 100)},
      {"boxes in mode 1", 1,
       [](Handle) {
         ChooseBlendMode(BLEND_ALPHA, 100);
         PaintBox(0, 0, 800, 64, 0xFFFFFF, 1);
         PaintBox(-20, 500, 40, 620, 0x00FF00, 0);
         SetModulateColor(128, 255, 0);
         PaintBox(600, 100, 700, 200, 0xFFFFFF, 1);
       }},
  };
  for (const SceneCase& scene : scenes) Check(scene);
}

TEST_F(HardwareMatchesSoftware, SubtractionInThreePassesMatchesTheSoftwareSubtraction) {
  script_.caps.PrimitiveMiscCaps &= ~port::D3DPMISCCAPS_BLENDOP;
  Check({"mode 3 emulated", 3, [](Handle g) {
           ChooseBlendMode(BLEND_SUB, 100);
           PutAcrossEdges(g, 1);
           ChooseBlendMode(BLEND_SUB, 255);
           PaintBox(400, 300, 500, 350, 0x204080, 1);
         }});
}

}  // namespace
}  // namespace graphicstest
