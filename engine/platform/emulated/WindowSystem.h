// The part of the window system that the adapters emulating it (headless
// and sdl) share: one lock over their window records, the message queues
// and the timers; messages sent to window procedures; the default window
// procedure's closing and painting. The adapter keeps its windows; each
// window record starts with the WindowBasics this part reads.
#pragma once

#include <cstdint>
#include <mutex>
#include <thread>

#include "engine/platform/WindowPort.h"

namespace emulated {

// The one lock of the emulated window system. Recursive: the port's
// operations call one another (DefWindowProcA destroys a window, a
// procedure posts a message). Window procedures run without it.
std::recursive_mutex& WindowSystemMutex();
using WindowSystemLock = std::lock_guard<std::recursive_mutex>;

// What this part knows of a window: its procedure and the thread that owns
// it (whose queue gets its messages).
struct WindowBasics {
  port::WindowProcedure procedure = nullptr;
  std::thread::id owner;
};

// Defined by the adapter: the window's record, null when there is no such
// window. Called with the lock held.
WindowBasics* FindWindowBasics(port::WindowHandle window);

// Runs the window's procedure on the calling thread, as SendMessage does;
// 0 for a window that does not exist.
port::LResult SendToWindow(port::WindowHandle window, uint32_t message, port::WParam wParam,
                           port::LParam lParam);

// DestroyWindow's course on every emulating adapter: WM_DESTROY to the
// window's procedure; then, unless the procedure destroyed the window
// itself, its queued messages and timers are dropped and release (run with
// the lock held) frees the adapter's record. 0 for no such window, else 1.
int DestroyEmulatedWindow(port::WindowHandle window, void (*release)(port::WindowHandle window));

// What DefWindowProcA does on every emulating adapter: the close command
// sends WM_CLOSE, WM_CLOSE destroys the window, WM_PAINT validates it.
// True when the message was one of those.
bool DefaultWindowAction(port::WindowHandle window, uint32_t message, port::WParam wParam);

}  // namespace emulated
