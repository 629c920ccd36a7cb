// The port's DirectInput constants and records checked against the SDK's:
// each value is captured under another name before dinput.h defines its
// macros, and each record's size and field places are compared with the
// platform's own.
#include "engine/platform/DirectInputPort.h"

#include <cstddef>

namespace portValue {
constexpr auto directinput_version_8 = port::DIRECTINPUT_VERSION_8;
constexpr auto di_ok = port::DI_OK;
constexpr auto di_polleddevice = port::DI_POLLEDDEVICE;
constexpr auto dierr_generic = port::DIERR_GENERIC;
constexpr auto dierr_unsupported = port::DIERR_UNSUPPORTED;
constexpr auto dierr_devicenotreg = port::DIERR_DEVICENOTREG;
constexpr auto dierr_otherapphasprio = port::DIERR_OTHERAPPHASPRIO;
constexpr auto dierr_notacquired = port::DIERR_NOTACQUIRED;
constexpr auto dierr_inputlost = port::DIERR_INPUTLOST;
constexpr auto discl_exclusive = port::DISCL_EXCLUSIVE;
constexpr auto discl_nonexclusive = port::DISCL_NONEXCLUSIVE;
constexpr auto discl_foreground = port::DISCL_FOREGROUND;
constexpr auto discl_background = port::DISCL_BACKGROUND;
constexpr auto didevtype_joystick = port::DIDEVTYPE_JOYSTICK;
constexpr auto di8devclass_gamectrl = port::DI8DEVCLASS_GAMECTRL;
constexpr auto diedfl_attachedonly = port::DIEDFL_ATTACHEDONLY;
constexpr auto dienum_stop = port::DIENUM_STOP;
constexpr auto dienum_continue = port::DIENUM_CONTINUE;
constexpr auto diprop_buffersize = port::DIPROP_BUFFERSIZE;
constexpr auto diprop_range = port::DIPROP_RANGE;
constexpr auto diprop_deadzone = port::DIPROP_DEADZONE;
constexpr auto diph_device = port::DIPH_DEVICE;
constexpr auto diph_byoffset = port::DIPH_BYOFFSET;
constexpr auto dijofs_x = port::DIJOFS_X;
constexpr auto dijofs_y = port::DIJOFS_Y;
constexpr auto dijofs_z = port::DIJOFS_Z;
constexpr auto dijofs_rx = port::DIJOFS_RX;
constexpr auto dijofs_ry = port::DIJOFS_RY;
constexpr auto dijofs_rz = port::DIJOFS_RZ;
constexpr auto dieff_objectoffsets = port::DIEFF_OBJECTOFFSETS;
constexpr auto dieff_cartesian = port::DIEFF_CARTESIAN;
constexpr auto dieff_polar = port::DIEFF_POLAR;
constexpr auto dieb_notrigger = port::DIEB_NOTRIGGER;
constexpr auto di_ffnominalmax = port::DI_FFNOMINALMAX;
constexpr auto infinite = port::INFINITE;
constexpr auto wait_object_0 = port::WAIT_OBJECT_0;
constexpr auto wait_timeout = port::WAIT_TIMEOUT;
}  // namespace portValue

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

