// DirectInput 7 and 8 forwarded to the real dinput.dll / dinput8.dll
// through COM, and the kernel's events. Nothing here links against the
// DirectInput libraries' exports, so the program starts on a system
// without them and the input layer falls back to the system key state;
// only the predefined data formats (plain data) come from the SDK's
// libraries.
//
// The port header comes first: dinput.h defines macros with the names of
// the port's constants and of its functions (IDirectInput8_CreateDevice
// ...), so the definitions below put each function name in parentheses,
// which a function-like macro does not expand. The records' layouts are
// checked against the SDK in DirectInputConstants.cpp.
#include "engine/platform/DirectInputPort.h"

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

namespace {

IDirectInput7A* Object7(port::DirectInputHandle object) {
  return reinterpret_cast<IDirectInput7A*>(object);
}
IDirectInput8A* Object8(port::DirectInputHandle object) {
  return reinterpret_cast<IDirectInput8A*>(object);
}
// Devices of both versions: the methods called here stand in the same
// places of IDirectInputDevice7A and IDirectInputDevice8A, both of which
// extend IDirectInputDevice2A.
IDirectInputDevice2A* Device(port::DirectInputDeviceHandle device) {
  return reinterpret_cast<IDirectInputDevice2A*>(device);
}
IDirectInputEffect* Effect(port::DirectInputEffectHandle effect) {
  return reinterpret_cast<IDirectInputEffect*>(effect);
}
const GUID& Guid(const port::ComGuid& guid) { return reinterpret_cast<const GUID&>(guid); }
HANDLE Event(port::EventHandle event) { return reinterpret_cast<HANDLE>(event); }

// The SDK's ids: only the DirectInput classes and interfaces are made.
bool IsDirectInputClass(const port::ComGuid& classId, const port::ComGuid& interfaceId) {
  const GUID& c = Guid(classId);
  const GUID& i = Guid(interfaceId);
  return (IsEqualGUID(c, ::CLSID_DirectInput) && IsEqualGUID(i, ::IID_IDirectInput7A)) ||
         (IsEqualGUID(c, ::CLSID_DirectInput8) && IsEqualGUID(i, ::IID_IDirectInput8A));
}

// The enumeration hands the platform's record to the port's callback.
struct EnumForward {
  port::DIEnumDevicesCallback callback;
  void* reference;
};

BOOL CALLBACK ForwardDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  const EnumForward* forward = static_cast<const EnumForward*>(context);
  return forward->callback(reinterpret_cast<const port::DIDeviceInstance*>(instance),
                           forward->reference);
}

const DIDATAFORMAT* DataFormat(const port::DIDataFormat* format) {
  if (format == nullptr) return nullptr;
  switch (format->predefined) {
    case 1: return &::c_dfDIMouse2;
    case 2: return &::c_dfDIKeyboard;
    case 3: return &::c_dfDIJoystick;
    default: return nullptr;
  }
}

}  // namespace

