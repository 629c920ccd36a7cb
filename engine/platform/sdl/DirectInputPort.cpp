// Linux has no DirectInput: CoCreateDirectInput answers as for a class that
// is not registered, so the input layer takes the system key state; no
// object, device or effect is ever made, and their methods refuse. The
// events are real: a flag with a condition variable.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/platform/DirectInputPort.h"

namespace port {

struct EventObject {
  std::mutex mutex;
  std::condition_variable changed;
  bool manualReset = true;
  bool signalled = false;
};

HResult CoCreateDirectInput(CoCreateInstanceFunction, const ComGuid&, uint32_t, const ComGuid&,
                            DirectInputHandle* object) {
  *object = nullptr;
  return DIERR_DEVICENOTREG;
}

HResult IDirectInput7_Initialize(DirectInputHandle, InstanceHandle, uint32_t) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInput7_CreateDeviceEx(DirectInputHandle, const ComGuid&, const ComGuid&,
                                     DirectInputDeviceHandle* created, void*) {
  *created = nullptr;
  return DIERR_UNSUPPORTED;
}
HResult IDirectInput7_EnumDevices(DirectInputHandle, uint32_t, DIEnumDevicesCallback, void*,
                                  uint32_t) {
  return DIERR_UNSUPPORTED;
}
uint32_t IDirectInput7_Release(DirectInputHandle) { return 0; }

HResult IDirectInput8_Initialize(DirectInputHandle, InstanceHandle, uint32_t) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInput8_CreateDevice(DirectInputHandle, const ComGuid&,
                                   DirectInputDeviceHandle* created, void*) {
  *created = nullptr;
  return DIERR_UNSUPPORTED;
}
HResult IDirectInput8_EnumDevices(DirectInputHandle, uint32_t, DIEnumDevicesCallback, void*,
                                  uint32_t) {
  return DIERR_UNSUPPORTED;
}
uint32_t IDirectInput8_Release(DirectInputHandle) { return 0; }

HResult IDirectInputDevice_SetDataFormat(DirectInputDeviceHandle, const DIDataFormat*) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_SetCooperativeLevel(DirectInputDeviceHandle, WindowHandle, uint32_t) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_SetProperty(DirectInputDeviceHandle, DIProperty, const DIPropHeader*) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_SetEventNotification(DirectInputDeviceHandle, EventHandle) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_Acquire(DirectInputDeviceHandle) { return DIERR_UNSUPPORTED; }
HResult IDirectInputDevice_Unacquire(DirectInputDeviceHandle) { return DIERR_UNSUPPORTED; }
HResult IDirectInputDevice_GetDeviceState(DirectInputDeviceHandle, uint32_t, void*) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_Poll(DirectInputDeviceHandle) { return DIERR_UNSUPPORTED; }
HResult IDirectInputDevice_GetDeviceInfo(DirectInputDeviceHandle, DIDeviceInstance*) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputDevice_CreateEffect(DirectInputDeviceHandle, const ComGuid&, const DIEffect*,
                                        DirectInputEffectHandle* created, void*) {
  *created = nullptr;
  return DIERR_UNSUPPORTED;
}
uint32_t IDirectInputDevice_Release(DirectInputDeviceHandle) { return 0; }

HResult IDirectInputEffect_Start(DirectInputEffectHandle, uint32_t, uint32_t) {
  return DIERR_UNSUPPORTED;
}
HResult IDirectInputEffect_Stop(DirectInputEffectHandle) { return DIERR_UNSUPPORTED; }
uint32_t IDirectInputEffect_Release(DirectInputEffectHandle) { return 0; }

EventHandle CreateEventA(void*, int manualReset, int initialState, const char*) {
  EventObject* event = new EventObject;
  event->manualReset = manualReset != 0;
  event->signalled = initialState != 0;
  return event;
}

uint32_t WaitForSingleObject(EventHandle event, uint32_t milliseconds) {
  if (event == nullptr) return 0xFFFFFFFFu;  // WAIT_FAILED
  std::unique_lock<std::mutex> lock(event->mutex);
  auto signalled = [event] { return event->signalled; };
  if (milliseconds == INFINITE)
    event->changed.wait(lock, signalled);
  else if (!event->changed.wait_for(lock, std::chrono::milliseconds(milliseconds), signalled))
    return WAIT_TIMEOUT;
  if (!event->manualReset) event->signalled = false;
  return WAIT_OBJECT_0;
}

int ResetEvent(EventHandle event) {
  if (event == nullptr) return 0;
  std::lock_guard<std::mutex> lock(event->mutex);
  event->signalled = false;
  return 1;
}

int CloseHandle(EventHandle event) {
  if (event == nullptr) return 0;
  delete event;
  return 1;
}

}  // namespace port
