// The window port over user32 and GDI. Every text the engine passes (class
// name, caption, question box) is code page 932; it is converted to UTF-16
// and the wide-character function is called, so the window reads correctly
// whatever the system's ANSI code page. The windows are Unicode windows:
// the real window procedure hands the engine's procedure code page 932
// characters and calls the wide default procedure.
#include "engine/platform/WindowPort.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

namespace {

constexpr UINT CODE_PAGE = 932;

std::vector<wchar_t> Wide(const char* text) {
  if (text == nullptr) return std::vector<wchar_t>(1, L'\0');
  const int length = MultiByteToWideChar(CODE_PAGE, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
  if (length > 0) MultiByteToWideChar(CODE_PAGE, 0, text, -1, wide.data(), length);
  return wide;
}

static_assert(sizeof(RECT) == sizeof(port::WindowRect), "RECT layout");
static_assert(sizeof(POINT) == sizeof(port::Point), "POINT layout");

RECT* AsRect(port::WindowRect* rect) { return reinterpret_cast<RECT*>(rect); }
const RECT* AsRect(const port::WindowRect* rect) { return reinterpret_cast<const RECT*>(rect); }
HWND AsWindow(port::WindowHandle window) { return static_cast<HWND>(window); }

// The engine's procedure of each registered class, by class atom.
std::mutex& ProceduresMutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<ATOM, port::WindowProcedure>& Procedures() {
  static std::map<ATOM, port::WindowProcedure> procedures;
  return procedures;
}

port::WindowProcedure ProcedureOf(HWND window) {
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM));
  std::lock_guard<std::mutex> lock(ProceduresMutex());
  auto it = Procedures().find(atom);
  return it == Procedures().end() ? nullptr : it->second;
}

LRESULT CALLBACK RealWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  port::WindowProcedure procedure = ProcedureOf(window);
  if (procedure == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_CHAR && wParam >= 0x80) {
    // A UTF-16 character becomes its code page 932 bytes, one WM_CHAR each.
    const wchar_t character = static_cast<wchar_t>(wParam);
    char bytes[4];
    const int count = WideCharToMultiByte(CODE_PAGE, 0, &character, 1, bytes, sizeof bytes, nullptr, nullptr);
    for (int i = 0; i < count; ++i) procedure(window, message, static_cast<unsigned char>(bytes[i]), lParam);
    return 0;
  }
  return procedure(window, message, wParam, lParam);
}

MSG ToMsg(const port::WindowMessage& message) {
  MSG msg{};
  msg.hwnd = AsWindow(message.window);
  msg.message = message.message;
  msg.wParam = message.wParam;
  msg.lParam = message.lParam;
  msg.time = message.time;
  msg.pt.x = message.point.x;
  msg.pt.y = message.point.y;
  return msg;
}

port::WindowMessage FromMsg(const MSG& msg) {
  port::WindowMessage message{};
  message.window = msg.hwnd;
  message.message = msg.message;
  message.wParam = msg.wParam;
  message.lParam = msg.lParam;
  message.time = msg.time;
  message.point = port::Point{msg.pt.x, msg.pt.y};
  return message;
}

}  // namespace

namespace port {

uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
  const std::vector<wchar_t> name = Wide(windowClass->className);
  const std::vector<wchar_t> menu = Wide(windowClass->menuName);
  WNDCLASSEXW real{};
  real.cbSize = sizeof real;
  real.style = windowClass->style;
  real.lpfnWndProc = RealWindowProcedure;
  real.cbClsExtra = windowClass->classExtraBytes;
  real.cbWndExtra = windowClass->windowExtraBytes;
  real.hInstance = static_cast<HINSTANCE>(windowClass->instance);
  real.hIcon = static_cast<HICON>(windowClass->icon);
  real.hCursor = static_cast<HCURSOR>(windowClass->cursor);
  real.hbrBackground = static_cast<HBRUSH>(windowClass->background);
  real.lpszMenuName = windowClass->menuName != nullptr ? menu.data() : nullptr;
  real.lpszClassName = name.data();
  real.hIconSm = static_cast<HICON>(windowClass->smallIcon);
  std::lock_guard<std::mutex> lock(ProceduresMutex());
  const ATOM atom = ::RegisterClassExW(&real);
  if (atom != 0) Procedures()[atom] = windowClass->procedure;
  return atom;
}

int UnregisterClassA(const char* className, InstanceHandle instance) {
  return ::UnregisterClassW(Wide(className).data(), static_cast<HINSTANCE>(instance));
}

WindowHandle CreateWindowExA(uint32_t exStyle, const char* className, const char* windowName,
                             uint32_t style, int x, int y, int width, int height,
                             WindowHandle parent, void* menu, InstanceHandle instance, void* param) {
  return ::CreateWindowExW(exStyle, Wide(className).data(), Wide(windowName).data(), style, x, y,
                           width, height, AsWindow(parent), static_cast<HMENU>(menu),
                           static_cast<HINSTANCE>(instance), param);
}

int DestroyWindow(WindowHandle window) { return ::DestroyWindow(AsWindow(window)); }

WindowHandle FindWindowA(const char* className, const char* windowName) {
  const std::vector<wchar_t> name = Wide(className);
  const std::vector<wchar_t> title = Wide(windowName);
  return ::FindWindowW(name.data(), windowName != nullptr ? title.data() : nullptr);
}

int ShowWindow(WindowHandle window, int command) { return ::ShowWindow(AsWindow(window), command); }
int UpdateWindow(WindowHandle window) { return ::UpdateWindow(AsWindow(window)); }
int IsIconic(WindowHandle window) { return ::IsIconic(AsWindow(window)); }

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                 uint32_t flags) {
  return ::SetWindowPos(AsWindow(window), AsWindow(insertAfter), x, y, width, height, flags);
}

