// The keyboard read from the DirectInput device (Windows XP) in hardware
// mode, in the middle of a frame: what reaches the window while the frame
// is drawn (the front-target timer falling due, an activation, a paint)
// waits for the next PumpMessages. Handled inside the key read, it would
// present the frame as far as it was drawn: after the clear, a black
// picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/input/KeyNumbers.h"
#include "engine/platform/WindowPort.h"
#include "tests/input/DirectInputFixture.h"

namespace {

constexpr int BOX_COLOR = 0x00C08040;  // in the 32-bit screen's format

struct ArrivalCase {
  const char* name;
  int drawTarget;   // WM_PAINT presents only the back target
  void (*arrive)();  // what reaches the window after the frame's clear
};

void FrontTargetTimerFallsDue() { headless::AdvanceClockMilliseconds(40); }
void WindowIsActivated() { headless::RegainFocus(mainWindow); }
void WindowIsPainted() { port::PostMessageA(mainWindow, port::WM_PAINT, 0, 0); }

void PrintTo(const ArrivalCase& c, std::ostream* out) { *out << c.name; }

class KeyReadInFrame : public inputtest::DirectInputTest,
                       public ::testing::WithParamInterface<ArrivalCase> {};

TEST_P(KeyReadInFrame, LeavesTheWindowMessagesToTheNextPump) {
  const ArrivalCase& c = GetParam();
  UseWindowsXp();
  Offer(false, true);
  UseDirect3D9();
  ASSERT_EQ(Start(), 0);
  ASSERT_EQ(hardwareMode, 1);
  ASSERT_EQ(SelectDrawTarget(c.drawTarget), 0);

  // One frame as the game makes it: pump, clear, read the keys, draw,
  // present.
  Pump();
  ASSERT_EQ(ClearDrawTarget(nullptr), 0);
  const int presentsBefore = headless::Direct3D9Calls().presents;
  c.arrive();
  headless::PressDeviceKey(DIK_Z, true);
  uint8_t keys[256] = {};
  EXPECT_EQ(ReadKeyboard(keys), 0);
  EXPECT_EQ(IsKeyDown(DIK_LEFT), 0);
  // The device itself is still read in the frame.
  EXPECT_EQ(keys[DIK_Z], 1);
  PaintBox(100, 100, 200, 200, BOX_COLOR, 1);
  EXPECT_EQ(headless::Direct3D9Calls().presents, presentsBefore)
      << "the frame was shown before it was drawn";
  ASSERT_EQ(PresentFrame(), 0);
  EXPECT_EQ(headless::PresentedPixel(150, 150), uint32_t(BOX_COLOR));

  // The next pump handles what arrived, and shows the finished frame.
  const int presentsAfterFrame = headless::Direct3D9Calls().presents;
  Pump();
  EXPECT_GT(headless::Direct3D9Calls().presents, presentsAfterFrame);
  EXPECT_EQ(headless::PresentedPixel(150, 150), uint32_t(BOX_COLOR));
}

INSTANTIATE_TEST_SUITE_P(
    , KeyReadInFrame,
    ::testing::Values(ArrivalCase{"FrontTargetTimer", TARGET_FRONT, FrontTargetTimerFallsDue},
                      ArrivalCase{"Activation", TARGET_FRONT, WindowIsActivated},
                      ArrivalCase{"Paint", TARGET_BACK, WindowIsPainted}),
    [](const ::testing::TestParamInfo<ArrivalCase>& param) { return std::string(param.param.name); });

}  // namespace
