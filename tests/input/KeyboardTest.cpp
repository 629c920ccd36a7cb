// The key state through the system key state (no DirectInput on the
// headless platform), refreshed by the message pump.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/input/Input.h"
#include "engine/input/Pads.h"
#include "engine/input/InputContext.h"
#include "engine/input/KeyNumbers.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "tests/input/DirectInputFixture.h"

namespace {

// The DirectInput fixture's engine, with DirectInput on offer or not as
// each case scripts it.
class Keyboard : public inputtest::DirectInputTest {
 protected:
  void Start() { ASSERT_EQ(DirectInputTest::Start(), 0); }

  int LogCount(const std::string& text) const {
    const std::string log = LogContent();
    int count = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1))
      count += 1;
    return count;
  }
};

TEST_F(Keyboard, KeyNumbersOutsideAByteAreNeverHeld) {
  Start();
  headless::PressVirtualKey('Z', true);
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_Z), 1);
  for (int key : {-1, 256, 0x12C, -255, 1 << 30}) EXPECT_EQ(IsKeyDown(key), 0) << key;
}

TEST_F(Keyboard, ThePumpCapturesTheKeysTheGameReads) {
  Start();
  headless::PressVirtualKey(0x26, true);  // up
  headless::PressVirtualKey(0x0D, true);  // Enter
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_UP), 1);
  EXPECT_EQ(IsKeyDown(DIK_DOWN), 0);
  uint8_t keys[256];
  std::memset(keys, 0x55, sizeof keys);
  EXPECT_EQ(ReadKeyboard(keys), 0);
  EXPECT_EQ(keys[DIK_UP], 1);
  EXPECT_EQ(keys[DIK_RETURN], 1);
  EXPECT_EQ(keys[DIK_NUMPADENTER], 1);
  EXPECT_EQ(keys[DIK_Z], 0);

  // Between two pumps the game reads the state the last pump captured.
  headless::PressVirtualKey(0x26, false);
  headless::AdvanceClockMilliseconds(5);
  EXPECT_EQ(IsKeyDown(DIK_UP), 1);
  PumpMessages();
  EXPECT_EQ(IsKeyDown(DIK_UP), 0);
}

TEST_F(Keyboard, OnlyBitSevenCounts) {
  Start();
  headless::SetVirtualKeyState(0x14, 0x01);  // Caps Lock toggled on, not held
  headless::SetVirtualKeyState(0xC0, 0x7F);  // every bit but the held one
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_CAPITAL), 0);
  EXPECT_EQ(IsKeyDown(DIK_AT), 0);
  EXPECT_EQ(inputContext.deviceKeyState[DIK_CAPITAL], 0x01);
}

TEST_F(Keyboard, TheStateIsRefreshedAtMostOncePerMillisecond) {
  Start();
  Pump();
  int reads = headless::KeyboardStateReads();
  PumpMessages();  // the same millisecond
  PumpMessages();
  EXPECT_EQ(headless::KeyboardStateReads(), reads);
  Pump();
  EXPECT_EQ(headless::KeyboardStateReads(), reads + 1);
}

TEST_F(Keyboard, WithoutDirectInputTheLayerSaysSoOnce) {
  Start();
  EXPECT_EQ(LogCount("DirectInput を使用しません。"), 1);
  EXPECT_EQ(LogCount("入力関連の初期化をしました"), 1);
  EXPECT_EQ(LogCount("パッドの数は 0 個です"), 1);
  EXPECT_EQ(inputContext.padCount, 16);
  // A rebuild terminates and initialises the layer again: DirectInput is
  // not tried a second time.
  TerminateInput();
  EXPECT_EQ(LogCount("入力関連の終了処理... 完了"), 1);
  EXPECT_EQ(InitializeInput(), 0);
  EXPECT_EQ(LogCount("DirectInput を使用しません。"), 1);
  EXPECT_EQ(LogCount("入力関連の初期化をしました"), 2);
}

TEST_F(Keyboard, TerminatingALayerNeverStartedDoesNothing) {
  EXPECT_EQ(inputContext.directInput, nullptr);
  EXPECT_EQ(TerminateInput(), 0);
  EXPECT_EQ(inputContext.directInput, nullptr);
}

TEST_F(Keyboard, RefreshIsRefusedOutsideTheEngineCallLock) {
  Start();
  headless::AdvanceClockMilliseconds(3);
  EXPECT_FALSE(RefreshKeyState());  // the game's thread between pumps holds no lock
}

}  // namespace

namespace {

// Before start-up there is no window to wait for: the query sets the layer
// up (without DirectInput) and reports the key up.
TEST_F(Keyboard, AQueryBeforeStartupInitialisesTheLayer) {
  windowClosing = 0;  // as in a fresh process: an earlier test closed its window
  headless::PressVirtualKey('Z', true);
  EXPECT_EQ(IsKeyDown(DIK_Z), 0);
  EXPECT_NE(inputContext.directInput, nullptr);
  uint8_t keys[256] = {};
  EXPECT_EQ(ReadKeyboard(keys), 0);
  EXPECT_EQ(keys[DIK_Z], 0);  // no pump has captured it
}

}  // namespace

namespace {

TEST_F(Keyboard, TheMousePositionIsRelativeToTheClientAreaInWindowMode) {
  Start();
  headless::WindowView window = headless::InspectWindow(mainWindow);
  headless::Window().cursorPosition = {window.client.left + 30, window.client.top + 40};
  int x = -1, y = -1;
  EXPECT_EQ(ReadMousePosition(&x, &y), 0);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  EXPECT_EQ(ReadMousePosition(nullptr, &y), 0);
}

TEST_F(Keyboard, StoppingAPadOutsideTheCountDoesNothing) {
  Start();
  for (int pad : {0, 17, -1, 0x1000}) EXPECT_EQ(StopPadVibration(pad), 0) << pad;
}

}  // namespace
