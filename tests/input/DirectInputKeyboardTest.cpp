// The keyboard through DirectInput on the headless fake: which version is
// obtained, the devices' set-up with its log and its fatal failures, the
// choice of key source and the device read path, re-acquisition and
// release.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/input/KeyNumbers.h"
#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "tests/input/DirectInputFixture.h"

namespace {

using inputtest::Calls;
using Lines = std::vector<std::string>;

// The system devices' set-up after the pads, the same for both versions
// but for the way a device is made.
Calls SystemDeviceCalls(const std::string& createMouse, const std::string& createKeyboard) {
  return {createMouse,
          "mouse.SetDataFormat(c_dfDIMouse2)",
          "mouse.SetCooperativeLevel(NONEXCLUSIVE|BACKGROUND)",
          createKeyboard,
          "keyboard.SetDataFormat(c_dfDIKeyboard)",
          "keyboard.SetCooperativeLevel(NONEXCLUSIVE|BACKGROUND)",
          "keyboard.SetProperty(BUFFERSIZE, size 20, header 16, DEVICE 0, 100)",
          "CreateEventA(manual, not signalled, unnamed)",
          "keyboard.SetEventNotification(event)",
          "keyboard.Acquire"};
}

Calls Concat(Calls a, const Calls& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Calls VERSION_7_SET_UP = Concat(
    {"CoCreateInstance(CLSID_DirectInput, IID_IDirectInput7A)", "IDirectInput7.Initialize(0x0700)",
     "IDirectInput7.EnumDevices(4, ATTACHEDONLY)"},
    SystemDeviceCalls("IDirectInput7.CreateDeviceEx(mouse, IID_IDirectInputDevice7A)",
                      "IDirectInput7.CreateDeviceEx(keyboard, IID_IDirectInputDevice7A)"));

const Calls VERSION_8_DEVICES = Concat(
    {"IDirectInput8.EnumDevices(4, ATTACHEDONLY)"},
    SystemDeviceCalls("IDirectInput8.CreateDevice(mouse)", "IDirectInput8.CreateDevice(keyboard)"));

const Lines DEVICE_SET_UP_LOG = {
    "\tジョイパッドの初期化... ",
    "\tジョイパッドの初期化は正常に終了しました",
    "\tマウスデバイスの初期化... 初期化成功",
    "\tキーボードデバイスの初期化... 初期化成功",
    "DirectInput 関連の初期化は正常に終了しました"};

Lines LogWith(Lines head, const Lines& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

struct VersionCase {
  const char* name;
  bool version7, version8;
  std::vector<headless::ScriptedFailure> failures;
  int expectedVersion;  // 7, 8, or 0 for none
  Calls calls;          // from the first CoCreateInstance
  Lines log;            // from "DirectInput関係初期化処理" to the closing line
};

class DirectInputVersions : public inputtest::DirectInputTest,
                            public ::testing::WithParamInterface<VersionCase> {};

TEST_P(DirectInputVersions, AreTriedInOrderWithTheirLog) {
  const VersionCase& c = GetParam();
  Offer(c.version7, c.version8, {}, c.failures);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(CallsFrom("CoCreateInstance", c.calls.size()), c.calls);
  const std::string closing =
      c.expectedVersion ? "DirectInput 関連の初期化は正常に終了しました" : "入力関連の初期化をしました";
  EXPECT_EQ(LogSection("DirectInput関係初期化処理", closing), c.log);
  // The log is as deep after the input layer as before it.
  EXPECT_EQ(IndentAfter(closing), 0);
  EXPECT_EQ(inputContext.noDirectInput, c.expectedVersion == 0);
  if (c.expectedVersion != 0) {
    EXPECT_EQ(inputContext.isDirectInput8, c.expectedVersion == 8);
  }
  // Only the object that is kept is still alive: its mouse and keyboard
  // too.
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, c.expectedVersion ? 3 : 0);

  ShutdownEngine();
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, 0);
  EXPECT_EQ(headless::DirectInputCalls().liveEvents, 0);
  EXPECT_EQ(inputContext.directInput, nullptr);
}

const headless::ScriptedFailure INITIALIZE_7_FAILS{"Initialize", "7"};
const headless::ScriptedFailure INITIALIZE_8_FAILS{"Initialize", "8"};

INSTANTIATE_TEST_SUITE_P(
    , DirectInputVersions,
    ::testing::Values(
        VersionCase{"Version7Present", true, true, {}, 7, VERSION_7_SET_UP,
                    LogWith({"DirectInput関係初期化処理",
                             "\tDirectInput7 の取得中... 成功",
                             "\t\t引き続き初期化処理... 初期化成功"},
                            DEVICE_SET_UP_LOG)},
        VersionCase{"Version7MissingVersion8Present", false, true, {}, 8,
                    Concat({"CoCreateInstance(CLSID_DirectInput, IID_IDirectInput7A)",
                            "CoCreateInstance(CLSID_DirectInput8, IID_IDirectInput8A)",
                            "IDirectInput8.Initialize(0x0800)"},
                           VERSION_8_DEVICES),
                    LogWith({"DirectInput関係初期化処理",
                             "\tDirectInput7 の取得中... 取得に失敗。",
                             "\tエラーコード 0x80040154",
                             "",
                             "\tDirectInput8 の取得を試みます...成功",
                             "\t\t引き続き初期化処理... 初期化成功"},
                            DEVICE_SET_UP_LOG)},
        VersionCase{"Version7FailsToInitialise", true, true, {INITIALIZE_7_FAILS}, 8,
                    Concat({"CoCreateInstance(CLSID_DirectInput, IID_IDirectInput7A)",
                            "IDirectInput7.Initialize(0x0700)", "IDirectInput7.Release",
                            "CoCreateInstance(CLSID_DirectInput8, IID_IDirectInput8A)",
                            "IDirectInput8.Initialize(0x0800)"},
                           VERSION_8_DEVICES),
                    LogWith({"DirectInput関係初期化処理",
                             "\tDirectInput7 の取得中... 成功",
                             "\t\t引き続き初期化処理... 初期化に失敗。DirectInput8 の取得を試みます...成功",
                             "\t\t引き続き初期化処理... 初期化成功"},
                            DEVICE_SET_UP_LOG)},
        VersionCase{"Neither", false, false, {}, 0,
                    {"CoCreateInstance(CLSID_DirectInput, IID_IDirectInput7A)",
                     "CoCreateInstance(CLSID_DirectInput8, IID_IDirectInput8A)"},
                    {"DirectInput関係初期化処理",
                     "\tDirectInput7 の取得中... 取得に失敗。",
                     "\tエラーコード 0x80040154",
                     "",
                     "\tDirectInput8 の取得を試みます...取得に失敗。DirectInput を使用しません。",
                     "\tパッドの数は 0 個です",
                     "",
                     "入力関連の初期化をしました"}},
        VersionCase{"BothFailToInitialise", true, true, {INITIALIZE_7_FAILS, INITIALIZE_8_FAILS}, 0,
                    {"CoCreateInstance(CLSID_DirectInput, IID_IDirectInput7A)",
                     "IDirectInput7.Initialize(0x0700)", "IDirectInput7.Release",
                     "CoCreateInstance(CLSID_DirectInput8, IID_IDirectInput8A)",
                     "IDirectInput8.Initialize(0x0800)", "IDirectInput8.Release"},
                    {"DirectInput関係初期化処理",
                     "\tDirectInput7 の取得中... 成功",
                     "\t\t引き続き初期化処理... 初期化に失敗。DirectInput8 の取得を試みます...成功",
                     "\t\t引き続き初期化処理... 初期化に失敗。DirectInput を使用しません。",
                     "\tパッドの数は 0 個です",
                     "",
                     "入力関連の初期化をしました"}}),
    [](const ::testing::TestParamInfo<VersionCase>& param) { return std::string(param.param.name); });

// The device steps whose failure ends the program, with their messages.
struct FatalCase {
  const char* name;
  headless::ScriptedFailure failure;
  const char* message;
};

class FatalDeviceStep : public inputtest::DirectInputTest,
                        public ::testing::WithParamInterface<FatalCase> {};

void StartWithDirectInput8AndFail() {
  headless::SetExitHandler(inputtest::ReportLiveObjectsAtExit);
  ChangeWindowMode(1);
  StartupEngine();
  std::exit(3);  // not reached: the set-up ends the process
}

TEST_P(FatalDeviceStep, ReleasesWhatWasMadeAndEndsTheProgram) {
  const FatalCase& c = GetParam();
  Offer(false, true, {headless::ScriptedPad{}}, {c.failure});
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Everything made so far is released before the engine shuts down.
  EXPECT_EXIT(StartWithDirectInput8AndFail(),
              ::testing::ExitedWithCode(inputtest::FATAL_EXIT_CODE),
              "live objects 0, events 0");
  EXPECT_NE(LogContent().find(std::string(c.message) + "\r\n"), std::string::npos) << c.message;
}

INSTANTIATE_TEST_SUITE_P(
    , FatalDeviceStep,
    ::testing::Values(
        FatalCase{"MouseCreation", {"CreateDevice", "mouse"}, "マウスデバイスの取得に失敗しました"},
        FatalCase{"MouseDataFormat", {"SetDataFormat", "mouse"},
                  "マウスデバイスのデータ形式の設定に失敗しました"},
        FatalCase{"MouseCooperativeLevel", {"SetCooperativeLevel", "mouse"},
                  "マウスデバイスの協調レベルの設定に失敗しました"},
        FatalCase{"KeyboardCreation", {"CreateDevice", "keyboard"},
                  "キーボードデバイスの取得に失敗しました"},
        FatalCase{"KeyboardDataFormat", {"SetDataFormat", "keyboard"},
                  "キーボードデバイスのデータ形式の設定に失敗しました"},
        FatalCase{"KeyboardCooperativeLevel", {"SetCooperativeLevel", "keyboard"},
                  "キーボードデバイスの協調レベルの設定に失敗しました"},
        FatalCase{"KeyboardAcquiredTwice", {"Acquire", "keyboard", "", 2},
                  "キーボードデバイスの取得に失敗しました"}),
    [](const ::testing::TestParamInfo<FatalCase>& param) { return std::string(param.param.name); });

using DirectInputKeyboard = inputtest::DirectInputTest;

TEST_F(DirectInputKeyboard, OneFailedAcquisitionIsRetried) {
  Offer(false, true, {}, {{"Acquire", "keyboard", "", 1}});
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(CountCalls("keyboard.Acquire"), 2);
  EXPECT_TRUE(headless::InspectDevice("keyboard").acquired);
}

TEST_F(DirectInputKeyboard, AFailedBufferSizeIsOnlyLogged) {
  Offer(false, true, {}, {{"SetProperty", "keyboard"}});
  ASSERT_EQ(Start(), 0);
  const std::vector<std::string> texts = LogTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(),
                      "キーボードデバイスの初期化... キーボードのプロパティ設定に失敗しました"),
            texts.end());
  EXPECT_TRUE(headless::InspectDevice("keyboard").acquired);
}

