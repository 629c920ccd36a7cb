// The pads on the headless DirectInput fake: their set-up step by step with
// the failure of each step, the two force-feedback effects, release,
// re-acquisition with the window's activation, and the vibration's timing.
// And the mouse position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/input/Pads.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "tests/input/DirectInputFixture.h"

namespace {

using inputtest::Calls;

const std::string EFFECT_SIZE = std::to_string(sizeof(port::DIEffect));

Calls PadSetUpCalls(const std::string& pad, const std::string& create) {
  Calls calls = {create, pad + ".GetDeviceInfo(580)", pad + ".SetDataFormat(c_dfDIJoystick)",
                 pad + ".SetCooperativeLevel(EXCLUSIVE|FOREGROUND)"};
  for (const char* axis : {"X", "Y", "Z", "RX", "RY", "RZ"})
    calls.push_back(pad + ".SetProperty(RANGE, size 24, header 16, BYOFFSET " + axis +
                    ", -1000..1000)");
  for (const char* axis : {"X", "Y", "Z", "RX", "RY", "RZ"})
    calls.push_back(pad + ".SetProperty(DEADZONE, size 20, header 16, BYOFFSET " + axis +
                    ", 3500)");
  calls.push_back(pad + ".CreateEffect(GUID_Sine, size " + EFFECT_SIZE + ")");
  calls.push_back(pad + ".CreateEffect(GUID_ConstantForce, size " + EFFECT_SIZE + ")");
  calls.push_back("CreateEventA(manual, not signalled, unnamed)");
  calls.push_back(pad + ".SetEventNotification(event)");
  calls.push_back(pad + ".Acquire");
  return calls;
}

headless::ScriptedPad Pad(const char* instance, const char* product, bool forceFeedback = true) {
  return headless::ScriptedPad{instance, product, forceFeedback};
}

class Pads : public inputtest::DirectInputTest {
 protected:
  void StartWithPads(std::vector<headless::ScriptedPad> pads,
                     std::vector<headless::ScriptedFailure> failures = {}) {
    Offer(false, true, std::move(pads), std::move(failures));
    ASSERT_EQ(Start(), 0);
  }

  // A vibration as a caller would want it: NowMilliseconds is its start.
  static void WantVibration(int padNumber, int power, int milliseconds) {
    PadRecord& pad = inputContext.pads[padNumber - 1];
    pad.vibrationOn = 1;
    pad.vibrationPower = power;
    pad.vibrationTime = milliseconds;
    pad.vibrationElapsed = 0;
    pad.vibrationLast = NowMilliseconds(0);
  }

