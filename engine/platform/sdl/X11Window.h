// What the sdl adapter asks of the X window behind an SDL window that SDL
// itself does not offer. Each call goes through the X library SDL has
// loaded (no link of our own) and does nothing off X11.
#pragma once

#include <SDL.h>

namespace sdlx11 {

// The X window's class (WM_CLASS) is set to `name`, both parts.
void SetWindowClass(SDL_Window* window, const char* name);

// Whether a window manager runs: SDL's desktop full screen is a request
// to it. Without one the window must cover the screen by itself.
bool WindowManagerRuns(SDL_Window* window);

// Moves and sizes the X window directly (no window manager to ask) and
// raises it.
void PlaceWindow(SDL_Window* window, int x, int y, int width, int height);

}  // namespace sdlx11