TEST_F(DirectInputKeyboard, AFailedEventNotificationFailsStartUp) {
  Offer(false, true, {}, {{"SetEventNotification", "keyboard"}});
  EXPECT_EQ(Start(), -1);
  EXPECT_EQ(inputContext.initialising, 0);
  // The log is back at the level it had before the input layer.
  WriteLog("next\n");
  EXPECT_EQ(LogLines().back(), "next");
  // The layer keeps what it made until it is terminated.
  TerminateInput();
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, 0);
  EXPECT_EQ(headless::DirectInputCalls().liveEvents, 0);
}

// Before Vista the keys come from the device; the right Shift key alone
// from the system key state.
TEST_F(DirectInputKeyboard, BeforeVistaTheDeviceIsRead) {
  UseWindowsXp();
  Offer(false, true);
  ASSERT_EQ(Start(), 0);
  headless::PressDeviceKey(DIK_Z, true);
  headless::PressVirtualKey('X', true);  // the system's own state is not read
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_Z), 1);
  EXPECT_EQ(IsKeyDown(DIK_X), 0);

  headless::PressDeviceKey(DIK_RSHIFT, true);
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_RSHIFT), 0);
  headless::PressVirtualKey(port::VK_RSHIFT, true);
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_RSHIFT), 1);
}

