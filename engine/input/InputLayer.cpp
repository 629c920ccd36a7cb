// The input layer's life cycle: set-up at start-up (DirectInput when the
// system offers it, else the system key state), re-acquisition on window
// activation, and the shut-down.
#include <cstring>

#include "engine/core/MainWindow.h"
#include "engine/input/DirectInputObject.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/input/Pads.h"
#include "engine/input/SystemDevices.h"
#include "engine/platform/DirectInputPort.h"
#include "engine/services/Log.h"

InputContext inputContext;

namespace {

// Without DirectInput the pads are only counted, and the layer is marked
// initialised.
void FinishWithoutDirectInput() {
  LogIndentIn();
  CountSystemPads();
  LogIndentOut();
  inputContext.directInput = NO_DIRECT_INPUT_MARKER;
  WriteLog("入力関連の初期化をしました\n");
  inputContext.padCount = MAX_PADS;
}

// The set-up proper: DirectInput when the system offers it, else the
// system key state.
int SetUpInput() {
  if (!inputContext.noDirectInput) {
    WriteLog("DirectInput関係初期化処理\n");
    LogIndentIn();
    if (ObtainDirectInput()) return SetUpSystemDevices();
    WriteLog("DirectInput を使用しません。\n");
    LogIndentOut();
    inputContext.noDirectInput = 1;
  }
  FinishWithoutDirectInput();
  return 0;
}

}  // namespace

// The set-up runs the message pump, where an activation can rebuild the
// display, and the rebuild terminates and initialises the input layer. A
// termination then would release the objects the set-up is still working
// with; it waits for the set-up's end instead, and an initialisation asked
// for after it is the set-up already under way.
int InitializeInput() {
  if (inputContext.initialising) {
    inputContext.terminationPending = 0;
    return 0;
  }
  if (inputContext.directInput != nullptr) return 0;
  int noDirectInput = inputContext.noDirectInput;
  std::memset(&inputContext, 0, sizeof inputContext);
  inputContext.noDirectInput = noDirectInput;
  inputContext.initialising = 1;
  const int result = SetUpInput();
  inputContext.initialising = 0;
  if (inputContext.terminationPending) {
    inputContext.terminationPending = 0;
    TerminateInput();
  }
  return result;
}

int TerminateInput() {
  if (inputContext.initialising) {
    inputContext.terminationPending = 1;
    return 0;
  }
  if (inputContext.directInput == nullptr) return 0;
  if (InputRunsWithoutDirectInput()) {
    WriteLog("入力関連の終了処理... 完了\n");
    inputContext.directInput = nullptr;
    return 0;
  }
  WriteLog("DirectInput 関連の終了処理... 完了\n");
  ReleasePads();
  ReleaseSystemDevices();
  ReleaseDirectInputObject();
  return 0;
}

int ReacquireInputDevices() {
  if (!InputHasDirectInput()) return 0;
  // Pads are the program's own while it is active, and shared while not.
  const uint32_t level = windowActive ? port::DISCL_EXCLUSIVE | port::DISCL_FOREGROUND
                                      : port::DISCL_NONEXCLUSIVE | port::DISCL_BACKGROUND;
  for (int i = 0; i < inputContext.padCount; ++i) {
    port::DirectInputDeviceHandle device = inputContext.pads[i].device;
    if (device == nullptr) continue;
    port::IDirectInputDevice_Unacquire(device);
    port::IDirectInputDevice_SetCooperativeLevel(device, mainWindow, level);
    port::IDirectInputDevice_Acquire(device);
  }
  if (inputContext.keyboardDevice != nullptr) {
    port::IDirectInputDevice_Unacquire(inputContext.keyboardDevice);
    port::IDirectInputDevice_Acquire(inputContext.keyboardDevice);
  }
  return 0;
}
