// The program's pad and mouse operations: the count, the state of a pad read
// from its DirectInput device or, without DirectInput, from the system's
// joystick calls (ranged and dead-zoned like the device's axes), the
// vibration a program starts, and the mouse position; and their refusal
// before start-up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "tests/input/DirectInputFixture.h"

namespace {

headless::ScriptedPad Pad(const char* name, bool forceFeedback = true) {
  return headless::ScriptedPad{name, name, forceFeedback};
}

port::DIJoyState Joy(int x, int y, uint32_t pov, std::vector<int> held) {
  port::DIJoyState joy{};
  joy.lX = x;
  joy.lY = y;
  joy.lZ = 3;
  joy.lRx = -4;
  joy.lRy = 5;
  joy.lRz = -6;
  joy.rgdwPOV[0] = pov;
  for (int button : held) joy.rgbButtons[button] = 0x80;
  return joy;
}

port::JoyInfoEx Position(uint32_t x, uint32_t y, uint32_t buttons, uint32_t pov) {
  port::JoyInfoEx position{};
  position.dwSize = sizeof position;
  position.dwXpos = x;
  position.dwYpos = y;
  position.dwZpos = position.dwRpos = position.dwUpos = position.dwVpos = 32767;
  position.dwButtons = buttons;
  position.dwPOV = pov;
  return position;
}

std::vector<int> HeldButtons(const PadState& state) {
  std::vector<int> held;
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
    if (state.buttons[i] != 0) held.push_back(i);
  return held;
}

class PadsAndMouse : public inputtest::DirectInputTest {
 protected:
  void StartWithPads(std::vector<headless::ScriptedPad> pads,
                     std::vector<headless::ScriptedFailure> failures = {}) {
    Offer(false, true, std::move(pads), std::move(failures));
    ASSERT_EQ(Start(), 0);
  }

  static bool ConstantPlaying(const char* pad) {
    return headless::InspectDevice(pad).constantPlaying;
  }
  static bool SinePlaying(const char* pad) { return headless::InspectDevice(pad).sinePlaying; }
};

TEST_F(PadsAndMouse, EveryOperationRefusesBeforeStartup) {
  PadState state{};
  state.x = 77;
  int x = 5, y = 6;
  EXPECT_EQ(QueryPadCount(), -1);
  EXPECT_EQ(ReadPad(1, &state), -1);
  EXPECT_EQ(StartPadVibration(1, 10000, -1), -1);
  EXPECT_EQ(StopPadVibration(1), -1);
  EXPECT_EQ(QueryMousePosition(&x, &y), -1);
  EXPECT_EQ(state.x, 77);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 6);
  // Nothing was set up on the way.
  EXPECT_EQ(inputContext.directInput, nullptr);
}

TEST_F(PadsAndMouse, ADevicePadReportsItsStateAsRead) {
  StartWithPads({Pad("A"), Pad("B")});
  EXPECT_EQ(QueryPadCount(), 2);
  headless::SetPadState(2, Joy(-1000, 640, 9000, {0, 5, 31}));

  PadState state{};
  headless::ClearDirectInputCalls();
  ASSERT_EQ(ReadPad(2, &state), 0);
  EXPECT_EQ(AllCalls(), (inputtest::Calls{"pad2.Poll", "pad2.GetDeviceState(80)"}));
  EXPECT_EQ(state.x, -1000);
  EXPECT_EQ(state.y, 640);
  EXPECT_EQ(state.z, 3);
  EXPECT_EQ(state.rx, -4);
  EXPECT_EQ(state.ry, 5);
  EXPECT_EQ(state.rz, -6);
  EXPECT_EQ(state.pov, 9000);
  EXPECT_EQ(HeldButtons(state), (std::vector<int>{0, 5, 31}));

  // A centred hat reads -1 whatever the high word holds.
  headless::SetPadState(1, Joy(0, 0, 0xFFFFFFFFu, {}));
  ASSERT_EQ(ReadPad(1, &state), 0);
  EXPECT_EQ(state.pov, -1);
  EXPECT_EQ(HeldButtons(state), std::vector<int>{});
}

TEST_F(PadsAndMouse, PadsOutsideTheCountAndNullStatesAreRefused) {
  StartWithPads({Pad("A")});
  PadState state{};
  state.x = 123;
  for (int pad : {0, 2, 17, -1}) EXPECT_EQ(ReadPad(pad, &state), -1) << pad;
  EXPECT_EQ(ReadPad(1, nullptr), -1);
  EXPECT_EQ(state.x, 123);
}

// A device taken over by another program is acquired again once; one that
// stays unreadable fails the read and leaves the state alone.
TEST_F(PadsAndMouse, AFailedDeviceReadIsRetriedOnceAfterAcquiring) {
  StartWithPads({Pad("A")});
  headless::SetPadState(1, Joy(250, 0, 0, {}));
  headless::UnacquireAllDevices();
  PadState state{};
  headless::ClearDirectInputCalls();
  ASSERT_EQ(ReadPad(1, &state), 0);
  EXPECT_EQ(state.x, 250);
  EXPECT_EQ(CountCalls("pad1.Acquire"), 1);

  PadsAndMouse::Offer(false, true, {Pad("A")}, {{"GetDeviceState", "pad1", "", -1}});
  state.x = 99;
  EXPECT_EQ(ReadPad(1, &state), -1);
  EXPECT_EQ(state.x, 99);
}