TEST_F(DirectInputKeyboard, FromVistaOnTheSystemKeyStateIsRead) {
  Offer(false, true);  // the headless system is Windows 7
  ASSERT_EQ(Start(), 0);
  headless::PressDeviceKey(DIK_Z, true);
  headless::PressVirtualKey('X', true);
  Pump();
  EXPECT_EQ(IsKeyDown(DIK_Z), 0);
  EXPECT_EQ(IsKeyDown(DIK_X), 1);
  EXPECT_EQ(CountCalls("keyboard.GetDeviceState"), 0);
}

// Within one millisecond only a key event makes the device be read again.
TEST_F(DirectInputKeyboard, AKeyEventForcesARefreshWithinTheMillisecond) {
  UseWindowsXp();
  Offer(false, true);
  ASSERT_EQ(Start(), 0);
  Pump();
  const int reads = CountCalls("keyboard.GetDeviceState");
  PumpMessages();
  EXPECT_EQ(CountCalls("keyboard.GetDeviceState"), reads);

  headless::PressDeviceKey(DIK_UP, true);
  EXPECT_TRUE(headless::EventSignalled(inputContext.keyboardEvent));
  PumpMessages();
  EXPECT_EQ(CountCalls("keyboard.GetDeviceState"), reads + 1);
  EXPECT_EQ(IsKeyDown(DIK_UP), 1);
  EXPECT_FALSE(headless::EventSignalled(inputContext.keyboardEvent));
}