  static bool ConstantPlaying(const char* pad) { return headless::InspectDevice(pad).constantPlaying; }
  static bool SinePlaying(const char* pad) { return headless::InspectDevice(pad).sinePlaying; }
};

TEST_F(Pads, EachControllerIsSetUpInOrderWithItsLog) {
  StartWithPads({Pad("Pad A", "Stick A"), Pad("Pad B", "Stick B")});
  Calls expected = {"IDirectInput8.EnumDevices(4, ATTACHEDONLY)"};
  for (const std::string& call : PadSetUpCalls("pad1", "IDirectInput8.CreateDevice(pad1)"))
    expected.push_back(call);
  for (const std::string& call : PadSetUpCalls("pad2", "IDirectInput8.CreateDevice(pad2)"))
    expected.push_back(call);
  EXPECT_EQ(CallsFrom("IDirectInput8.EnumDevices", expected.size()), expected);

  EXPECT_EQ(LogSection("ジョイパッドの初期化... ", "ジョイパッドの初期化は正常に終了しました"),
            (std::vector<std::string>{"\tジョイパッドの初期化... ",
                                      "\t入力装置を見つけました",
                                      "\t\tデバイスの登録名:Pad A",
                                      "\t\tデバイスの製品登録名:Stick A",
                                      "\tジョイパッドの追加は正常に終了しました",
                                      "\t入力装置を見つけました",
                                      "\t\tデバイスの登録名:Pad B",
                                      "\t\tデバイスの製品登録名:Stick B",
                                      "\tジョイパッドの追加は正常に終了しました",
                                      "\tジョイパッドの初期化は正常に終了しました"}));

  ASSERT_EQ(inputContext.padCount, 2);
  const PadRecord& pad = inputContext.pads[1];
  EXPECT_STREQ(pad.instanceName, "Pad B");
  EXPECT_STREQ(pad.productName, "Stick B");
  EXPECT_EQ(pad.vibrationPower, 10000);
  EXPECT_EQ(pad.vibrationOn, 0);
  EXPECT_NE(pad.notifyEvent, nullptr);
  EXPECT_TRUE(headless::InspectDevice("pad2").acquired);
  EXPECT_EQ(headless::InspectDevice("pad2").liveEffects, 2);
}

TEST_F(Pads, VersionSevenMakesItsPadsItsOwnWay) {
  Offer(true, false, {Pad("P", "S")});
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(CallsFrom("IDirectInput7.EnumDevices", 2),
            (Calls{"IDirectInput7.EnumDevices(4, ATTACHEDONLY)",
                   "IDirectInput7.CreateDeviceEx(pad1, IID_IDirectInputDevice7A)"}));
  EXPECT_EQ(inputContext.padCount, 1);
}

// Both effects act on X and Y at full gain for as long as they play; the
// structure's size is the one this build compiles (the platform refuses
// any other).
TEST_F(Pads, TheTwoEffectsHaveTheirParameters) {
  StartWithPads({Pad("P", "S")});
  const std::vector<headless::EffectRecord>& effects = headless::DirectInputCalls().effects;
  ASSERT_EQ(effects.size(), 2u);
  for (const headless::EffectRecord& effect : effects) {
    EXPECT_EQ(effect.parameters.dwSize, sizeof(port::DIEffect));
    EXPECT_EQ(effect.parameters.dwDuration, port::INFINITE);
    EXPECT_EQ(effect.parameters.dwSamplePeriod, 0u);
    EXPECT_EQ(effect.parameters.dwGain, 10000u);
    EXPECT_EQ(effect.parameters.dwTriggerButton, port::DIEB_NOTRIGGER);
    EXPECT_EQ(effect.parameters.dwTriggerRepeatInterval, 0u);
    EXPECT_EQ(effect.axes, (std::vector<uint32_t>{port::DIJOFS_X, port::DIJOFS_Y}));
    EXPECT_EQ(effect.directions, (std::vector<int32_t>{0, 0}));
  }
  const headless::EffectRecord& sine = effects[0];
  ASSERT_TRUE(sine.sine);
  EXPECT_EQ(sine.parameters.dwFlags, port::DIEFF_OBJECTOFFSETS | port::DIEFF_POLAR);
  ASSERT_TRUE(sine.hasEnvelope);
  EXPECT_EQ(sine.envelope.dwSize, 20u);
  EXPECT_EQ(sine.envelope.dwAttackLevel, 0u);
  EXPECT_EQ(sine.envelope.dwAttackTime, 500000u);
  EXPECT_EQ(sine.envelope.dwFadeLevel, 0u);
  EXPECT_EQ(sine.envelope.dwFadeTime, 1000000u);
  EXPECT_EQ(sine.periodic.dwMagnitude, 10000u);
  EXPECT_EQ(sine.periodic.lOffset, 0);
  EXPECT_EQ(sine.periodic.dwPhase, 0u);
  EXPECT_EQ(sine.periodic.dwPeriod, 1500000u);

  const headless::EffectRecord& constant = effects[1];
  ASSERT_FALSE(constant.sine);
  EXPECT_EQ(constant.parameters.dwFlags, port::DIEFF_OBJECTOFFSETS | port::DIEFF_CARTESIAN);
  EXPECT_FALSE(constant.hasEnvelope);
  EXPECT_EQ(constant.constant.lMagnitude, 10000);
}

TEST_F(Pads, APadWithoutForceFeedbackIsKeptWithoutEffects) {
  StartWithPads({Pad("P", "S", false)});
  EXPECT_EQ(inputContext.padCount, 1);
  EXPECT_EQ(inputContext.pads[0].constantEffect, nullptr);
  EXPECT_EQ(inputContext.pads[0].periodicEffect, nullptr);
  const std::vector<std::string> texts = LogTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "周期的エフェクトの作成に失敗しました。"),
            texts.end());
  // Without a constant force there is no vibration to stop.
  inputContext.pads[0].vibrationOn = 1;
  EXPECT_EQ(StopPadVibration(1), 0);
  EXPECT_EQ(inputContext.pads[0].vibrationOn, 1);
}

