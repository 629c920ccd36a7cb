// Script and record of the headless window port: a desktop of a given size
// and colour depth, windows that only exist as records, per-thread message
// queues that behave as the platform's (posted messages first, then a
// pending WM_PAINT, then due timers), and a record of the calls made.
//
// Windows act as the platform's do where the engine relies on it: showing a
// window activates it and sends WM_SIZE and WM_MOVE, resizing and moving
// send them again, DestroyWindow sends WM_DESTROY, the default procedure
// turns SC_CLOSE into WM_CLOSE and WM_CLOSE into DestroyWindow.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/WindowPort.h"

namespace headless {

struct WindowScript {
  int desktopWidth = 1920;
  int desktopHeight = 1080;
  int desktopBitsPerPixel = 32;  // GetDeviceCaps(BITSPIXEL) of the screen
  int desktopPlanes = 1;         // GetDeviceCaps(PLANES)
  bool registerClassFails = false;
  bool createWindowFails = false;
  // A window of this class belongs to another instance: FindWindowA finds
  // it. Empty: no other instance.
  std::string otherInstanceClass;
  int messageBoxAnswer = port::IDNO;  // 0: the box could not be shown
  port::Point cursorPosition{400, 300};
};

// The script in force; change it before the engine runs.
WindowScript& Window();

// One recorded call: its name, its text arguments (code page 932, joined
// with "|") and its integer arguments in the platform's order.
struct WindowCall {
  std::string name;
  std::string text;
  std::vector<long long> args;
};
const std::vector<WindowCall>& WindowCalls();
// The recorded calls of one name, in order.
std::vector<WindowCall> WindowCallsNamed(const std::string& name);
void ClearWindowCalls();

// The record of a window, for tests.
struct WindowView {
  bool exists = false;
  std::string className, caption;
  uint32_t style = 0, exStyle = 0;
  port::WindowRect rect{};  // screen coordinates of the whole window
  port::WindowRect client{};  // client area in screen coordinates
  bool visible = false, minimised = false, topmost = false;
};
WindowView InspectWindow(port::WindowHandle window);

// The display count of ShowCursor (0 at start: shown).
int CursorDisplayCount();

// Events from outside the program, posted to the window's queue; any thread
// may call them. The user switches to another program and back, clicks the
// close box, or the system posts WM_QUIT to the window's thread.
void LoseFocus(port::WindowHandle window);
void RegainFocus(port::WindowHandle window);
void ClickCloseBox(port::WindowHandle window);
void PostQuitToWindowThread(port::WindowHandle window);

// Messages waiting in the window's thread queue.
int PendingMessageCount(port::WindowHandle window);

// Forgets every window, class, queue, timer and recorded call, and puts the
// script back to its defaults.
void ResetWindowScript();

}  // namespace headless
