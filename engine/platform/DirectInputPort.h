// DirectInput 7 and 8, as the input logic reaches them: the object (made
// through COM with CoCreateInstance, as the caller bound it from ole32.dll at
// run time), its devices (the system keyboard and mouse, the game
// controllers), their data formats, properties, cooperative levels, event
// notification, acquisition and state, the device enumeration, and the
// force-feedback effects; and the kernel events the devices signal.
//
// Every interface method is a plain function named <interface>_<method>
// that takes the object as its first argument, with the platform's own
// argument values. The devices of both versions share one set of functions
// (IDirectInputDevice_...): the methods the engine calls stand in the same
// places of both interfaces. The records passed are declared here with the
// platform's layouts (the win32 adapter checks them against dinput.h).
//
// The win32 adapter forwards to dinput.dll / dinput8.dll. The sdl adapter
// offers no DirectInput (CoCreateDirectInput fails as for a class that is
// not registered); the headless one offers what a test scripts (see
// headless/HeadlessDirectInput.h).
#pragma once

#include <cstdint>

#include "engine/platform/DirectDrawPort.h"  // ComGuid, HResult, CoCreateInstanceFunction
#include "engine/platform/WindowPort.h"

namespace port {

struct DirectInputObject;
struct DirectInputDeviceObject;
struct DirectInputEffectObject;
struct EventObject;
using DirectInputHandle = DirectInputObject*;              // IDirectInput7A / IDirectInput8A
using DirectInputDeviceHandle = DirectInputDeviceObject*;  // IDirectInputDevice7A / 8A
using DirectInputEffectHandle = DirectInputEffectObject*;  // IDirectInputEffect
using EventHandle = EventObject*;                          // HANDLE of an event

// Class, interface, device and effect ids.
inline constexpr ComGuid CLSID_DirectInput = {
    0x25E609E0, 0xB259, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid CLSID_DirectInput8 = {
    0x25E609E4, 0xB259, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid IID_IDirectInput7A = {
    0x9A4CB684, 0x236D, 0x11D3, {0x8E, 0x9D, 0x00, 0xC0, 0x4F, 0x68, 0x44, 0xAE}};
inline constexpr ComGuid IID_IDirectInput8A = {
    0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr ComGuid IID_IDirectInputDevice7A = {
    0x57D7C6BC, 0x2356, 0x11D3, {0x8E, 0x9D, 0x00, 0xC0, 0x4F, 0x68, 0x44, 0xAE}};
inline constexpr ComGuid GUID_SysMouse = {
    0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid GUID_SysKeyboard = {
    0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr ComGuid GUID_ConstantForce = {
    0x13541C20, 0x8E33, 0x11D0, {0x9A, 0xD0, 0x00, 0xA0, 0xC9, 0xA0, 0x6E, 0x35}};
inline constexpr ComGuid GUID_Sine = {
    0x13541C23, 0x8E33, 0x11D0, {0x9A, 0xD0, 0x00, 0xA0, 0xC9, 0xA0, 0x6E, 0x35}};

inline bool SameGuid(const ComGuid& a, const ComGuid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.data4[i] != b.data4[i]) return false;
  return true;
}

// Results.
constexpr HResult DI_OK = 0;
constexpr HResult DI_POLLEDDEVICE = 2;
constexpr HResult DIERR_GENERIC = int32_t(0x80004005u);          // E_FAIL
constexpr HResult DIERR_UNSUPPORTED = int32_t(0x80004001u);      // E_NOTIMPL
constexpr HResult DIERR_DEVICENOTREG = int32_t(0x80040154u);     // REGDB_E_CLASSNOTREG
constexpr HResult DIERR_OTHERAPPHASPRIO = int32_t(0x80070005u);  // E_ACCESSDENIED
constexpr HResult DIERR_NOTACQUIRED = int32_t(0x8007000Cu);
constexpr HResult DIERR_INPUTLOST = int32_t(0x8007001Eu);
constexpr bool DiSucceeded(HResult result) { return result >= 0; }

constexpr uint32_t DIRECTINPUT_VERSION_7 = 0x0700;
constexpr uint32_t DIRECTINPUT_VERSION_8 = 0x0800;

// Cooperative levels.
constexpr uint32_t DISCL_EXCLUSIVE = 0x00000001;
constexpr uint32_t DISCL_NONEXCLUSIVE = 0x00000002;
constexpr uint32_t DISCL_FOREGROUND = 0x00000004;
constexpr uint32_t DISCL_BACKGROUND = 0x00000008;

// Enumeration.
constexpr uint32_t DIDEVTYPE_JOYSTICK = 4;    // version 7's class of game controllers
constexpr uint32_t DI8DEVCLASS_GAMECTRL = 4;  // version 8's
constexpr uint32_t DIEDFL_ATTACHEDONLY = 0x00000001;
constexpr int DIENUM_STOP = 0;
constexpr int DIENUM_CONTINUE = 1;

// Properties: the platform passes these small numbers where a GUID's
// address stands (MAKEDIPROP).
using DIProperty = uintptr_t;
constexpr DIProperty DIPROP_BUFFERSIZE = 1;
constexpr DIProperty DIPROP_RANGE = 4;
constexpr DIProperty DIPROP_DEADZONE = 5;
constexpr uint32_t DIPH_DEVICE = 0;
constexpr uint32_t DIPH_BYOFFSET = 1;

// Offsets of the axes in the joystick data format (DIJOFS_...).
constexpr uint32_t DIJOFS_X = 0;
constexpr uint32_t DIJOFS_Y = 4;
constexpr uint32_t DIJOFS_Z = 8;
constexpr uint32_t DIJOFS_RX = 12;
constexpr uint32_t DIJOFS_RY = 16;
constexpr uint32_t DIJOFS_RZ = 20;

// Effects.
constexpr uint32_t DIEFF_OBJECTOFFSETS = 0x00000002;
constexpr uint32_t DIEFF_CARTESIAN = 0x00000010;
constexpr uint32_t DIEFF_POLAR = 0x00000020;
constexpr uint32_t DIEB_NOTRIGGER = 0xFFFFFFFF;
constexpr uint32_t DI_FFNOMINALMAX = 10000;
constexpr uint32_t INFINITE = 0xFFFFFFFF;

// Events and waits.
constexpr uint32_t WAIT_OBJECT_0 = 0;
constexpr uint32_t WAIT_TIMEOUT = 0x00000102;

// The predefined data formats (c_dfDI...): the port names them, the
// adapter hands the platform its own.
struct DIDataFormat {
  int predefined;
};
inline constexpr DIDataFormat c_dfDIMouse2 = {1};
inline constexpr DIDataFormat c_dfDIKeyboard = {2};
inline constexpr DIDataFormat c_dfDIJoystick = {3};

// DIPROPHEADER, DIPROPDWORD (20 bytes), DIPROPRANGE (24 bytes).
struct DIPropHeader {
  uint32_t dwSize, dwHeaderSize, dwObj, dwHow;
};
struct DIPropDword {
  DIPropHeader diph;
  uint32_t dwData;
};
struct DIPropRange {
  DIPropHeader diph;
  int32_t lMin, lMax;
};

// DIDEVICEINSTANCEA (580 bytes).
struct DIDeviceInstance {
  uint32_t dwSize;
  ComGuid guidInstance;
  ComGuid guidProduct;
  uint32_t dwDevType;
  char tszInstanceName[260];
  char tszProductName[260];
  ComGuid guidFFDriver;
  uint16_t wUsagePage;
  uint16_t wUsage;
};

// DIENVELOPE (20 bytes), DIPERIODIC, DICONSTANTFORCE.
struct DIEnvelope {
  uint32_t dwSize, dwAttackLevel, dwAttackTime, dwFadeLevel, dwFadeTime;
};
struct DIPeriodic {
  uint32_t dwMagnitude;
  int32_t lOffset;
  uint32_t dwPhase, dwPeriod;
};
struct DIConstantForce {
  int32_t lMagnitude;
};

// DIEFFECT, as this build compiles it (its size goes into dwSize).
struct DIEffect {
  uint32_t dwSize;
  uint32_t dwFlags;
  uint32_t dwDuration;
  uint32_t dwSamplePeriod;
  uint32_t dwGain;
  uint32_t dwTriggerButton;
  uint32_t dwTriggerRepeatInterval;
  uint32_t cAxes;
  uint32_t* rgdwAxes;
  int32_t* rglDirection;
  DIEnvelope* lpEnvelope;
  uint32_t cbTypeSpecificParams;
  void* lpvTypeSpecificParams;
  uint32_t dwStartDelay;
};

// DIJOYSTATE (80 bytes), what c_dfDIJoystick reads: six axes (in the
// range the device was given), two sliders, four hat switches (hundredths
// of a degree clockwise from up; low word 0xFFFF when centred) and 32
// buttons (bit 7 set while held).
struct DIJoyState {
  int32_t lX, lY, lZ, lRx, lRy, lRz;
  int32_t rglSlider[2];
  uint32_t rgdwPOV[4];
  uint8_t rgbButtons[32];
};

// LPDIENUMDEVICESCALLBACKA: DIENUM_CONTINUE or DIENUM_STOP.
using DIEnumDevicesCallback = int (*)(const DIDeviceInstance* instance, void* reference);

// coCreateInstance(classId, null, context, interfaceId, out): the object,
// or a failure code (also when coCreateInstance is null, or the platform
// has no such class).
HResult CoCreateDirectInput(CoCreateInstanceFunction coCreateInstance, const ComGuid& classId,
                            uint32_t context, const ComGuid& interfaceId,
                            DirectInputHandle* object);

// IDirectInput7A.
HResult IDirectInput7_Initialize(DirectInputHandle object, InstanceHandle module,
                                 uint32_t version);
HResult IDirectInput7_CreateDeviceEx(DirectInputHandle object, const ComGuid& device,
                                     const ComGuid& interfaceId, DirectInputDeviceHandle* created,
                                     void* outer);
HResult IDirectInput7_EnumDevices(DirectInputHandle object, uint32_t deviceType,
                                  DIEnumDevicesCallback callback, void* reference,
                                  uint32_t flags);
uint32_t IDirectInput7_Release(DirectInputHandle object);

// IDirectInput8A.
HResult IDirectInput8_Initialize(DirectInputHandle object, InstanceHandle module,
                                 uint32_t version);
HResult IDirectInput8_CreateDevice(DirectInputHandle object, const ComGuid& device,
                                   DirectInputDeviceHandle* created, void* outer);
HResult IDirectInput8_EnumDevices(DirectInputHandle object, uint32_t deviceClass,
                                  DIEnumDevicesCallback callback, void* reference,
                                  uint32_t flags);
uint32_t IDirectInput8_Release(DirectInputHandle object);

// IDirectInputDevice7A / IDirectInputDevice8A.
HResult IDirectInputDevice_SetDataFormat(DirectInputDeviceHandle device,
                                         const DIDataFormat* format);
HResult IDirectInputDevice_SetCooperativeLevel(DirectInputDeviceHandle device,
                                               WindowHandle window, uint32_t flags);
HResult IDirectInputDevice_SetProperty(DirectInputDeviceHandle device, DIProperty property,
                                       const DIPropHeader* header);
HResult IDirectInputDevice_SetEventNotification(DirectInputDeviceHandle device,
                                                EventHandle event);
HResult IDirectInputDevice_Acquire(DirectInputDeviceHandle device);
HResult IDirectInputDevice_Unacquire(DirectInputDeviceHandle device);
HResult IDirectInputDevice_GetDeviceState(DirectInputDeviceHandle device, uint32_t size,
                                          void* state);
// Makes a polled device read its controls; DI_NOEFFECT (1) for a device
// that needs no polling.
HResult IDirectInputDevice_Poll(DirectInputDeviceHandle device);
HResult IDirectInputDevice_GetDeviceInfo(DirectInputDeviceHandle device,
                                         DIDeviceInstance* instance);
HResult IDirectInputDevice_CreateEffect(DirectInputDeviceHandle device, const ComGuid& effect,
                                        const DIEffect* parameters,
                                        DirectInputEffectHandle* created, void* outer);
uint32_t IDirectInputDevice_Release(DirectInputDeviceHandle device);

// IDirectInputEffect.
HResult IDirectInputEffect_Start(DirectInputEffectHandle effect, uint32_t iterations,
                                 uint32_t flags);
HResult IDirectInputEffect_Stop(DirectInputEffectHandle effect);
uint32_t IDirectInputEffect_Release(DirectInputEffectHandle effect);

// kernel32's events: CreateEventA(security, manual reset, initially
// signalled, name) -> null on failure; WaitForSingleObject -> WAIT_OBJECT_0
// when signalled, WAIT_TIMEOUT when not; ResetEvent and CloseHandle ->
// non-zero on success.
EventHandle CreateEventA(void* security, int manualReset, int initialState, const char* name);
uint32_t WaitForSingleObject(EventHandle event, uint32_t milliseconds);
int ResetEvent(EventHandle event);
int CloseHandle(EventHandle event);

}  // namespace port