// One set-up step of the first of two pads fails.
struct StepCase {
  const char* name;
  headless::ScriptedFailure failure;
  bool kept;            // the first pad becomes a pad all the same
  const char* logLine;  // logged for the failure, or "" for nothing
  int effects;          // effects the first pad keeps
};

class PadSetUpStep : public Pads, public ::testing::WithParamInterface<StepCase> {};

TEST_P(PadSetUpStep, FailsOnlyThatPadOrThatProperty) {
  const StepCase& c = GetParam();
  StartWithPads({Pad("First", "One"), Pad("Second", "Two")}, {c.failure});
  EXPECT_EQ(inputContext.padCount, c.kept ? 2 : 1);
  // The second pad is always set up, in the record after the first kept one.
  EXPECT_STREQ(inputContext.pads[c.kept ? 1 : 0].instanceName, "Second");
  EXPECT_TRUE(headless::InspectDevice("pad2").acquired);

  const headless::DeviceView first = headless::InspectDevice("pad1");
  EXPECT_EQ(first.exists, c.kept);
  EXPECT_EQ(first.liveEffects, c.kept ? c.effects : 0);
  if (c.kept) {
    EXPECT_EQ(inputContext.pads[0].constantEffect != nullptr, c.effects == 2 || c.failure.detail == "Sine");
  }
  if (std::string(c.logLine).empty()) {
    // Nothing but the usual lines between "found" and "added".
    EXPECT_EQ(LogSection("入力装置を見つけました", "ジョイパッドの追加は正常に終了しました").size(), 4u);
  } else {
    const std::string log = LogContent();
    EXPECT_NE(log.find(std::string(c.logLine) + "\r\n"), std::string::npos) << c.logLine;
  }
  // Only what the kept pads hold is alive: objects, devices, effects, events.
  const int keptDevices = c.kept ? 2 : 1;
  EXPECT_EQ(headless::DirectInputCalls().liveEvents, 1 + keptDevices);  // with the keyboard's
  ShutdownEngine();
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, 0);
  EXPECT_EQ(headless::DirectInputCalls().liveEvents, 0);
}

using F = headless::ScriptedFailure;

INSTANTIATE_TEST_SUITE_P(
    , PadSetUpStep,
    ::testing::Values(
        StepCase{"Creation", F{"CreateDevice", "pad1"}, false, "入力装置の取得に失敗しました", 0},
        StepCase{"DataFormat", F{"SetDataFormat", "pad1"}, false,
                 "ジョイパッドデバイスではありませんでした、又は設定に失敗しました", 0},
        StepCase{"CooperativeLevel", F{"SetCooperativeLevel", "pad1"}, true,
                 "ジョイパッドデバイスの協調レベルの設定に失敗しました", 2},
        StepCase{"RangeX", F{"SetProperty", "pad1", "RANGE X"}, false,
                 "ジョイパッドデバイスのＸ軸関係の設定に失敗しました", 0},
        StepCase{"RangeY", F{"SetProperty", "pad1", "RANGE Y"}, false,
                 "ジョイパッドデバイスのＹ軸関係の設定に失敗しました", 0},
        StepCase{"RangeZ", F{"SetProperty", "pad1", "RANGE Z"}, true, "", 2},
        StepCase{"RangeRZ", F{"SetProperty", "pad1", "RANGE RZ"}, true, "", 2},
        StepCase{"DeadZoneX", F{"SetProperty", "pad1", "DEADZONE X"}, false,
                 "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました", 0},
        StepCase{"DeadZoneY", F{"SetProperty", "pad1", "DEADZONE Y"}, false,
                 "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました", 0},
        StepCase{"DeadZoneRX", F{"SetProperty", "pad1", "DEADZONE RX"}, true, "", 2},
        StepCase{"SineEffect", F{"CreateEffect", "pad1", "Sine"}, true, "", 1},
        StepCase{"ConstantEffect", F{"CreateEffect", "pad1", "ConstantForce"}, true,
                 "周期的エフェクトの作成に失敗しました。", 1},
        StepCase{"EventNotification", F{"SetEventNotification", "pad1"}, false,
                 "ジョイパッドイベントのセットアップが失敗しました", 0},
        StepCase{"Acquisition", F{"Acquire", "pad1", "", 1}, true, "", 2}),
    [](const ::testing::TestParamInfo<StepCase>& param) { return std::string(param.param.name); });

