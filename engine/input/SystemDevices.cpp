#include "engine/input/SystemDevices.h"

#include "engine/core/FatalError.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/input/DirectInputObject.h"
#include "engine/input/InputContext.h"
#include "engine/input/Pads.h"
#include "engine/platform/ClockPort.h"
#include "engine/platform/DirectInputPort.h"
#include "engine/services/Log.h"

namespace {

constexpr uint32_t KEYBOARD_BUFFER_SIZE = 100;

void ReleaseDevice(port::DirectInputDeviceHandle& device) {
  if (device == nullptr) return;
  port::IDirectInputDevice_Unacquire(device);
  port::IDirectInputDevice_Release(device);
  device = nullptr;
}

// The devices cannot be set up: everything made so far goes, then the
// engine ends.
[[noreturn]] void FailDeviceSetUp(const char* message) {
  ReleasePads();
  ReleaseSystemDevices();
  ReleaseDirectInputObject();
  inputContext.initialising = 0;
  FatalError(message);
}

// Messages of one device's fatal steps.
struct DeviceMessages {
  const char* create;
  const char* dataFormat;
  const char* cooperativeLevel;
};

// Creates the device, sets its data format and its non-exclusive,
// background cooperative level.
port::DirectInputDeviceHandle CreateSystemDevice(const port::ComGuid& guid,
                                                 const port::DIDataFormat& format,
                                                 port::DirectInputDeviceHandle& slot,
                                                 const DeviceMessages& messages) {
  if (!port::DiSucceeded(CreateInputDevice(guid, &slot)) || slot == nullptr) {
    slot = nullptr;
    FailDeviceSetUp(messages.create);
  }
  if (!port::DiSucceeded(port::IDirectInputDevice_SetDataFormat(slot, &format)))
    FailDeviceSetUp(messages.dataFormat);
  if (!port::DiSucceeded(port::IDirectInputDevice_SetCooperativeLevel(
          slot, mainWindow, port::DISCL_NONEXCLUSIVE | port::DISCL_BACKGROUND)))
    FailDeviceSetUp(messages.cooperativeLevel);
  return slot;
}

// The mouse is only made ready: nothing acquires or reads it.
void SetUpMouse() {
  WriteLog("マウスデバイスの初期化... ");
  CreateSystemDevice(port::GUID_SysMouse, port::c_dfDIMouse2, inputContext.mouseDevice,
                     {"マウスデバイスの取得に失敗しました",
                      "マウスデバイスのデータ形式の設定に失敗しました",
                      "マウスデバイスの協調レベルの設定に失敗しました"});
  WriteLog("初期化成功\n");
}

void SetKeyboardBufferSize(port::DirectInputDeviceHandle keyboard) {
  port::DIPropDword buffer{};
  buffer.diph.dwSize = sizeof buffer;
  buffer.diph.dwHeaderSize = sizeof buffer.diph;
  buffer.diph.dwObj = 0;
  buffer.diph.dwHow = port::DIPH_DEVICE;
  buffer.dwData = KEYBOARD_BUFFER_SIZE;
  if (!port::DiSucceeded(
          port::IDirectInputDevice_SetProperty(keyboard, port::DIPROP_BUFFERSIZE, &buffer.diph)))
    WriteLog("キーボードのプロパティ設定に失敗しました\n");
}

// The keyboard signals its event on every key event, so that a refresh
// within the same millisecond still sees it.
bool SetUpKeyboardEvent(port::DirectInputDeviceHandle keyboard) {
  inputContext.keyboardEvent = port::CreateEventA(nullptr, 1, 0, nullptr);
  port::HResult result =
      port::IDirectInputDevice_SetEventNotification(keyboard, inputContext.keyboardEvent);
  return result == port::DI_OK || result == port::DI_POLLEDDEVICE;
}

int SetUpKeyboard() {
  WriteLog("キーボードデバイスの初期化... ");
  port::DirectInputDeviceHandle keyboard = CreateSystemDevice(
      port::GUID_SysKeyboard, port::c_dfDIKeyboard, inputContext.keyboardDevice,
      {"キーボードデバイスの取得に失敗しました",
       "キーボードデバイスのデータ形式の設定に失敗しました",
       "キーボードデバイスの協調レベルの設定に失敗しました"});
  SetKeyboardBufferSize(keyboard);
  if (!SetUpKeyboardEvent(keyboard)) {
    WriteLog("キーボードイベントのセットアップが失敗しました\n");
    LogIndentOut();  // the level of the set-up's heading, as on success
    inputContext.initialising = 0;
    return -1;
  }
  if (!port::DiSucceeded(port::IDirectInputDevice_Acquire(keyboard)) &&
      !port::DiSucceeded(port::IDirectInputDevice_Acquire(keyboard)))
    FailDeviceSetUp("キーボードデバイスの取得に失敗しました");
  WriteLog("初期化成功\n");
  inputContext.lastRefreshTime = port::timeGetTime();
  return 0;
}

}  // namespace

int SetUpSystemDevices() {
  LogIndentOut();
  port::BringWindowToTop(mainWindow);
  PumpOnce();
  SetupPads();
  SetUpMouse();
  inputContext.lastRefreshTime = port::timeGetTime();
  if (SetUpKeyboard() != 0) return -1;
  LogIndentOut();
  WriteLog("DirectInput 関連の初期化は正常に終了しました\n");
  return 0;
}

void ReleaseSystemDevices() {
  if (inputContext.keyboardDevice != nullptr) {
    ReleaseDevice(inputContext.keyboardDevice);
    if (inputContext.keyboardEvent != nullptr) port::CloseHandle(inputContext.keyboardEvent);
    inputContext.keyboardEvent = nullptr;
  }
  ReleaseDevice(inputContext.mouseDevice);
}
