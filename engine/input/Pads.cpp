// The pads' set-up and release.
#include "engine/input/Pads.h"

#include <cstring>

#include "engine/core/MainWindow.h"
#include "engine/input/DirectInputObject.h"
#include "engine/input/InputContext.h"
#include "engine/input/SystemJoysticks.h"
#include "engine/platform/DirectInputPort.h"
#include "engine/services/Log.h"

namespace {

constexpr int32_t AXIS_MINIMUM = -1000;
constexpr int32_t AXIS_MAXIMUM = 1000;
constexpr uint32_t DEAD_ZONE = 3500;  // of 10000
constexpr int FULL_POWER = 10000;

// The sine: half a second to rise, a second to fade, a period of 1.5 s.
constexpr uint32_t SINE_ATTACK_TIME = 500000;   // microseconds
constexpr uint32_t SINE_FADE_TIME = 1000000;
constexpr uint32_t SINE_PERIOD = 1500000;

// The six axes, in the order they are set up; a failure on the first two
// drops the pad, on the others it is ignored.
struct Axis {
  uint32_t offset;
  const char* rangeFailure;     // null: ignored
  const char* deadZoneFailure;  // null: ignored
};
constexpr Axis AXES[] = {
    {port::DIJOFS_X, "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n",
     "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n"},
    {port::DIJOFS_Y, "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n",
     "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n"},
    {port::DIJOFS_Z, nullptr, nullptr},  {port::DIJOFS_RX, nullptr, nullptr},
    {port::DIJOFS_RY, nullptr, nullptr}, {port::DIJOFS_RZ, nullptr, nullptr},
};

bool SetAxisRange(port::DirectInputDeviceHandle device, uint32_t offset) {
  port::DIPropRange range{};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = port::DIPH_BYOFFSET;
  range.lMin = AXIS_MINIMUM;
  range.lMax = AXIS_MAXIMUM;
  return port::DiSucceeded(
      port::IDirectInputDevice_SetProperty(device, port::DIPROP_RANGE, &range.diph));
}

bool SetAxisDeadZone(port::DirectInputDeviceHandle device, uint32_t offset) {
  port::DIPropDword deadZone{};
  deadZone.diph.dwSize = sizeof deadZone;
  deadZone.diph.dwHeaderSize = sizeof deadZone.diph;
  deadZone.diph.dwObj = offset;
  deadZone.diph.dwHow = port::DIPH_BYOFFSET;
  deadZone.dwData = DEAD_ZONE;
  return port::DiSucceeded(
      port::IDirectInputDevice_SetProperty(device, port::DIPROP_DEADZONE, &deadZone.diph));
}

// Ranges, then dead zones; false (logged) when X or Y refuses one.
bool SetUpAxes(port::DirectInputDeviceHandle device) {
  for (const Axis& axis : AXES) {
    if (!SetAxisRange(device, axis.offset) && axis.rangeFailure != nullptr) {
      WriteLog(axis.rangeFailure);
      return false;
    }
  }
  for (const Axis& axis : AXES) {
    if (!SetAxisDeadZone(device, axis.offset) && axis.deadZoneFailure != nullptr) {
      WriteLog(axis.deadZoneFailure);
      return false;
    }
  }
  return true;
}

// Both effects act on the X and Y axes, straight ahead, at full gain, for
// as long as they play. The structure's size is this build's own: the
// platform refuses any other.
port::DIEffect EffectOnTwoAxes(uint32_t flags, uint32_t* axes, int32_t* directions) {
  port::DIEffect effect{};
  effect.dwSize = sizeof effect;
  effect.dwFlags = flags;
  effect.dwDuration = port::INFINITE;
  effect.dwSamplePeriod = 0;
  effect.dwGain = port::DI_FFNOMINALMAX;
  effect.dwTriggerButton = port::DIEB_NOTRIGGER;
  effect.dwTriggerRepeatInterval = 0;
  effect.cAxes = 2;
  effect.rgdwAxes = axes;
  effect.rglDirection = directions;
  return effect;
}

void CreateEffects(port::DirectInputDeviceHandle device, PadRecord& pad) {
  uint32_t axes[2] = {port::DIJOFS_X, port::DIJOFS_Y};
  int32_t directions[2] = {0, 0};

  port::DIEnvelope envelope{sizeof(port::DIEnvelope), 0, SINE_ATTACK_TIME, 0, SINE_FADE_TIME};
  port::DIPeriodic periodic{port::DI_FFNOMINALMAX, 0, 0, SINE_PERIOD};
  port::DIEffect sine =
      EffectOnTwoAxes(port::DIEFF_OBJECTOFFSETS | port::DIEFF_POLAR, axes, directions);
  sine.lpEnvelope = &envelope;
  sine.cbTypeSpecificParams = sizeof periodic;
  sine.lpvTypeSpecificParams = &periodic;
  if (!port::DiSucceeded(port::IDirectInputDevice_CreateEffect(device, port::GUID_Sine, &sine,
                                                               &pad.periodicEffect, nullptr)))
    pad.periodicEffect = nullptr;

  port::DIConstantForce constant{int32_t(port::DI_FFNOMINALMAX)};
  port::DIEffect force =
      EffectOnTwoAxes(port::DIEFF_OBJECTOFFSETS | port::DIEFF_CARTESIAN, axes, directions);
  force.cbTypeSpecificParams = sizeof constant;
  force.lpvTypeSpecificParams = &constant;
  if (!port::DiSucceeded(port::IDirectInputDevice_CreateEffect(
          device, port::GUID_ConstantForce, &force, &pad.constantEffect, nullptr))) {
    pad.constantEffect = nullptr;
    WriteLog("周期的エフェクトの作成に失敗しました。\n");
  }
}

void ReleaseEffect(port::DirectInputEffectHandle& effect) {
  if (effect == nullptr) return;
  port::IDirectInputEffect_Stop(effect);
  port::IDirectInputEffect_Release(effect);
  effect = nullptr;
}

// A pad that is not kept: what it made goes and its record is cleared for
// the next one.
int DropPad(port::DirectInputDeviceHandle device, PadRecord& pad) {
  ReleaseEffect(pad.periodicEffect);
  ReleaseEffect(pad.constantEffect);
  port::IDirectInputDevice_Release(device);
  if (pad.notifyEvent != nullptr) port::CloseHandle(pad.notifyEvent);
  std::memset(&pad, 0, sizeof pad);
  return port::DIENUM_CONTINUE;
}

void TakeDeviceNames(port::DirectInputDeviceHandle device, PadRecord& pad) {
  port::DIDeviceInstance instance{};
  instance.dwSize = sizeof instance;
  port::IDirectInputDevice_GetDeviceInfo(device, &instance);
  std::memcpy(pad.instanceName, instance.tszInstanceName, PAD_NAME_SIZE);
  std::memcpy(pad.productName, instance.tszProductName, PAD_NAME_SIZE);
  pad.instanceName[PAD_NAME_SIZE - 1] = '\0';
  pad.productName[PAD_NAME_SIZE - 1] = '\0';
  LogIndentIn();
  LogPrintf("デバイスの登録名:%s", pad.instanceName);
  LogPrintf("デバイスの製品登録名:%s", pad.productName);
  LogIndentOut();
}

// One controller offered by the enumeration becomes the pad at padCount.
int AddPad(const port::DIDeviceInstance* instance, void*) {
  if (inputContext.padCount >= MAX_PADS) return port::DIENUM_STOP;
  WriteLog("入力装置を見つけました\n");
  PadRecord& pad = inputContext.pads[inputContext.padCount];
  std::memset(&pad, 0, sizeof pad);
  port::DirectInputDeviceHandle device = nullptr;
  if (!port::DiSucceeded(CreateInputDevice(instance->guidInstance, &device)) || device == nullptr) {
    WriteLog("入力装置の取得に失敗しました\n");
    return port::DIENUM_CONTINUE;
  }
  TakeDeviceNames(device, pad);
  if (!port::DiSucceeded(port::IDirectInputDevice_SetDataFormat(device, &port::c_dfDIJoystick))) {
    WriteLog("ジョイパッドデバイスではありませんでした、又は設定に失敗しました\n");
    return DropPad(device, pad);
  }
  if (!port::DiSucceeded(port::IDirectInputDevice_SetCooperativeLevel(
          device, mainWindow, port::DISCL_EXCLUSIVE | port::DISCL_FOREGROUND)))
    WriteLog("ジョイパッドデバイスの協調レベルの設定に失敗しました\n");
  if (!SetUpAxes(device)) return DropPad(device, pad);
  CreateEffects(device, pad);
  pad.vibrationOn = 0;
  pad.vibrationPower = FULL_POWER;
  pad.constantPlaying = 0;
  pad.periodicPlaying = 0;

  pad.notifyEvent = port::CreateEventA(nullptr, 1, 0, nullptr);
  port::HResult result = port::IDirectInputDevice_SetEventNotification(device, pad.notifyEvent);
  if (result != port::DI_OK && result != port::DI_POLLEDDEVICE) {
    WriteLog("ジョイパッドイベントのセットアップが失敗しました\n");
    return DropPad(device, pad);
  }
  port::IDirectInputDevice_Acquire(device);
  pad.device = device;
  inputContext.padCount += 1;
  WriteLog("ジョイパッドの追加は正常に終了しました\n");
  return inputContext.padCount < MAX_PADS ? port::DIENUM_CONTINUE : port::DIENUM_STOP;
}

}  // namespace

int SetupPads() {
  if (!InputHasDirectInput()) return -1;
  ReleasePads();
  WriteLog("ジョイパッドの初期化... \n");
  inputContext.padCount = 0;
  EnumGameControllers(AddPad, nullptr);
  WriteLog("ジョイパッドの初期化は正常に終了しました\n");
  return 0;
}

void CountSystemPads() { LogPrintf("パッドの数は %d 個です\n", CountSystemJoysticks(MAX_PADS)); }

int ReleasePads() {
  if (!InputHasDirectInput()) return -1;
  for (int i = 0; i < inputContext.padCount; ++i) {
    PadRecord& pad = inputContext.pads[i];
    if (pad.device != nullptr) {
      port::IDirectInputDevice_Unacquire(pad.device);
      port::IDirectInputDevice_SetEventNotification(pad.device, nullptr);
    }
    ReleaseEffect(pad.constantEffect);
    ReleaseEffect(pad.periodicEffect);
    if (pad.device != nullptr) port::IDirectInputDevice_Release(pad.device);
    if (pad.notifyEvent != nullptr) port::CloseHandle(pad.notifyEvent);
    std::memset(&pad, 0, sizeof pad);
  }
  inputContext.padCount = 0;
  return 0;
}
