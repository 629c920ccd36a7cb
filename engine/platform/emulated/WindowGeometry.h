// The client-area geometry of the emulated windows as the engine sees it:
// GetClientRect and ClientToScreen (defined here), and the WM_SIZE and
// WM_MOVE messages after a change. The adapter says where a window's client
// area lies on the screen.
#pragma once

#include "engine/platform/WindowPort.h"

namespace emulated {

// Defined by the adapter: the window's client area in screen coordinates;
// false when there is no such window (or it has no geometry). Called with
// the lock held.
bool ClientAreaOnScreen(port::WindowHandle window, port::WindowRect* client);

// WM_SIZE (SIZE_RESTORED, the client area's size) when sized and WM_MOVE
// (its top-left corner) when moved, sent to the window's procedure.
void SendGeometryChange(port::WindowHandle window, bool sized, bool moved);

// A window shown for the first time becomes the active one and gets its
// size and place, as on the platform.
void SendFirstShow(port::WindowHandle window);

}  // namespace emulated