static_assert(uint32_t(portValue::di_ok) == uint32_t(DI_OK), "DI_OK");
static_assert(uint32_t(portValue::di_polleddevice) == uint32_t(DI_POLLEDDEVICE), "DI_POLLEDDEVICE");
static_assert(uint32_t(portValue::dierr_generic) == uint32_t(DIERR_GENERIC), "DIERR_GENERIC");
static_assert(uint32_t(portValue::dierr_unsupported) == uint32_t(DIERR_UNSUPPORTED), "DIERR_UNSUPPORTED");
static_assert(uint32_t(portValue::dierr_devicenotreg) == uint32_t(DIERR_DEVICENOTREG), "DIERR_DEVICENOTREG");
static_assert(uint32_t(portValue::dierr_otherapphasprio) == uint32_t(DIERR_OTHERAPPHASPRIO), "DIERR_OTHERAPPHASPRIO");
static_assert(uint32_t(portValue::dierr_notacquired) == uint32_t(DIERR_NOTACQUIRED), "DIERR_NOTACQUIRED");
static_assert(uint32_t(portValue::dierr_inputlost) == uint32_t(DIERR_INPUTLOST), "DIERR_INPUTLOST");
static_assert(uint32_t(portValue::discl_exclusive) == uint32_t(DISCL_EXCLUSIVE), "DISCL_EXCLUSIVE");
static_assert(uint32_t(portValue::discl_nonexclusive) == uint32_t(DISCL_NONEXCLUSIVE), "DISCL_NONEXCLUSIVE");
static_assert(uint32_t(portValue::discl_foreground) == uint32_t(DISCL_FOREGROUND), "DISCL_FOREGROUND");
static_assert(uint32_t(portValue::discl_background) == uint32_t(DISCL_BACKGROUND), "DISCL_BACKGROUND");
static_assert(uint32_t(portValue::didevtype_joystick) == uint32_t(DIDEVTYPE_JOYSTICK), "DIDEVTYPE_JOYSTICK");
static_assert(uint32_t(portValue::di8devclass_gamectrl) == uint32_t(DI8DEVCLASS_GAMECTRL), "DI8DEVCLASS_GAMECTRL");
static_assert(uint32_t(portValue::diedfl_attachedonly) == uint32_t(DIEDFL_ATTACHEDONLY), "DIEDFL_ATTACHEDONLY");
static_assert(uint32_t(portValue::dienum_stop) == uint32_t(DIENUM_STOP), "DIENUM_STOP");
static_assert(uint32_t(portValue::dienum_continue) == uint32_t(DIENUM_CONTINUE), "DIENUM_CONTINUE");
// The properties are small numbers in a GUID pointer's place; redefined
// here to the bare number so that they can be compared at compile time.
#undef MAKEDIPROP
#define MAKEDIPROP(prop) (prop)
static_assert(uintptr_t(portValue::diprop_buffersize) == uintptr_t(DIPROP_BUFFERSIZE), "DIPROP_BUFFERSIZE");
static_assert(uintptr_t(portValue::diprop_range) == uintptr_t(DIPROP_RANGE), "DIPROP_RANGE");
static_assert(uintptr_t(portValue::diprop_deadzone) == uintptr_t(DIPROP_DEADZONE), "DIPROP_DEADZONE");
static_assert(uint32_t(portValue::diph_device) == uint32_t(DIPH_DEVICE), "DIPH_DEVICE");
static_assert(uint32_t(portValue::diph_byoffset) == uint32_t(DIPH_BYOFFSET), "DIPH_BYOFFSET");
static_assert(uint32_t(portValue::dijofs_x) == uint32_t(DIJOFS_X), "DIJOFS_X");
static_assert(uint32_t(portValue::dijofs_y) == uint32_t(DIJOFS_Y), "DIJOFS_Y");
static_assert(uint32_t(portValue::dijofs_z) == uint32_t(DIJOFS_Z), "DIJOFS_Z");
static_assert(uint32_t(portValue::dijofs_rx) == uint32_t(DIJOFS_RX), "DIJOFS_RX");
static_assert(uint32_t(portValue::dijofs_ry) == uint32_t(DIJOFS_RY), "DIJOFS_RY");
static_assert(uint32_t(portValue::dijofs_rz) == uint32_t(DIJOFS_RZ), "DIJOFS_RZ");
static_assert(uint32_t(portValue::dieff_objectoffsets) == uint32_t(DIEFF_OBJECTOFFSETS), "DIEFF_OBJECTOFFSETS");
static_assert(uint32_t(portValue::dieff_cartesian) == uint32_t(DIEFF_CARTESIAN), "DIEFF_CARTESIAN");
static_assert(uint32_t(portValue::dieff_polar) == uint32_t(DIEFF_POLAR), "DIEFF_POLAR");
static_assert(uint32_t(portValue::dieb_notrigger) == uint32_t(DIEB_NOTRIGGER), "DIEB_NOTRIGGER");
static_assert(uint32_t(portValue::di_ffnominalmax) == uint32_t(DI_FFNOMINALMAX), "DI_FFNOMINALMAX");
static_assert(uint32_t(portValue::infinite) == uint32_t(INFINITE), "INFINITE");
static_assert(uint32_t(portValue::wait_object_0) == uint32_t(WAIT_OBJECT_0), "WAIT_OBJECT_0");
static_assert(uint32_t(portValue::wait_timeout) == uint32_t(WAIT_TIMEOUT), "WAIT_TIMEOUT");

