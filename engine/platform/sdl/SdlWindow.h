// The SDL window behind the window port's main window, for the other parts
// of the sdl adapter (the software screen's presentation draws into it).
#pragma once

#include <SDL.h>

#include <string>

#include "engine/platform/WindowPort.h"
#include "engine/platform/emulated/PictureScaling.h"

namespace sdlwindow {

// The SDL window of a window handle, or of a device context from GetDC or
// BeginPaint on it; null when there is none.
SDL_Window* WindowOf(port::WindowHandle window);
SDL_Window* WindowOfDeviceContext(port::DeviceContext deviceContext);

// Sets the emulated display mode (the size of the screen the engine sees),
// or with null goes back to the desktop's: the windows without a caption
// cover the desktop while a mode is set. False when a window could not.
bool SetDisplayMode(const emulated::PictureSize* mode);

// Whether the SDL window covers the desktop for the display mode; if so,
// the size of the screen it shows scaled (the mode's) and the place of the
// window's client area on that screen, as the engine sees them.
bool CoveredScreen(SDL_Window* window, emulated::PictureSize* screen, port::Point* clientOrigin);

// The lock file that marks a running instance of a window class: its path
// (in $XDG_RUNTIME_DIR, else the temporary directory) for a class name.
std::string InstanceLockPath(const char* className);

}  // namespace sdlwindow
