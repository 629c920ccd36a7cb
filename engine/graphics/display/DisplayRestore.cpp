#include "engine/graphics/display/WindowHooks.h"
#include "engine/platform/PresentPort.h"

void RestoreDesktopDisplayMode() { port::ChangeDisplaySettingsA(nullptr, 0); }