static_assert(portValue::directinput_version_8 == DIRECTINPUT_VERSION, "DIRECTINPUT_VERSION");

#define SAME_LAYOUT(portType, sdkType) \
  static_assert(sizeof(port::portType) == sizeof(sdkType), #sdkType)
#define SAME_FIELD(portType, sdkType, field)                                    \
  static_assert(offsetof(port::portType, field) == offsetof(sdkType, field) &&    \
                    sizeof(port::portType::field) == sizeof(sdkType::field),      \
                #sdkType "::" #field)

static_assert(sizeof(port::ComGuid) == sizeof(GUID), "GUID");
SAME_LAYOUT(DIPropHeader, DIPROPHEADER);
SAME_FIELD(DIPropHeader, DIPROPHEADER, dwSize);
SAME_FIELD(DIPropHeader, DIPROPHEADER, dwHeaderSize);
SAME_FIELD(DIPropHeader, DIPROPHEADER, dwObj);
SAME_FIELD(DIPropHeader, DIPROPHEADER, dwHow);
SAME_LAYOUT(DIPropDword, DIPROPDWORD);
SAME_FIELD(DIPropDword, DIPROPDWORD, dwData);
SAME_LAYOUT(DIPropRange, DIPROPRANGE);
SAME_FIELD(DIPropRange, DIPROPRANGE, lMin);
SAME_FIELD(DIPropRange, DIPROPRANGE, lMax);
SAME_LAYOUT(DIDeviceInstance, DIDEVICEINSTANCEA);
SAME_FIELD(DIDeviceInstance, DIDEVICEINSTANCEA, guidInstance);
SAME_FIELD(DIDeviceInstance, DIDEVICEINSTANCEA, dwDevType);
SAME_FIELD(DIDeviceInstance, DIDEVICEINSTANCEA, tszInstanceName);
SAME_FIELD(DIDeviceInstance, DIDEVICEINSTANCEA, tszProductName);
SAME_FIELD(DIDeviceInstance, DIDEVICEINSTANCEA, wUsage);
SAME_LAYOUT(DIEnvelope, DIENVELOPE);
SAME_FIELD(DIEnvelope, DIENVELOPE, dwAttackTime);
SAME_FIELD(DIEnvelope, DIENVELOPE, dwFadeTime);
SAME_LAYOUT(DIPeriodic, DIPERIODIC);
SAME_FIELD(DIPeriodic, DIPERIODIC, lOffset);
SAME_FIELD(DIPeriodic, DIPERIODIC, dwPeriod);
SAME_LAYOUT(DIConstantForce, DICONSTANTFORCE);
SAME_LAYOUT(DIEffect, DIEFFECT);
SAME_FIELD(DIEffect, DIEFFECT, cAxes);
SAME_FIELD(DIEffect, DIEFFECT, rgdwAxes);
SAME_FIELD(DIEffect, DIEFFECT, rglDirection);
SAME_FIELD(DIEffect, DIEFFECT, lpEnvelope);
SAME_FIELD(DIEffect, DIEFFECT, cbTypeSpecificParams);
SAME_FIELD(DIEffect, DIEFFECT, lpvTypeSpecificParams);
SAME_FIELD(DIEffect, DIEFFECT, dwStartDelay);
SAME_LAYOUT(DIJoyState, DIJOYSTATE);
SAME_FIELD(DIJoyState, DIJOYSTATE, lRz);
SAME_FIELD(DIJoyState, DIJOYSTATE, rglSlider);
SAME_FIELD(DIJoyState, DIJOYSTATE, rgdwPOV);
SAME_FIELD(DIJoyState, DIJOYSTATE, rgbButtons);
// The sizes the records have on the platform's 32-bit builds stay right on
// 64-bit but for DIEFFECT, which holds pointers.
static_assert(sizeof(DIPROPDWORD) == 20 && sizeof(DIPROPRANGE) == 24 &&
                  sizeof(DIDEVICEINSTANCEA) == 580 && sizeof(DIENVELOPE) == 20 &&
                  sizeof(DIJOYSTATE) == 80,
              "the records' sizes");
