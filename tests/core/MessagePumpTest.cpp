// The message pump over the headless platform: the five-message limit, the
// end of the program, and the hold while the main window is inactive.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "engine/core/MessagePump.h"
#include "tests/core/EngineFixture.h"

namespace {

using namespace std::chrono_literals;
using enginetest::EngineFixture;

class PumpTest : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    SettingsOfTheGame(1);
    ASSERT_EQ(StartupEngine(), 0);
    // Start-up leaves a few messages of its own (cursor updates) behind.
    for (int i = 0; i < 10 && headless::PendingMessageCount(mainWindow) > 0; ++i) PumpMessages();
    ASSERT_EQ(headless::PendingMessageCount(mainWindow), 0);
  }

  static void Queue(int count) {
    for (int i = 0; i < count; ++i) port::PostMessageA(mainWindow, port::WM_USER + 1, 0, 0);
  }
};

TEST_F(PumpTest, AtMostFiveMessagesPerCallWhileActive) {
  Queue(8);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(headless::PendingMessageCount(mainWindow), 3);
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(headless::PendingMessageCount(mainWindow), 0);

  Queue(5);  // exactly five: one call, nothing left
  EXPECT_EQ(PumpMessages(), 0);
  EXPECT_EQ(headless::PendingMessageCount(mainWindow), 0);
}

TEST_F(PumpTest, QuitPostedToTheThreadEndsTheProgram) {
  headless::PostQuitToWindowThread(mainWindow);
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(mustEnd, 1);
  EXPECT_EQ(PumpMessages(), -1);
}

TEST_F(PumpTest, ClosingTheWindowEndsThisAndEveryLaterCall) {
  headless::ClickCloseBox(mainWindow);
  EXPECT_EQ(PumpMessages(), -1);
  EXPECT_TRUE(LogHas("ウインドウを閉じようとしています"));
  EXPECT_TRUE(LogHas("ウインドウが破棄されようとしています"));
  EXPECT_TRUE(LogHas("ソフトを終了する準備が整いました"));
  EXPECT_FALSE(headless::InspectWindow(mainWindow).exists);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PumpMessages(), -1);
  EXPECT_EQ(PresentFrame(), -1);
  // The game's teardown then shuts down normally.
  EXPECT_EQ(ShutdownEngine(), 0);
}

TEST_F(PumpTest, InactiveWindowHoldsThePumpUntilActivation) {
  const int before = NowMilliseconds(0);
  std::atomic<bool> reactivated{false};
  headless::LoseFocus(mainWindow);
  std::thread user([&] {
    std::this_thread::sleep_for(150ms);
    headless::AdvanceClockMilliseconds(5000);
    reactivated = true;
    headless::RegainFocus(mainWindow);
  });
  EXPECT_EQ(PumpMessages(), 0);
  user.join();
  EXPECT_TRUE(reactivated.load()) << "returned before the window was active again";
  EXPECT_EQ(windowActive, 1);
  // The clock ran on while the game was held.
  EXPECT_GE(NowMilliseconds(0) - before, 5000);
}

TEST_F(PumpTest, EndWhileInactiveReleasesTheHold) {
  headless::LoseFocus(mainWindow);
  std::thread user([] {
    std::this_thread::sleep_for(100ms);
    headless::ClickCloseBox(mainWindow);
  });
  EXPECT_EQ(PumpMessages(), -1);
  user.join();
  EXPECT_EQ(windowActive, 0);
}

// A call made while the window is inactive returns only after another
// thread (the user) activated the window again.
template <typename Call>
void ExpectHeldUntilActivation(const char* name, Call call) {
  windowActive = 0;
  std::atomic<bool> reactivated{false};
  std::thread user([&] {
    std::this_thread::sleep_for(100ms);
    reactivated = true;
    headless::RegainFocus(mainWindow);
  });
  call();
  EXPECT_TRUE(reactivated.load()) << name << " did not wait for the window";
  user.join();
  PumpMessages();  // whatever the activation left behind
  EXPECT_EQ(windowActive, 1);
}

TEST_F(PumpTest, DrawingAndInputCallsWaitWhileInactive) {
  ExpectHeldUntilActivation("WaitWhileInactive", [] { WaitWhileInactive(); });
  ExpectHeldUntilActivation("PaintBox", [] { PaintBox(0, 0, 10, 10, 0xFFFFFF, 1); });
  ExpectHeldUntilActivation("IsKeyDown", [] { IsKeyDown(1); });
  ExpectHeldUntilActivation("ReadKeyboard", [] {
    uint8_t keys[256];
    ReadKeyboard(keys);
  });
}

TEST_F(PumpTest, NoWaitInsideThePaintMessage) {
  windowActive = 0;
  painting = 1;
  const auto start = std::chrono::steady_clock::now();
  WaitWhileInactive();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 50ms);
  painting = 0;
  windowActive = 1;
}

// Before start-up there is no main window, so nothing could ever make it
// active: the wait returns at once. Should it hang, ending the program
// releases it, so that the test fails instead of hanging.
using PumpWithoutWindowTest = EngineFixture;

TEST_F(PumpWithoutWindowTest, NothingToWaitFor) {
  mainWindowState = MainWindowState{};  // as at process start: no window, not active
  std::atomic<bool> returned{false};
  std::atomic<bool> released{false};
  std::thread watchdog([&] {
    for (int i = 0; i < 200 && !returned; ++i) std::this_thread::sleep_for(10ms);
    if (!returned) {
      released = true;
      mustEnd = 1;
    }
  });
  WaitWhileInactive();
  returned = true;
  watchdog.join();
  EXPECT_FALSE(released.load()) << "the wait held without a main window";
  mainWindowState = MainWindowState{};
}

TEST_F(PumpTest, AnotherThreadMakesOnePassAndReturns) {
  Queue(2);
  std::thread other([] {
    // Another thread's queue is empty; it returns at once, leaving the
    // main window's messages to the main thread.
    EXPECT_EQ(PumpMessages(), 0);
  });
  other.join();
  EXPECT_EQ(headless::PendingMessageCount(mainWindow), 2);
}

TEST(PumpBeforeStartup, NoWindowYetReturnsZero) {
  mainWindowState = MainWindowState{};  // as at process start
  EXPECT_EQ(PumpMessages(), 0);
}

}  // namespace
