// The system's joysticks on Linux: SDL's game controllers, in the order
// SDL lists them, answer winmm's joyGetDevCapsA, so that the engine's count
// of the system's pads sees the controllers that are attached. The game
// controller subsystem starts at the first question; the window port's
// event pumping keeps SDL's list current.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "engine/platform/InputPort.h"

namespace {

// JOYCAPSA's first fields: the manufacturer and product ids and the name.
constexpr size_t PRODUCT_ID_OFFSET = 2;
constexpr size_t NAME_OFFSET = 4;
constexpr size_t NAME_SIZE = 32;

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
  std::memset(caps, 0, port::JOYCAPSA_SIZE);
  const uint16_t vendor = SDL_JoystickGetDeviceVendor(index);
  const uint16_t product = SDL_JoystickGetDeviceProduct(index);
  std::memcpy(caps, &vendor, sizeof vendor);
  std::memcpy(caps + PRODUCT_ID_OFFSET, &product, sizeof product);
  const char* name = SDL_GameControllerNameForIndex(index);
  std::snprintf(reinterpret_cast<char*>(caps + NAME_OFFSET), NAME_SIZE, "%s", name ? name : "");
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

}  // namespace port