struct ReadCase {
  const char* name;
  std::vector<headless::ScriptedFailure> failures;
  bool refreshed;   // the new key state arrives
  Calls calls;      // from the first read
};

class DeviceRead : public inputtest::DirectInputTest,
                   public ::testing::WithParamInterface<ReadCase> {};

TEST_P(DeviceRead, RetriesOnceAfterAcquiringAgain) {
  const ReadCase& c = GetParam();
  UseWindowsXp();
  Offer(false, true);
  ASSERT_EQ(Start(), 0);
  headless::PressDeviceKey(DIK_LEFT, true);
  Pump();
  ASSERT_EQ(IsKeyDown(DIK_LEFT), 1);

  headless::DirectInputScript script;
  script.version8 = true;
  script.failures = c.failures;
  headless::ScriptDirectInput(script);
  headless::ClearDirectInputCalls();
  headless::PressDeviceKey(DIK_LEFT, false);
  headless::AdvanceClockMilliseconds(1);
  EXPECT_EQ(RefreshKeyState(), c.refreshed);
  EXPECT_EQ(CallsFrom("keyboard.GetDeviceState", c.calls.size()), c.calls);
  // A failed read keeps the state it had.
  EXPECT_EQ(inputContext.deviceKeyState[DIK_LEFT] >> 7, c.refreshed ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    , DeviceRead,
    ::testing::Values(
        ReadCase{"FirstReadWorks", {}, true, {"keyboard.GetDeviceState(256)"}},
        ReadCase{"SecondReadWorks",
                 {{"GetDeviceState", "keyboard", "", 1, port::DIERR_INPUTLOST}},
                 true,
                 {"keyboard.GetDeviceState(256)", "keyboard.Acquire", "keyboard.GetDeviceState(256)"}},
        ReadCase{"AcquisitionFails",
                 {{"GetDeviceState", "keyboard", "", 1, port::DIERR_INPUTLOST},
                  {"Acquire", "keyboard", "", 1, port::DIERR_OTHERAPPHASPRIO}},
                 false,
                 {"keyboard.GetDeviceState(256)", "keyboard.Acquire"}},
        ReadCase{"BothReadsFail",
                 {{"GetDeviceState", "keyboard", "", 2, port::DIERR_INPUTLOST}},
                 false,
                 {"keyboard.GetDeviceState(256)", "keyboard.Acquire", "keyboard.GetDeviceState(256)"}}),
    [](const ::testing::TestParamInfo<ReadCase>& param) { return std::string(param.param.name); });

// Another program took the keyboard while the window was inactive: the
// activation acquires it again, without touching its cooperative level.
TEST_F(DirectInputKeyboard, ActivationAcquiresTheKeyboardAgain) {
  Offer(false, true);
  ASSERT_EQ(Start(), 0);
  headless::ClearDirectInputCalls();
  Deactivate();
  headless::UnacquireAllDevices();
  Activate();
  EXPECT_TRUE(headless::InspectDevice("keyboard").acquired);
  EXPECT_EQ(CountCalls("keyboard.SetCooperativeLevel"), 0);
  EXPECT_EQ(CallsFrom("keyboard", 4),
            (Calls{"keyboard.Unacquire", "keyboard.Acquire", "keyboard.Unacquire", "keyboard.Acquire"}));
}

TEST_F(DirectInputKeyboard, ShutDownReleasesInOrder) {
  Offer(false, true);
  ASSERT_EQ(Start(), 0);
  headless::ClearDirectInputCalls();
  EXPECT_EQ(TerminateInput(), 0);
  EXPECT_EQ(AllCalls(), (Calls{"keyboard.Unacquire", "keyboard.Release", "CloseHandle(event)",
                               "mouse.Unacquire", "mouse.Release", "IDirectInput8.Release"}));
  const std::vector<std::string> texts = LogTexts();
  EXPECT_EQ(texts.back(), "DirectInput 関連の終了処理... 完了");
  EXPECT_EQ(inputContext.directInput, nullptr);
  EXPECT_EQ(inputContext.noDirectInput, 0);
}

// The device rebuild after a lost display terminates and initialises the
// layer again: the same version is obtained again.
TEST_F(DirectInputKeyboard, ARebuildObtainsDirectInputAgain) {
  Offer(true, false);
  ASSERT_EQ(Start(), 0);
  TerminateInput();
  EXPECT_EQ(InitializeInput(), 0);
  EXPECT_EQ(CountCalls("IDirectInput7.Initialize"), 2);
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, 3);
}

}  // namespace
