// The demo's scripted game, played with its graphics on the system's
// Direct3D 9 (Wine's d3d9.dll here) in hardware mode, while the clock and
// the keys stay scripted: the frames it keeps must equal the software
// renderer's golden frames within the renderers' frame tolerance.
//
// The program is built over the win32 window and Direct3D ports and the
// headless clock, keyboard and system ports (so the virtual clock is the
// only clock: the processor reports no time-stamp counter). Each present is
// followed by the engine's wait for the refresh, which moves the virtual
// clock on by one period and hands the back buffer to the demo's script.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "engine/core/Engine.h"
#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/Screen.h"
#include "engine/graphics/ScreenLock.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"
#include "engine/platform/WindowPort.h"
#include "game/WinMain.h"
#include "tests/demo/ScriptedRefresh.h"
#include "tests/direct3d/RendererTolerance.h"
#include "tools/demo/DemoScript.h"
#include "tools/demo/FramePng.h"

namespace {

// The platform's class of dialog boxes, which the start-up question is.
constexpr const char* DIALOG_CLASS = "#32770";
constexpr const char* GAME_TITLE = "ほのみかさ";

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

// Answers the game's start-up question with No (a window), as a player
// would, from a second thread while the box waits.
class QuestionAnswerer {
 public:
  QuestionAnswerer()
      : thread_([this] {
          while (!stop_) {
            port::WindowHandle box = port::FindWindowA(DIALOG_CLASS, GAME_TITLE);
            if (box != nullptr) {
              port::PostMessageA(box, port::WM_COMMAND, port::IDNO, 0);
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
          }
        }) {}
  ~QuestionAnswerer() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

struct FrameDifference {
  int largest = 0;
  long pixels = 0;
  int x = 0, y = 0;
};

FrameDifference Compare(const RgbFrame& a, const RgbFrame& b) {
  FrameDifference difference;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    int channel = 0;
    for (size_t c = 0; c < 3; ++c) channel = std::max(channel, std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c])));
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
  displayOptions.hardwareAttempt = 1;
  scripted_refresh::SetPeriodMicroseconds(DEMO_REFRESH_MICROSECONDS);
  scripted_refresh::SetHook(OnRefresh);
  StartDemoScript(DEMO_SEED);
  int result;
  {
    QuestionAnswerer answerer;
    result = WinMain(nullptr, nullptr, nullptr, 0);
  }
  scripted_refresh::SetHook(nullptr);
  ASSERT_EQ(result, 0);
  std::string error;
  ASSERT_TRUE(DemoScriptFinished(&error)) << error;
  EXPECT_EQ(framesInSoftwareMode, 0) << "the game did not run in hardware mode";

  for (const DemoShot& shot : DemoShots()) {
    SCOPED_TRACE(shot.name);
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