int MoveWindow(WindowHandle window, int x, int y, int width, int height, int repaint) {
  return ::MoveWindow(AsWindow(window), x, y, width, height, repaint);
}

int32_t SetWindowLongA(WindowHandle window, int index, int32_t value) {
  return ::SetWindowLongW(AsWindow(window), index, value);
}

int AdjustWindowRectEx(WindowRect* rect, uint32_t style, int hasMenu, uint32_t exStyle) {
  return ::AdjustWindowRectEx(AsRect(rect), style, hasMenu, exStyle);
}

int GetWindowRect(WindowHandle window, WindowRect* rect) { return ::GetWindowRect(AsWindow(window), AsRect(rect)); }
int GetClientRect(WindowHandle window, WindowRect* rect) { return ::GetClientRect(AsWindow(window), AsRect(rect)); }
int ClientToScreen(WindowHandle window, Point* point) {
  return ::ClientToScreen(AsWindow(window), reinterpret_cast<POINT*>(point));
}
int SetRect(WindowRect* rect, int left, int top, int right, int bottom) {
  return ::SetRect(AsRect(rect), left, top, right, bottom);
}
int BringWindowToTop(WindowHandle window) { return ::BringWindowToTop(AsWindow(window)); }
WindowHandle SetActiveWindow(WindowHandle window) { return ::SetActiveWindow(AsWindow(window)); }
int SetForegroundWindow(WindowHandle window) { return ::SetForegroundWindow(AsWindow(window)); }
WindowHandle GetForegroundWindow() { return ::GetForegroundWindow(); }

uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) {
  DWORD process = 0;
  const DWORD thread = ::GetWindowThreadProcessId(AsWindow(window), &process);
  if (processId != nullptr) *processId = process;
  return thread;
}

int AttachThreadInput(uint32_t attachingThread, uint32_t attachedToThread, int attach) {
  return ::AttachThreadInput(attachingThread, attachedToThread, attach);
}

int GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

int SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam, uint32_t winIni) {
  return ::SystemParametersInfoW(action, uiParam, pvParam, winIni);
}

IconHandle LoadIconA(InstanceHandle instance, uintptr_t resource) {
  return ::LoadIconW(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEW(resource));
}
CursorHandle LoadCursorA(InstanceHandle instance, uintptr_t resource) {
  return ::LoadCursorW(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEW(resource));
}
GdiObject GetStockObject(int object) { return ::GetStockObject(object); }

int PeekMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax,
                 uint32_t removal) {
  MSG msg{};
  if (!::PeekMessageW(&msg, AsWindow(window), filterMin, filterMax, removal)) return 0;
  *message = FromMsg(msg);
  return 1;
}

int GetMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax) {
  MSG msg{};
  const BOOL result = ::GetMessageW(&msg, AsWindow(window), filterMin, filterMax);
  *message = FromMsg(msg);
  return result;
}

int TranslateMessage(const WindowMessage* message) {
  const MSG msg = ToMsg(*message);
  return ::TranslateMessage(&msg);
}

LResult DispatchMessageA(const WindowMessage* message) {
  const MSG msg = ToMsg(*message);
  return ::DispatchMessageW(&msg);
}

LResult DefWindowProcA(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  return ::DefWindowProcW(AsWindow(window), message, wParam, lParam);
}

int PostMessageA(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  return ::PostMessageW(AsWindow(window), message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

DeviceContext BeginPaint(WindowHandle window, PaintStruct* paint) {
  PAINTSTRUCT real{};
  HDC dc = ::BeginPaint(AsWindow(window), &real);
  paint->deviceContext = dc;
  paint->erase = real.fErase;
  paint->paintArea = WindowRect{real.rcPaint.left, real.rcPaint.top, real.rcPaint.right, real.rcPaint.bottom};
  return dc;
}

int EndPaint(WindowHandle window, const PaintStruct* paint) {
  PAINTSTRUCT real{};
  real.hdc = static_cast<HDC>(paint->deviceContext);
  real.fErase = paint->erase;
  real.rcPaint = RECT{paint->paintArea.left, paint->paintArea.top, paint->paintArea.right, paint->paintArea.bottom};
  return ::EndPaint(AsWindow(window), &real);
}

int FillRect(DeviceContext deviceContext, const WindowRect* rect, GdiObject brush) {
  return ::FillRect(static_cast<HDC>(deviceContext), AsRect(rect), static_cast<HBRUSH>(brush));
}

DeviceContext GetDC(WindowHandle window) { return ::GetDC(AsWindow(window)); }
int ReleaseDC(WindowHandle window, DeviceContext deviceContext) {
  return ::ReleaseDC(AsWindow(window), static_cast<HDC>(deviceContext));
}
int GetDeviceCaps(DeviceContext deviceContext, int index) {
  return ::GetDeviceCaps(static_cast<HDC>(deviceContext), index);
}

CursorHandle SetCursor(CursorHandle cursor) { return ::SetCursor(static_cast<HCURSOR>(cursor)); }
int ShowCursor(int show) { return ::ShowCursor(show); }
int GetCursorPos(Point* point) { return ::GetCursorPos(reinterpret_cast<POINT*>(point)); }

uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure) {
  // The port's callback has the platform's TIMERPROC signature (one calling
  // convention on 64-bit Windows).
  return ::SetTimer(AsWindow(window), id, milliseconds, reinterpret_cast<TIMERPROC>(procedure));
}

int KillTimer(WindowHandle window, uintptr_t id) { return ::KillTimer(AsWindow(window), id); }

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned style) {
  return ::MessageBoxW(AsWindow(owner), Wide(text).data(), Wide(caption).data(), style);
}

}  // namespace port
