// The system key state from user32.
#include "engine/platform/InputPort.h"

#include <windows.h>

namespace port {

int GetKeyboardState(uint8_t keys[256]) { return ::GetKeyboardState(keys); }

}  // namespace port
