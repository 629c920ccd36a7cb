// The demo's scripted game played in hardware mode, with its graphics on
// the system's Direct3D 9 (Wine's d3d9.dll here): the frames it keeps must
// equal the software renderer's golden frames within the renderers' frame
// tolerance.
//
// The program runs on the headless platform, so that the clock, the keys,
// the window's messages and its timers behave exactly as when the golden
// frames were made; only Direct3D is the system's, drawing into a real
// stand-in window. Every present is followed by the engine's wait for the
// refresh, which moves the virtual clock on by one period and hands the
// back buffer, read through the engine, to the demo's script.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/core/Engine.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/display/ScreenLock.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "engine/platform/win32/scripted/ScriptedRefresh.h"
#include "game/WinMain.h"
#include "tests/direct3d/RendererTolerance.h"
#include "tools/demo/DemoScript.h"
#include "tools/demo/FramePng.h"

namespace {

// The back buffer as the engine reads it back.
class BackBufferPicture : public PresentedPicture {
 public:
  RgbFrame Capture() const override {
    RgbFrame frame;
    const int width = ScreenWidth(), height = ScreenHeight();
    PixelImage view{};
    if (LockDrawScreen(Rect{0, 0, width, height}, &view) != 0) return frame;
    frame.width = width;
    frame.height = height;
    frame.rgb.resize(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = static_cast<const uint8_t*>(view.pixels) + size_t(view.pitch) * size_t(y);
      for (int x = 0; x < width; ++x) {
        uint32_t value = 0;
        std::memcpy(&value, row + size_t(x) * view.format.bytesPerPixel, view.format.bytesPerPixel);
        int red, green, blue;
        DecodeColor(view.format, value, &red, &green, &blue, nullptr);
        uint8_t* out = &frame.rgb[(size_t(y) * size_t(width) + size_t(x)) * 3];
        out[0] = uint8_t(red);
        out[1] = uint8_t(green);
        out[2] = uint8_t(blue);
      }
    }
    UnlockDrawScreen();
    return frame;
  }
};

int framesInSoftwareMode = 0;

void OnRefresh() {
  if (!hardwareMode) framesInSoftwareMode += 1;
  DemoFramePresented(BackBufferPicture());
}

struct FrameDifference {
  int largest = 0;
  long pixels = 0;
  int x = 0, y = 0;
};

FrameDifference Compare(const RgbFrame& a, const RgbFrame& b) {
  FrameDifference difference;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    int channel = 0;
    for (size_t c = 0; c < 3; ++c)
      channel = std::max(channel, std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c])));
    if (channel == 0) continue;
    difference.pixels += 1;
    if (channel > difference.largest) {
      difference.largest = channel;
      difference.x = int(i / 3 % size_t(a.width));
      difference.y = int(i / 3 / size_t(a.width));
    }
  }
  return difference;
}

TEST(DemoThroughDirect3D, FramesEqualTheGoldenFramesWithinTheTolerance) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display for Wine";
  headless::Window().messageBoxAnswer = port::IDNO;  // windowed
  displayOptions.hardwareAttempt = 1;
  scripted_refresh::SetPeriodMicroseconds(DEMO_REFRESH_MICROSECONDS);
  scripted_refresh::SetHook(OnRefresh);
  StartDemoScript(DEMO_SEED);
  const int result = WinMain(nullptr, nullptr, nullptr, 0);
  scripted_refresh::SetHook(nullptr);
  ASSERT_EQ(result, 0);
  std::string error;
  ASSERT_TRUE(DemoScriptFinished(&error)) << error;
  EXPECT_EQ(framesInSoftwareMode, 0) << "the game did not run in hardware mode";

  for (const DemoShot& shot : DemoShots()) {
    SCOPED_TRACE(shot.name);
    // Left beside the test for a look when it fails.
    WritePng(std::string(VEXLO_FRAME_OUTPUT) + "/direct3d-" + shot.name, shot.frame);
    RgbFrame golden;
    ASSERT_TRUE(ReadPng(std::string(VEXLO_GOLDEN_FRAMES) + "/" + shot.name, &golden));
    ASSERT_EQ(shot.frame.width, golden.width);
    ASSERT_EQ(shot.frame.height, golden.height);
    const FrameDifference difference = Compare(shot.frame, golden);
    std::printf("%s: largest per-channel difference %d, %ld pixels differ\n", shot.name.c_str(),
                difference.largest, difference.pixels);
    EXPECT_LE(difference.largest, renderer_tolerance::FRAME)
        << "at (" << difference.x << ", " << difference.y << ")";
  }
}

}  // namespace
