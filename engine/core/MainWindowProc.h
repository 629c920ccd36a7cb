// The main window's procedure: every message the engine handles, the rest
// passed to the platform's default procedure.
#pragma once

#include "engine/platform/WindowPort.h"

// The socket notification message of the network handles.
constexpr uint32_t WM_ENGINE_SOCKET = 0x505;

port::LResult MainWindowProc(port::WindowHandle window, uint32_t message, port::WParam wParam,
                             port::LParam lParam);
