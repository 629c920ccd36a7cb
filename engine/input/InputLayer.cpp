// The input layer's life cycle: set-up at start-up (DirectInput when the
// system offers it, else the system key state), re-acquisition on window
// activation, and the shut-down.
#include <cstring>

#include "engine/core/RuntimeLibraries.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/platform/ClockPort.h"
#include "engine/services/Log.h"

InputContext inputContext;

namespace {

constexpr int JOYCAPS_SIZE = 404;
constexpr uint32_t JOYERR_NOERROR = 0;

// The DirectInput object, mouse and keyboard devices of the DirectInput
// path. That path is not part of this engine yet, so no version is
// obtained and the layer goes on without DirectInput.
bool ObtainDirectInput() { return false; }

// Without DirectInput the pads are only counted through the joystick calls.
void CountSystemPads() {
  int count = 0;
  if (winmmLibrary.joyGetDevCapsA != nullptr) {
    uint8_t caps[JOYCAPS_SIZE];
    while (count < 16 &&
           winmmLibrary.joyGetDevCapsA(uintptr_t(count), caps, JOYCAPS_SIZE) == JOYERR_NOERROR)
      count += 1;
  }
  LogPrintf("パッドの数は %d 個です\n", count);
}

}  // namespace

int InitializeInput() {
  if (inputContext.directInput != nullptr || inputContext.initialising) return 0;
  int noDirectInput = inputContext.noDirectInput;
  std::memset(&inputContext, 0, sizeof inputContext);
  inputContext.noDirectInput = noDirectInput;
  inputContext.initialising = 1;

  if (!inputContext.noDirectInput) {
    WriteLog("DirectInput関係初期化処理\n");
    LogIndentIn();
    if (!ObtainDirectInput()) {
      WriteLog("DirectInput を使用しません。\n");
      LogIndentOut();
      inputContext.noDirectInput = 1;
    }
  }

  LogIndentIn();
  CountSystemPads();
  LogIndentOut();
  inputContext.directInput = NO_DIRECT_INPUT_MARKER;
  WriteLog("入力関連の初期化をしました\n");
  inputContext.padCount = 16;
  inputContext.initialising = 0;
  return 0;
}

int TerminateInput() {
  if (inputContext.directInput == nullptr) return 0;
  if (InputRunsWithoutDirectInput()) {
    WriteLog("入力関連の終了処理... 完了\n");
    inputContext.directInput = nullptr;
    return 0;
  }
  inputContext.directInput = nullptr;
  return 0;
}

// Without DirectInput there are no devices to acquire again.
int ReacquireInputDevices() { return 0; }
