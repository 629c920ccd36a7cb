// The platform window behind a window handle that the engine gives
// Direct3D (the focus window, the device window, the window a present goes
// to). Over the win32 window port they are one and the same; a program
// whose window system is emulated (engine/platform/win32/scripted/) gives
// Direct3D a real window of its own instead.
#pragma once

// The port header comes first: the platform's headers define macros with
// the names of its constants.
#include "engine/platform/WindowPort.h"

#include <windows.h>

HWND Direct3DWindow(port::WindowHandle window);