TEST_F(Pads, SixteenAtMost) {
  StartWithPads(std::vector<headless::ScriptedPad>(17, Pad("P", "S")));
  EXPECT_EQ(inputContext.padCount, 16);
  EXPECT_EQ(CountCalls("IDirectInput8.CreateDevice(pad16)"), 1);
  EXPECT_EQ(CountCalls("IDirectInput8.CreateDevice(pad17)"), 0);
}

TEST_F(Pads, AreReleasedWithTheLayer) {
  StartWithPads({Pad("P", "S")});
  headless::ClearDirectInputCalls();
  TerminateInput();
  EXPECT_EQ(CallsFrom("pad1", 8),
            (Calls{"pad1.Unacquire", "pad1.SetEventNotification(null)",
                   "pad1.ConstantForce.Stop", "pad1.ConstantForce.Release", "pad1.Sine.Stop",
                   "pad1.Sine.Release", "pad1.Release", "CloseHandle(event)"}));
  EXPECT_EQ(inputContext.padCount, 0);
  EXPECT_EQ(headless::DirectInputCalls().liveObjects, 0);
  EXPECT_EQ(headless::DirectInputCalls().liveEvents, 0);
}

// While the window is active the pads are the program's own; while not,
// other programs share them.
TEST_F(Pads, FollowTheWindowsActivation) {
  StartWithPads({Pad("P", "S")});
  headless::ClearDirectInputCalls();
  Deactivate();
  EXPECT_EQ(CallsFrom("pad1", 3),
            (Calls{"pad1.Unacquire", "pad1.SetCooperativeLevel(NONEXCLUSIVE|BACKGROUND)",
                   "pad1.Acquire"}));
  headless::ClearDirectInputCalls();
  Activate();
  EXPECT_EQ(CallsFrom("pad1", 3),
            (Calls{"pad1.Unacquire", "pad1.SetCooperativeLevel(EXCLUSIVE|FOREGROUND)",
                   "pad1.Acquire"}));
  EXPECT_TRUE(headless::InspectDevice("pad1").acquired);
}

TEST_F(Pads, AVibrationPlaysStopsWhileInactiveAndEndsOnTime) {
  StartWithPads({Pad("P", "S")});
  WantVibration(1, 10000, 100);
  Pump();
  EXPECT_TRUE(ConstantPlaying("pad1"));
  EXPECT_TRUE(SinePlaying("pad1"));
  EXPECT_EQ(CountCalls("pad1.ConstantForce.Start(1, 0)"), 1);

  headless::AdvanceClockMilliseconds(30);
  PumpMessages();
  EXPECT_EQ(inputContext.pads[0].vibrationElapsed, 31);
  EXPECT_EQ(CountCalls("pad1.ConstantForce.Start"), 1);  // started once only

  Deactivate();
  EXPECT_FALSE(ConstantPlaying("pad1"));
  EXPECT_FALSE(SinePlaying("pad1"));
  // The time goes on while the window is inactive (the pump's housekeeping).
  headless::AdvanceClockMilliseconds(40);
  UpdatePadVibration();
  EXPECT_EQ(inputContext.pads[0].vibrationElapsed, 71);
  EXPECT_FALSE(ConstantPlaying("pad1"));

  Activate();
  EXPECT_TRUE(ConstantPlaying("pad1"));
  EXPECT_TRUE(SinePlaying("pad1"));

  headless::AdvanceClockMilliseconds(28);
  PumpMessages();
  EXPECT_TRUE(ConstantPlaying("pad1"));
  headless::AdvanceClockMilliseconds(1);
  PumpMessages();
  EXPECT_FALSE(ConstantPlaying("pad1"));
  EXPECT_FALSE(SinePlaying("pad1"));
  EXPECT_EQ(inputContext.pads[0].vibrationOn, 0);
  EXPECT_EQ(inputContext.pads[0].vibrationPower, 10000);
}

