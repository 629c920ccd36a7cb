// The handles the emulated window system gives out where the platform's
// GDI would: a window's device context is the window's handle plus one (so
// that the adapter finds the window again), stock objects, icons and
// cursors are tokens that are never drawn. LoadIconA, LoadCursorA,
// GetStockObject, SetRect, GetDC, ReleaseDC and EndPaint are defined here.
#pragma once

#include "engine/platform/WindowPort.h"

namespace emulated {

port::DeviceContext DeviceContextOf(port::WindowHandle window);
port::WindowHandle WindowOfDeviceContext(port::DeviceContext deviceContext);

}  // namespace emulated
