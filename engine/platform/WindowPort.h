// The window system and GDI, as the engine logic reaches them: user32's
// windows, messages, timers, cursor and question box, and GDI's transfers.
// Names and argument values are the platform's own; the handle types and
// constants the logic needs are declared here portably.
#pragma once

#include <cstdint>

namespace port {

using WindowHandle = void*;  // HWND

// MessageBoxA styles and answers.
constexpr unsigned MB_YESNO = 0x00000004;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A modal question box; the answer, or 0 when the box could not be shown.
// text and caption are code page 932.
int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned style);

}  // namespace port