// Without DirectInput the system's joysticks are the pads: each axis is
// taken from its range to -1000 ... 1000, the inner 35% reads 0 and the rest
// is stretched over the range, as the device pads' dead zone does.
TEST_F(PadsAndMouse, WithoutDirectInputTheSystemsJoysticksAreRead) {
  Offer(false, false);
  headless::SetSystemJoysticks(2);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(QueryPadCount(), 2);

  struct Case {
    uint32_t position;
    int expected;
  };
  const Case cases[] = {
      {0, -1000},    {65535, 1000},  {32767, 0},    {32768, 0},
      {44000, 0},    // 343 of 1000 from the centre: inside the dead zone
      {49151, 230},  // 500 from the centre: (500 - 350) x 1000 / 650
      {16383, -230}, {60000, 740},
  };
  for (const Case& c : cases) {
    headless::SetSystemJoystickPosition(1, Position(c.position, 65535 - c.position, 0, 0xFFFF));
    PadState state{};
    ASSERT_EQ(ReadPad(2, &state), 0);
    EXPECT_EQ(state.x, c.expected) << c.position;
    EXPECT_EQ(state.y, -c.expected) << c.position;
    EXPECT_EQ(state.z, 0);
    EXPECT_EQ(state.pov, -1);
  }

  headless::SetSystemJoystickPosition(0, Position(32767, 32767, 0x80000005u, 27000));
  PadState state{};
  ASSERT_EQ(ReadPad(1, &state), 0);
  EXPECT_EQ(HeldButtons(state), (std::vector<int>{0, 2, 31}));
  EXPECT_EQ(state.pov, 27000);

  EXPECT_EQ(ReadPad(3, &state), -1);
  headless::SetSystemJoysticks(1);  // the second one was unplugged
  EXPECT_EQ(QueryPadCount(), 1);
  EXPECT_EQ(ReadPad(2, &state), -1);
}

TEST_F(PadsAndMouse, AVibrationRunsForItsTimeWithTheSineAbove5000) {
  StartWithPads({Pad("A"), Pad("B")});
  ASSERT_EQ(StartPadVibration(1, 8000, 300), 0);
  ASSERT_EQ(StartPadVibration(2, 3000, -1), 0);
  EXPECT_TRUE(ConstantPlaying("pad1"));
  EXPECT_TRUE(SinePlaying("pad1"));
  EXPECT_TRUE(ConstantPlaying("pad2"));
  EXPECT_FALSE(SinePlaying("pad2"));

  headless::AdvanceClockMilliseconds(299);
  PumpMessages();
  EXPECT_TRUE(ConstantPlaying("pad1"));
  Pump();
  EXPECT_FALSE(ConstantPlaying("pad1"));
  EXPECT_FALSE(SinePlaying("pad1"));
  EXPECT_TRUE(ConstantPlaying("pad2"));  // endless

  EXPECT_EQ(StopPadVibration(2), 0);
  EXPECT_FALSE(ConstantPlaying("pad2"));
  ASSERT_EQ(StartPadVibration(2, 20000, -1), 0);
  EXPECT_EQ(inputContext.pads[1].vibrationPower, 10000);
  EXPECT_EQ(StartPadVibration(2, 0, -1), 0);  // no power: stopped
  EXPECT_FALSE(ConstantPlaying("pad2"));
}

TEST_F(PadsAndMouse, PadsThatCannotVibrateAreRefused) {
  StartWithPads({Pad("A", false)});
  EXPECT_EQ(StartPadVibration(1, 10000, -1), -1);
  for (int pad : {0, 2, 0x1001}) EXPECT_EQ(StartPadVibration(pad, 10000, -1), -1) << pad;
  EXPECT_EQ(inputContext.pads[0].vibrationOn, 0);
}

TEST_F(PadsAndMouse, SystemJoysticksCannotVibrate) {
  Offer(false, false);
  headless::SetSystemJoysticks(1);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(StartPadVibration(1, 10000, -1), -1);
  EXPECT_EQ(StopPadVibration(1), 0);
}

TEST_F(PadsAndMouse, TheMousePositionIsTheClientAreasInWindowMode) {
  Offer(false, false);
  ASSERT_EQ(Start(), 0);
  headless::WindowView window = headless::InspectWindow(mainWindow);
  headless::Window().cursorPosition = {window.client.left - 7, window.client.top + 40};
  int x = 0, y = 0;
  EXPECT_EQ(QueryMousePosition(&x, &y), 0);
  EXPECT_EQ(x, -7);
  EXPECT_EQ(y, 40);
  EXPECT_EQ(QueryMousePosition(nullptr, nullptr), 0);
}

}  // namespace