// A vibration whose time runs out while the window is inactive ends there:
// ending it does not wait for the window.
TEST_F(Pads, AVibrationEndsWhileTheWindowIsInactive) {
  StartWithPads({Pad("P", "S")});
  WantVibration(1, 10000, 10);
  Pump();
  Deactivate();
  headless::AdvanceClockMilliseconds(20);
  EXPECT_EQ(UpdatePadVibration(), 0);
  EXPECT_EQ(inputContext.pads[0].vibrationOn, 0);
  Activate();
  EXPECT_FALSE(ConstantPlaying("pad1"));
}

TEST_F(Pads, AWeakVibrationPlaysOnlyTheConstantForce) {
  StartWithPads({Pad("P", "S")});
  WantVibration(1, 5000, -1);  // endless
  Pump();
  EXPECT_TRUE(ConstantPlaying("pad1"));
  EXPECT_FALSE(SinePlaying("pad1"));
  headless::AdvanceClockMilliseconds(100000);
  PumpMessages();
  EXPECT_TRUE(ConstantPlaying("pad1"));
}

TEST_F(Pads, StopPadVibrationTakesNumbersFromOne) {
  StartWithPads({Pad("P", "S"), Pad("Q", "T")});
  for (int number : {0, 3, 17, -1}) {
    WantVibration(1, 10000, -1);
    WantVibration(2, 10000, -1);
    EXPECT_EQ(StopPadVibration(number), 0);
    EXPECT_EQ(inputContext.pads[0].vibrationOn + inputContext.pads[1].vibrationOn, 2) << number;
  }
  Pump();
  EXPECT_TRUE(ConstantPlaying("pad2"));
  EXPECT_EQ(StopPadVibration(0x1002), 0);  // the flag bit is ignored
  EXPECT_EQ(inputContext.pads[1].vibrationOn, 0);
  EXPECT_FALSE(ConstantPlaying("pad2"));
  EXPECT_TRUE(ConstantPlaying("pad1"));
}

TEST_F(Pads, WithoutDirectInputTheyAreOnlyCounted) {
  Offer(false, false);
  ASSERT_EQ(Start(), 0);
  EXPECT_EQ(inputContext.padCount, 16);
  EXPECT_EQ(SetupPads(), -1);
  EXPECT_EQ(ReleasePads(), -1);
  inputContext.pads[0].vibrationOn = 1;  // no device: nothing to play
  EXPECT_EQ(RefreshPadEffects(), 0);
  EXPECT_EQ(UpdatePadVibration(), 0);
  EXPECT_EQ(StopPadVibration(1), 0);
}

// Without DirectInput the system's joysticks are counted: through winmm
// where the engine bound it, else through the platform's own calls.
TEST_F(Pads, WithoutDirectInputTheSystemsJoysticksAreCounted) {
  Offer(false, false);
  headless::SetSystemJoysticks(3);
  ASSERT_EQ(Start(), 0);
  const std::vector<std::string> texts = LogTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "パッドの数は 3 個です"), texts.end());
  EXPECT_EQ(inputContext.padCount, 16);
}

TEST_F(Pads, AtMostSixteenSystemJoysticksAreCounted) {
  Offer(false, false);
  headless::SetSystemJoysticks(20);
  ASSERT_EQ(Start(), 0);
  const std::vector<std::string> texts = LogTexts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "パッドの数は 16 個です"), texts.end());
}

using Mouse = inputtest::DirectInputTest;

TEST_F(Mouse, FullScreenGivesTheScreenPosition) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  headless::Window().cursorPosition = {123, 456};
  int x = -1, y = -1;
  EXPECT_EQ(ReadMousePosition(&x, &y), 0);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 456);
  EXPECT_EQ(ReadMousePosition(&x, nullptr), 0);
}

}  // namespace
