#include "engine/input/DirectInputObject.h"

#include "engine/core/RuntimeLibraries.h"
#include "engine/input/InputContext.h"
#include "engine/platform/SystemPort.h"
#include "engine/services/Log.h"

namespace {

// One version: CoCreateInstance, then Initialize with the program's module.
struct DirectInputVersion {
  const port::ComGuid& classId;
  const port::ComGuid& interfaceId;
  uint32_t version;
  port::HResult (*initialize)(port::DirectInputHandle, port::InstanceHandle, uint32_t);
  uint32_t (*release)(port::DirectInputHandle);
};

const DirectInputVersion VERSION_7 = {port::CLSID_DirectInput, port::IID_IDirectInput7A,
                                      port::DIRECTINPUT_VERSION_7, port::IDirectInput7_Initialize,
                                      port::IDirectInput7_Release};
const DirectInputVersion VERSION_8 = {port::CLSID_DirectInput8, port::IID_IDirectInput8A,
                                      port::DIRECTINPUT_VERSION_8, port::IDirectInput8_Initialize,
                                      port::IDirectInput8_Release};

port::HResult CreateObject(const DirectInputVersion& version) {
  return port::CoCreateDirectInput(ole32Library.CoCreateInstance, version.classId,
                                   port::CLSCTX_INPROC_SERVER, version.interfaceId,
                                   &inputContext.directInput);
}

// After "成功": initialises the object one log level deeper. On failure the
// object is released and the level restored, so that the log stays
// balanced whichever way the set-up goes on.
bool InitializeObject(const DirectInputVersion& version) {
  LogIndentIn();
  WriteLog("引き続き初期化処理... ");
  port::InstanceHandle module = port::GetModuleHandleA(nullptr);
  if (port::DiSucceeded(version.initialize(inputContext.directInput, module, version.version))) {
    WriteLog("初期化成功\n");
    return true;
  }
  WriteLog("初期化に失敗。");
  version.release(inputContext.directInput);
  inputContext.directInput = nullptr;
  LogIndentOut();
  return false;
}

bool ObtainVersion7() {
  WriteLog("DirectInput7 の取得中... ");
  port::HResult result = CreateObject(VERSION_7);
  if (!port::DiSucceeded(result) || inputContext.directInput == nullptr) {
    inputContext.directInput = nullptr;
    WriteLog("取得に失敗。\n");
    LogPrintf("エラーコード 0x%x\n", unsigned(result));
    return false;
  }
  WriteLog("成功\n");
  return InitializeObject(VERSION_7);
}

bool ObtainVersion8() {
  WriteLog("DirectInput8 の取得を試みます...");
  port::HResult result = CreateObject(VERSION_8);
  if (!port::DiSucceeded(result) || inputContext.directInput == nullptr) {
    inputContext.directInput = nullptr;
    WriteLog("取得に失敗。");
    return false;
  }
  WriteLog("成功\n");
  return InitializeObject(VERSION_8);
}

}  // namespace

bool ObtainDirectInput() {
  if (ObtainVersion7()) {
    inputContext.isDirectInput8 = 0;
    return true;
  }
  if (ObtainVersion8()) {
    inputContext.isDirectInput8 = 1;
    return true;
  }
  return false;
}

port::HResult CreateInputDevice(const port::ComGuid& guid, port::DirectInputDeviceHandle* device) {
  *device = nullptr;
  if (inputContext.isDirectInput8)
    return port::IDirectInput8_CreateDevice(inputContext.directInput, guid, device, nullptr);
  return port::IDirectInput7_CreateDeviceEx(inputContext.directInput, guid,
                                            port::IID_IDirectInputDevice7A, device, nullptr);
}

port::HResult EnumGameControllers(port::DIEnumDevicesCallback callback, void* reference) {
  if (inputContext.isDirectInput8)
    return port::IDirectInput8_EnumDevices(inputContext.directInput, port::DI8DEVCLASS_GAMECTRL,
                                           callback, reference, port::DIEDFL_ATTACHEDONLY);
  return port::IDirectInput7_EnumDevices(inputContext.directInput, port::DIDEVTYPE_JOYSTICK,
                                         callback, reference, port::DIEDFL_ATTACHEDONLY);
}

void ReleaseDirectInputObject() {
  if (!InputHasDirectInput()) return;
  if (inputContext.isDirectInput8)
    port::IDirectInput8_Release(inputContext.directInput);
  else
    port::IDirectInput7_Release(inputContext.directInput);
  inputContext.directInput = nullptr;
}
