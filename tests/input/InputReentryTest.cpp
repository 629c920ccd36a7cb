// The input layer's own message pumps can rebuild the display: an
// activation of the full-screen window handled there makes the rebuild
// terminate and initialise the input layer under the code that ran the
// pump, during the layer's set-up or during a read of the keyboard device.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>

#include "engine/core/EngineCallLock.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/input/KeyNumbers.h"
#include "tests/input/DirectInputFixture.h"

namespace {

// FatalError ends the process through ExitProcess: here it throws, so that
// a set-up that goes on with a released object fails the test alone.
void ThrowOnExit(uint32_t exitCode) {
  throw std::runtime_error("ExitProcess(" + std::to_string(int32_t(exitCode)) + ")");
}

class InputReentry : public inputtest::DirectInputTest {
 protected:
  void SetUp() override {
    DirectInputTest::SetUp();
    UseDirect3D9();
    headless::SetExitHandler(ThrowOnExit);
  }

  void TearDown() override {
    deviceRestoredCallback = nullptr;
    DirectInputTest::TearDown();
  }

  // Full screen: every activation rebuilds the display.
  static int StartFullScreen() {
    ChangeWindowMode(0);
    SelectScreenMode(800, 600, 32, 60);
    return StartupEngine();
  }
};

void TerminateInputOnRestore() { TerminateInput(); }

struct SetUpCase {
  const char* name;
  DeviceRestoredCallback onRestore;  // the program's own step after the rebuild
  bool initialised;                  // the layer after the set-up
};

void PrintTo(const SetUpCase& c, std::ostream* out) { *out << c.name; }

class SetUpPumpRebuild : public InputReentry, public ::testing::WithParamInterface<SetUpCase> {};

TEST_P(SetUpPumpRebuild, LetsTheSetUpFinishBeforeTheLayerIsTerminated) {
  const SetUpCase& c = GetParam();
  UseWindowsXp();
  Offer(false, true);
  ASSERT_EQ(StartFullScreen(), 0);
  ASSERT_EQ(hardwareMode, 1);
  const int devices = headless::Direct3D9Calls().devicesCreated;
  deviceRestoredCallback = c.onRestore;

  TerminateInput();
  headless::ClearDirectInputCalls();
  // Handled by the message pump that the set-up runs before the devices.
  headless::RegainFocus(mainWindow);
  EXPECT_EQ(InitializeInput(), 0);

  EXPECT_EQ(headless::Direct3D9Calls().devicesCreated, devices + 1) << "no rebuild in the set-up";
  EXPECT_EQ(inputContext.initialising, 0);
  // One object was made and set up; none was used after its release.
  EXPECT_EQ(CountCalls("CoCreateInstance(CLSID_DirectInput8"), 1);
  EXPECT_EQ(CountCalls("IDirectInput8.CreateDevice"), 2);
  if (c.initialised) {
    EXPECT_TRUE(InputHasDirectInput());
    EXPECT_EQ(CountCalls("IDirectInput8.Release"), 0);
    EXPECT_EQ(headless::DirectInputCalls().liveObjects, 3);  // the object, mouse, keyboard
    EXPECT_TRUE(headless::InspectDevice("keyboard").acquired);
    headless::PressDeviceKey(DIK_Z, true);
    Pump();
    EXPECT_EQ(IsKeyDown(DIK_Z), 1);
  } else {
    // The termination asked for during the set-up followed it.
    EXPECT_EQ(inputContext.directInput, nullptr);
    EXPECT_EQ(headless::DirectInputCalls().liveObjects, 0);
    EXPECT_EQ(headless::DirectInputCalls().liveEvents, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    , SetUpPumpRebuild,
    ::testing::Values(SetUpCase{"TerminatedAndInitialisedAgain", nullptr, true},
                      SetUpCase{"TerminatedAfterwards", TerminateInputOnRestore, false}),
    [](const ::testing::TestParamInfo<SetUpCase>& param) { return std::string(param.param.name); });

// Inside PumpMessages the device read runs the pump again; a rebuild there
// that finds DirectInput gone leaves the layer without a keyboard device,
// and the read in progress must not reach for the released one.
TEST_F(InputReentry, AKeyboardReleasedInTheReadsPumpIsNotRead) {
  UseWindowsXp();
  Offer(false, true);
  ASSERT_EQ(StartFullScreen(), 0);
  Offer(false, false);
  headless::RegainFocus(mainWindow);
  headless::AdvanceClockMilliseconds(1);
  headless::ClearDirectInputCalls();

  EnterEngineCall();
  EXPECT_FALSE(RefreshKeyState());
  LeaveEngineCall();

  EXPECT_EQ(inputContext.noDirectInput, 1);
  EXPECT_EQ(inputContext.keyboardDevice, nullptr);
  EXPECT_EQ(CountCalls("keyboard.GetDeviceState"), 0);
  // From now on the keys come from the system key state.
  headless::PressVirtualKey('Z', true);
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_Z), 1);
}

}  // namespace
