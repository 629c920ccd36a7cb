#include "engine/platform/win32/Direct3D9Window.h"

HWND Direct3DWindow(port::WindowHandle window) { return static_cast<HWND>(window); }
