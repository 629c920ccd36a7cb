// Reading the pads for the program: how many there are and the state of
// one. With DirectInput a pad is a device set up by SetupPads (its axes
// already ranged and dead-zoned by the device); without it, a joystick of
// the system's joystick calls, ranged and dead-zoned here the same way.
#include "engine/core/Engine.h"
#include "engine/core/MessagePump.h"
#include "engine/input/InputContext.h"
#include "engine/input/SystemJoysticks.h"
#include "engine/platform/DirectInputPort.h"

namespace {

constexpr int AXIS_LIMIT = 1000;  // the range SetupPads gives every axis
constexpr int DEAD_ZONE = 350;    // 3500 of 10000, as SetupPads sets it
constexpr int BUTTON_HELD = 0x80;

bool Ready() { return engineStarted && inputContext.directInput != nullptr; }

int PadCount() {
  if (InputHasDirectInput()) return inputContext.padCount;
  return CountSystemJoysticks(MAX_PADS);
}

// A position within [minimum, maximum] as -AXIS_LIMIT ... AXIS_LIMIT, the
// inner DEAD_ZONE read as the centre and the rest stretched over the
// range, as DirectInput does; an axis without range reads 0.
int RangeAxis(uint32_t position, uint32_t minimum, uint32_t maximum) {
  if (maximum <= minimum) return 0;
  if (position < minimum) position = minimum;
  if (position > maximum) position = maximum;
  const int64_t span = int64_t(maximum) - minimum;
  const int64_t value = (int64_t(position - minimum) * 2 * AXIS_LIMIT + span / 2) / span - AXIS_LIMIT;
  const int64_t magnitude = value < 0 ? -value : value;
  if (magnitude <= DEAD_ZONE) return 0;
  const int64_t stretched = (magnitude - DEAD_ZONE) * AXIS_LIMIT / (AXIS_LIMIT - DEAD_ZONE);
  return int(value < 0 ? -stretched : stretched);
}

// The hat's hundredths of a degree, or -1 centred (the platforms' low word
// 0xFFFF).
int HatAngle(uint32_t pov) { return (pov & 0xFFFF) == 0xFFFF ? -1 : int(pov); }

bool ReadDevicePad(PadRecord& pad, PadState* state) {
  if (pad.device == nullptr) return false;
  port::DIJoyState joy{};
  port::IDirectInputDevice_Poll(pad.device);
  if (!port::DiSucceeded(port::IDirectInputDevice_GetDeviceState(pad.device, sizeof joy, &joy))) {
    // Lost to another program or never acquired: once more after acquiring.
    if (!port::DiSucceeded(port::IDirectInputDevice_Acquire(pad.device))) return false;
    port::IDirectInputDevice_Poll(pad.device);
    if (!port::DiSucceeded(port::IDirectInputDevice_GetDeviceState(pad.device, sizeof joy, &joy)))
      return false;
  }
  state->x = joy.lX;
  state->y = joy.lY;
  state->z = joy.lZ;
  state->rx = joy.lRx;
  state->ry = joy.lRy;
  state->rz = joy.lRz;
  state->pov = HatAngle(joy.rgdwPOV[0]);
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
    state->buttons[i] = uint8_t((joy.rgbButtons[i] & BUTTON_HELD) ? 1 : 0);
  return true;
}

// Joystick axes map onto the pad's as Windows shows an XInput pad through
// both interfaces: U and R are the second stick's x and y.
bool ReadSystemJoystick(int id, PadState* state) {
  port::JoyCaps caps{};
  port::JoyInfoEx position{};
  if (GetSystemJoystickCaps(id, &caps) != port::JOYERR_NOERROR) return false;
  if (GetSystemJoystickPosition(id, &position) != port::JOYERR_NOERROR) return false;
  state->x = RangeAxis(position.dwXpos, caps.wXmin, caps.wXmax);
  state->y = RangeAxis(position.dwYpos, caps.wYmin, caps.wYmax);
  state->z = RangeAxis(position.dwZpos, caps.wZmin, caps.wZmax);
  state->rx = RangeAxis(position.dwUpos, caps.wUmin, caps.wUmax);
  state->ry = RangeAxis(position.dwRpos, caps.wRmin, caps.wRmax);
  state->rz = RangeAxis(position.dwVpos, caps.wVmin, caps.wVmax);
  state->pov = HatAngle(position.dwPOV);
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i)
    state->buttons[i] = uint8_t((position.dwButtons >> i) & 1);
  return true;
}

}  // namespace

int QueryPadCount() {
  if (!Ready()) return -1;
  return PadCount();
}

int ReadPad(int pad, PadState* state) {
  if (!engineStarted) return -1;
  WaitWhileInactive();
  if (!Ready() || state == nullptr || pad < 1 || pad > PadCount()) return -1;
  PadState read{};
  const bool done = InputHasDirectInput() ? ReadDevicePad(inputContext.pads[pad - 1], &read)
                                          : ReadSystemJoystick(pad - 1, &read);
  if (!done) return -1;
  *state = read;
  return 0;
}
