// The system's joysticks on Linux: SDL's game controllers, in the order
// SDL lists them, answer winmm's joyGetDevCapsA and joyGetPosEx, so that
// the engine counts and reads the controllers that are attached. The game
// controller subsystem starts at the first question; the window port's
// event pumping keeps SDL's list and the controllers' state current.
//
// The controls are laid out as Windows' joystick calls show an XInput pad:
// X and Y the left stick, Z both triggers (the left one towards the
// maximum), U and R the right stick, V unused; buttons A, B, X, Y, the
// left and right shoulders, Back, Start, the two stick presses and Guide;
// the directional pad as the hat.
#include <SDL.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "engine/platform/InputPort.h"

namespace {

// JOYCAPSA's first fields: the manufacturer and product ids and the name.
constexpr size_t PRODUCT_ID_OFFSET = 2;
constexpr size_t NAME_OFFSET = 4;
constexpr size_t NAME_SIZE = 32;

constexpr uint32_t AXIS_MAXIMUM = 65535;
constexpr uint32_t AXIS_CENTRE = 32767;

constexpr SDL_GameControllerButton BUTTON_ORDER[] = {
    SDL_CONTROLLER_BUTTON_A,         SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,         SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,      SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK, SDL_CONTROLLER_BUTTON_RIGHTSTICK,
    SDL_CONTROLLER_BUTTON_GUIDE,
};
constexpr uint32_t BUTTON_COUNT = sizeof BUTTON_ORDER / sizeof BUTTON_ORDER[0];

// The hat's angle for the directions of the directional pad held, in
// hundredths of a degree; opposite directions held together cancel.
uint32_t HatAngle(bool up, bool right, bool down, bool left) {
  const int vertical = int(down) - int(up);
  const int horizontal = int(right) - int(left);
  static const uint32_t angles[3][3] = {
      {31500, 0, 4500},                        // up-left, up, up-right
      {27000, port::JOY_POVCENTERED, 9000},    // left, centred, right
      {22500, 18000, 13500},                   // down-left, down, down-right
  };
  return angles[vertical + 1][horizontal + 1];
}

bool GameControllersReady() {
  return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0 ||
         SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

// SDL's device index of the id-th game controller, or -1.
int ControllerIndex(uintptr_t id) {
  uintptr_t seen = 0;
  for (int index = 0; index < SDL_NumJoysticks(); ++index) {
    if (!SDL_IsGameController(index)) continue;
    if (seen++ == id) return index;
  }
  return -1;
}

void FillCaps(int index, uint8_t* caps) {
  port::JoyCaps filled{};
  filled.wMid = SDL_JoystickGetDeviceVendor(index);
  filled.wPid = SDL_JoystickGetDeviceProduct(index);
  const char* name = SDL_GameControllerNameForIndex(index);
  std::snprintf(filled.szPname, sizeof filled.szPname, "%s", name ? name : "");
  filled.wXmax = filled.wYmax = filled.wZmax = AXIS_MAXIMUM;
  filled.wRmax = filled.wUmax = filled.wVmax = AXIS_MAXIMUM;
  filled.wNumButtons = filled.wMaxButtons = BUTTON_COUNT;
  filled.wNumAxes = filled.wMaxAxes = 5;
  static_assert(offsetof(port::JoyCaps, wPid) == PRODUCT_ID_OFFSET &&
                    offsetof(port::JoyCaps, szPname) == NAME_OFFSET && NAME_SIZE == 32,
                "JOYCAPSA's first fields");
  std::memcpy(caps, &filled, sizeof filled);
}

// The controller at SDL's device index, opened at its first reading and
// kept open (SDL closes it when it goes).
SDL_GameController* OpenController(int index) {
  SDL_GameController* controller =
      SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
  return controller != nullptr ? controller : SDL_GameControllerOpen(index);
}

// SDL's -32768 ... 32767 as 0 ... 65535.
uint32_t Axis(SDL_GameController* controller, SDL_GameControllerAxis axis) {
  return uint32_t(int(SDL_GameControllerGetAxis(controller, axis)) + 32768);
}

void ReadController(SDL_GameController* controller, port::JoyInfoEx* info) {
  info->dwXpos = Axis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  info->dwYpos = Axis(controller, SDL_CONTROLLER_AXIS_LEFTY);
  // The triggers read 0 ... 32767 each.
  info->dwZpos = uint32_t(int(AXIS_CENTRE) +
                          SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT) -
                          SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
  info->dwUpos = Axis(controller, SDL_CONTROLLER_AXIS_RIGHTX);
  info->dwRpos = Axis(controller, SDL_CONTROLLER_AXIS_RIGHTY);
  info->dwVpos = AXIS_CENTRE;
  info->dwButtons = 0;
  info->dwButtonNumber = 0;
  for (uint32_t i = 0; i < BUTTON_COUNT; ++i) {
    if (!SDL_GameControllerGetButton(controller, BUTTON_ORDER[i])) continue;
    info->dwButtons |= 1u << i;
    info->dwButtonNumber += 1;
  }
  auto held = [controller](SDL_GameControllerButton button) {
    return SDL_GameControllerGetButton(controller, button) != 0;
  };
  info->dwPOV = HatAngle(held(SDL_CONTROLLER_BUTTON_DPAD_UP), held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                         held(SDL_CONTROLLER_BUTTON_DPAD_DOWN), held(SDL_CONTROLLER_BUTTON_DPAD_LEFT));
}

}  // namespace

namespace port {

uint32_t joyGetDevCapsA(uintptr_t joystickId, void* caps, uint32_t size) {
  if (caps == nullptr || size < JOYCAPSA_SIZE) return JOYERR_PARMS;
  if (!GameControllersReady()) return JOYERR_NODRIVER;
  const int index = ControllerIndex(joystickId);
  if (index < 0) return JOYERR_UNPLUGGED;
  FillCaps(index, static_cast<uint8_t*>(caps));
  return JOYERR_NOERROR;
}

uint32_t joyGetPosEx(uint32_t joystickId, JoyInfoEx* info) {
  if (info == nullptr || info->dwSize != sizeof(JoyInfoEx)) return JOYERR_PARMS;
  if (!GameControllersReady()) return JOYERR_NODRIVER;
  const int index = ControllerIndex(joystickId);
  if (index < 0) return JOYERR_UNPLUGGED;
  SDL_GameController* controller = OpenController(index);
  if (controller == nullptr) return JOYERR_UNPLUGGED;
  ReadController(controller, info);
  return JOYERR_NOERROR;
}

}  // namespace port
