// The system key state from user32, the joysticks from winmm.
//
// The port header comes first: its constants carry names that windows.h
// and mmsystem.h define as macros.
#include "engine/platform/InputPort.h"

#include <windows.h>
#include <mmsystem.h>

static_assert(sizeof(JOYCAPSA) == port::JOYCAPSA_SIZE, "JOYCAPSA");

namespace port {

int GetKeyboardState(uint8_t keys[256]) { return ::GetKeyboardState(keys); }

uint32_t joyGetDevCapsA(uintptr_t joystickId, void* caps, uint32_t size) {
  return ::joyGetDevCapsA(joystickId, static_cast<JOYCAPSA*>(caps), size);
}

}  // namespace port
