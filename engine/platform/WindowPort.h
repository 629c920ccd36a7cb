// The window system and GDI, as the engine logic reaches them: user32's
// windows, classes, messages, timers, cursor and question box, and GDI's
// device contexts (the frame transfers and display settings are in
// PresentPort.h). Names and argument values are the
// platform's own; the handle types, records and constants the logic needs
// are declared here portably. Texts are code page 932.
#pragma once

#include <cstdint>

namespace port {

using WindowHandle = void*;     // HWND
using InstanceHandle = void*;   // HINSTANCE / HMODULE
using DeviceContext = void*;    // HDC
using IconHandle = void*;       // HICON
using CursorHandle = void*;     // HCURSOR
using GdiObject = void*;        // HGDIOBJ / HBRUSH
using WParam = uintptr_t;       // WPARAM
using LParam = intptr_t;        // LPARAM
using LResult = intptr_t;       // LRESULT

// A window procedure: (window, message, wParam, lParam) -> result.
using WindowProcedure = LResult (*)(WindowHandle, uint32_t, WParam, LParam);
// A timer callback: (window, WM_TIMER, timer id, tick count).
using TimerProcedure = void (*)(WindowHandle, uint32_t, uintptr_t, uint32_t);

struct Point {
  int32_t x, y;
};

// RECT: right and bottom exclusive.
struct WindowRect {
  int32_t left, top, right, bottom;
};

// MSG.
struct WindowMessage {
  WindowHandle window;
  uint32_t message;
  WParam wParam;
  LParam lParam;
  uint32_t time;
  Point point;
};

// WNDCLASSEXA.
struct WindowClassEx {
  uint32_t size;  // sizeof(WindowClassEx)
  uint32_t style;
  WindowProcedure procedure;
  int32_t classExtraBytes;
  int32_t windowExtraBytes;
  InstanceHandle instance;
  IconHandle icon;
  CursorHandle cursor;
  GdiObject background;
  const char* menuName;
  const char* className;
  IconHandle smallIcon;
};

// PAINTSTRUCT, the part the engine reads.
struct PaintStruct {
  DeviceContext deviceContext;
  int32_t erase;
  WindowRect paintArea;
};

// Window messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
constexpr uint32_t WM_NCHITTEST = 0x0084;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_IME_STARTCOMPOSITION = 0x010D;
constexpr uint32_t WM_IME_ENDCOMPOSITION = 0x010E;
constexpr uint32_t WM_IME_COMPOSITION = 0x010F;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_MOVING = 0x0216;
constexpr uint32_t WM_IME_SETCONTEXT = 0x0281;
constexpr uint32_t WM_IME_NOTIFY = 0x0282;
constexpr uint32_t MM_MCINOTIFY = 0x03B9;
constexpr uint32_t WM_USER = 0x0400;

// WM_ACTIVATE's low word.
constexpr uint32_t WA_INACTIVE = 0;
constexpr uint32_t WA_ACTIVE = 1;
constexpr uint32_t WA_CLICKACTIVE = 2;
// WM_SIZE's wParam.
constexpr uint32_t SIZE_RESTORED = 0;
constexpr uint32_t SIZE_MINIMIZED = 1;
constexpr uint32_t SIZE_MAXIMIZED = 2;
// WM_SYSCOMMAND's wParam (low four bits are the system's own).
constexpr uint32_t SC_MINIMIZE = 0xF020;
constexpr uint32_t SC_CLOSE = 0xF060;
constexpr uint32_t SC_SCREENSAVE = 0xF140;
constexpr uint32_t SC_MONITORPOWER = 0xF170;
// WM_NCHITTEST results.
constexpr LResult HTCLIENT = 1;
constexpr LResult HTMENU = 5;

// PeekMessageA.
constexpr uint32_t PM_NOREMOVE = 0x0000;
constexpr uint32_t PM_REMOVE = 0x0001;
// The window "handle" that selects only the messages posted to the thread.
inline WindowHandle const THREAD_MESSAGES_ONLY = reinterpret_cast<WindowHandle>(intptr_t{-1});

// ShowWindow.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// SetWindowPos.
inline WindowHandle const HWND_TOP = nullptr;
inline WindowHandle const HWND_TOPMOST = reinterpret_cast<WindowHandle>(intptr_t{-1});
inline WindowHandle const HWND_NOTOPMOST = reinterpret_cast<WindowHandle>(intptr_t{-2});
constexpr uint32_t SWP_NOSIZE = 0x0001;
constexpr uint32_t SWP_NOMOVE = 0x0002;
constexpr uint32_t SWP_NOZORDER = 0x0004;
constexpr uint32_t SWP_NOREDRAW = 0x0008;
constexpr uint32_t SWP_NOACTIVATE = 0x0010;

// SetWindowLongA.
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

// Window styles.
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;
constexpr uint32_t WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
constexpr uint32_t WS_EX_WINDOWEDGE = 0x00000100;
constexpr uint32_t WS_EX_CLIENTEDGE = 0x00000200;

// Class styles.
constexpr uint32_t CS_VREDRAW = 0x0001;
constexpr uint32_t CS_HREDRAW = 0x0002;

// GetSystemMetrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// SystemParametersInfoA.
constexpr uint32_t SPI_SETSCREENSAVEACTIVE = 0x0011;
constexpr uint32_t SPI_GETFOREGROUNDLOCKTIMEOUT = 0x2000;
constexpr uint32_t SPI_SETFOREGROUNDLOCKTIMEOUT = 0x2001;
constexpr uint32_t SPIF_SENDCHANGE = 0x0002;

// GetDeviceCaps.
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;

// Resource numbers of LoadIconA / LoadCursorA.
constexpr uintptr_t IDI_APPLICATION = 32512;
constexpr uintptr_t IDC_ARROW = 32512;

// GetStockObject.
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;

// MessageBoxA styles and answers.
constexpr unsigned MB_YESNO = 0x00000004;
constexpr unsigned MB_ICONQUESTION = 0x00000020;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Message helpers of the platform's headers.
constexpr uint32_t LowWord(uintptr_t value) { return static_cast<uint32_t>(value & 0xFFFF); }
constexpr uint32_t HighWord(uintptr_t value) { return static_cast<uint32_t>((value >> 16) & 0xFFFF); }
constexpr LParam MakeLParam(int low, int high) {
  return static_cast<LParam>((static_cast<uint32_t>(high & 0xFFFF) << 16) | (low & 0xFFFF));
}

// Classes and windows.
uint16_t RegisterClassExA(const WindowClassEx* windowClass);  // class atom, 0 on failure
int UnregisterClassA(const char* className, InstanceHandle instance);
WindowHandle CreateWindowExA(uint32_t exStyle, const char* className, const char* windowName,
                             uint32_t style, int x, int y, int width, int height,
                             WindowHandle parent, void* menu, InstanceHandle instance, void* param);
int DestroyWindow(WindowHandle window);
WindowHandle FindWindowA(const char* className, const char* windowName);
int ShowWindow(WindowHandle window, int command);
int UpdateWindow(WindowHandle window);
int IsIconic(WindowHandle window);
int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                 uint32_t flags);
int MoveWindow(WindowHandle window, int x, int y, int width, int height, int repaint);
int32_t SetWindowLongA(WindowHandle window, int index, int32_t value);  // the previous value
int AdjustWindowRectEx(WindowRect* rect, uint32_t style, int hasMenu, uint32_t exStyle);
int GetWindowRect(WindowHandle window, WindowRect* rect);
int GetClientRect(WindowHandle window, WindowRect* rect);
int ClientToScreen(WindowHandle window, Point* point);
int SetRect(WindowRect* rect, int left, int top, int right, int bottom);
int BringWindowToTop(WindowHandle window);
WindowHandle SetActiveWindow(WindowHandle window);
int SetForegroundWindow(WindowHandle window);
WindowHandle GetForegroundWindow();
uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId);
int AttachThreadInput(uint32_t attachingThread, uint32_t attachedToThread, int attach);
int GetSystemMetrics(int index);
int SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam, uint32_t winIni);
IconHandle LoadIconA(InstanceHandle instance, uintptr_t resource);
CursorHandle LoadCursorA(InstanceHandle instance, uintptr_t resource);
GdiObject GetStockObject(int object);

// Messages.
int PeekMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax,
                 uint32_t removal);
int GetMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax);
int TranslateMessage(const WindowMessage* message);
LResult DispatchMessageA(const WindowMessage* message);
LResult DefWindowProcA(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
int PostMessageA(WindowHandle window, uint32_t message, WParam wParam, LParam lParam);
void PostQuitMessage(int exitCode);

// Painting and device contexts.
DeviceContext BeginPaint(WindowHandle window, PaintStruct* paint);
int EndPaint(WindowHandle window, const PaintStruct* paint);
int FillRect(DeviceContext deviceContext, const WindowRect* rect, GdiObject brush);
DeviceContext GetDC(WindowHandle window);  // null window: the screen
int ReleaseDC(WindowHandle window, DeviceContext deviceContext);
int GetDeviceCaps(DeviceContext deviceContext, int index);

// Cursor.
CursorHandle SetCursor(CursorHandle cursor);
int ShowCursor(int show);  // the new display count
int GetCursorPos(Point* point);

// Timers.
uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure);
int KillTimer(WindowHandle window, uintptr_t id);

// A modal question box; the answer, or 0 when the box could not be shown.
int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned style);

}  // namespace port