namespace port {

HResult CoCreateDirectInput(CoCreateInstanceFunction coCreateInstance, const ComGuid& classId,
                            uint32_t context, const ComGuid& interfaceId,
                            DirectInputHandle* object) {
  *object = nullptr;
  if (coCreateInstance == nullptr) return E_NOTIMPL;
  if (!IsDirectInputClass(classId, interfaceId)) return REGDB_E_CLASSNOTREG;
  void* created = nullptr;
  HResult result = coCreateInstance(&classId, nullptr, context, &interfaceId, &created);
  if (SUCCEEDED(result)) *object = static_cast<DirectInputHandle>(created);
  return result;
}

HResult(IDirectInput7_Initialize)(DirectInputHandle object, InstanceHandle module,
                                  uint32_t version) {
  return Object7(object)->Initialize(static_cast<HINSTANCE>(module), version);
}

HResult(IDirectInput7_CreateDeviceEx)(DirectInputHandle object, const ComGuid& device,
                                      const ComGuid& interfaceId,
                                      DirectInputDeviceHandle* created, void* outer) {
  void* made = nullptr;
  HResult result = Object7(object)->CreateDeviceEx(Guid(device), Guid(interfaceId), &made,
                                                   static_cast<IUnknown*>(outer));
  *created = SUCCEEDED(result) ? static_cast<DirectInputDeviceHandle>(made) : nullptr;
  return result;
}

HResult(IDirectInput7_EnumDevices)(DirectInputHandle object, uint32_t deviceType,
                                   DIEnumDevicesCallback callback, void* reference,
                                   uint32_t flags) {
  EnumForward forward{callback, reference};
  return Object7(object)->EnumDevices(deviceType, ForwardDevice, &forward, flags);
}

uint32_t(IDirectInput7_Release)(DirectInputHandle object) { return Object7(object)->Release(); }

HResult(IDirectInput8_Initialize)(DirectInputHandle object, InstanceHandle module,
                                  uint32_t version) {
  return Object8(object)->Initialize(static_cast<HINSTANCE>(module), version);
}

HResult(IDirectInput8_CreateDevice)(DirectInputHandle object, const ComGuid& device,
                                    DirectInputDeviceHandle* created, void* outer) {
  IDirectInputDevice8A* made = nullptr;
  HResult result =
      Object8(object)->CreateDevice(Guid(device), &made, static_cast<IUnknown*>(outer));
  *created = SUCCEEDED(result) ? reinterpret_cast<DirectInputDeviceHandle>(made) : nullptr;
  return result;
}

HResult(IDirectInput8_EnumDevices)(DirectInputHandle object, uint32_t deviceClass,
                                   DIEnumDevicesCallback callback, void* reference,
                                   uint32_t flags) {
  EnumForward forward{callback, reference};
  return Object8(object)->EnumDevices(deviceClass, ForwardDevice, &forward, flags);
}

uint32_t(IDirectInput8_Release)(DirectInputHandle object) { return Object8(object)->Release(); }

HResult(IDirectInputDevice_SetDataFormat)(DirectInputDeviceHandle device,
                                          const DIDataFormat* format) {
  const DIDATAFORMAT* platformFormat = DataFormat(format);
  if (platformFormat == nullptr) return E_INVALIDARG;
  return Device(device)->SetDataFormat(platformFormat);
}

HResult(IDirectInputDevice_SetCooperativeLevel)(DirectInputDeviceHandle device,
                                                WindowHandle window, uint32_t flags) {
  return Device(device)->SetCooperativeLevel(static_cast<HWND>(window), flags);
}

HResult(IDirectInputDevice_SetProperty)(DirectInputDeviceHandle device, DIProperty property,
                                        const DIPropHeader* header) {
  return Device(device)->SetProperty(*reinterpret_cast<const GUID*>(property),
                                     reinterpret_cast<const DIPROPHEADER*>(header));
}

HResult(IDirectInputDevice_SetEventNotification)(DirectInputDeviceHandle device,
                                                 EventHandle event) {
  return Device(device)->SetEventNotification(Event(event));
}

HResult(IDirectInputDevice_Acquire)(DirectInputDeviceHandle device) {
  return Device(device)->Acquire();
}

HResult(IDirectInputDevice_Unacquire)(DirectInputDeviceHandle device) {
  return Device(device)->Unacquire();
}

HResult(IDirectInputDevice_GetDeviceState)(DirectInputDeviceHandle device, uint32_t size,
                                           void* state) {
  return Device(device)->GetDeviceState(size, state);
}

HResult(IDirectInputDevice_Poll)(DirectInputDeviceHandle device) {
  return Device(device)->Poll();
}

HResult(IDirectInputDevice_GetDeviceInfo)(DirectInputDeviceHandle device,
                                          DIDeviceInstance* instance) {
  return Device(device)->GetDeviceInfo(reinterpret_cast<DIDEVICEINSTANCEA*>(instance));
}

HResult(IDirectInputDevice_CreateEffect)(DirectInputDeviceHandle device, const ComGuid& effect,
                                         const DIEffect* parameters,
                                         DirectInputEffectHandle* created, void* outer) {
  IDirectInputEffect* made = nullptr;
  HResult result = Device(device)->CreateEffect(Guid(effect),
                                                reinterpret_cast<const DIEFFECT*>(parameters),
                                                &made, static_cast<IUnknown*>(outer));
  *created = SUCCEEDED(result) ? reinterpret_cast<DirectInputEffectHandle>(made) : nullptr;
  return result;
}

uint32_t(IDirectInputDevice_Release)(DirectInputDeviceHandle device) {
  return Device(device)->Release();
}

HResult(IDirectInputEffect_Start)(DirectInputEffectHandle effect, uint32_t iterations,
                                  uint32_t flags) {
  return Effect(effect)->Start(iterations, flags);
}

HResult(IDirectInputEffect_Stop)(DirectInputEffectHandle effect) { return Effect(effect)->Stop(); }

uint32_t(IDirectInputEffect_Release)(DirectInputEffectHandle effect) {
  return Effect(effect)->Release();
}

EventHandle CreateEventA(void* security, int manualReset, int initialState, const char* name) {
  return reinterpret_cast<EventHandle>(::CreateEventA(
      static_cast<LPSECURITY_ATTRIBUTES>(security), manualReset, initialState, name));
}

uint32_t WaitForSingleObject(EventHandle event, uint32_t milliseconds) {
  return ::WaitForSingleObject(Event(event), milliseconds);
}

int ResetEvent(EventHandle event) { return ::ResetEvent(Event(event)); }

int CloseHandle(EventHandle event) { return ::CloseHandle(Event(event)); }

}  // namespace port
