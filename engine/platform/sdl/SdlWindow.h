// The SDL window behind the window port's main window, for the other parts
// of the sdl adapter (the software screen's presentation draws into it).
#pragma once

#include <SDL.h>

#include <string>

#include "engine/platform/WindowPort.h"

namespace sdlwindow {

// The SDL window of a window handle, or of a device context from GetDC or
// BeginPaint on it; null when there is none.
SDL_Window* WindowOf(port::WindowHandle window);
SDL_Window* WindowOfDeviceContext(port::DeviceContext deviceContext);

// The lock file that marks a running instance of a window class: its path
// (in $XDG_RUNTIME_DIR, else the temporary directory) for a class name.
std::string InstanceLockPath(const char* className);

}  // namespace sdlwindow
