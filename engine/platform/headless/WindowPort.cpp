// The window port of the headless platform: windows are records, their
// geometry follows the platform's default frame sizes, the messages and
// timers are the emulated ones (engine/platform/emulated/), and every call
// a test asserts on is recorded.
#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "engine/platform/emulated/GdiHandles.h"
#include "engine/platform/emulated/MessageQueue.h"
#include "engine/platform/emulated/WindowGeometry.h"
#include "engine/platform/emulated/WindowSystem.h"
#include "engine/platform/emulated/WindowTimers.h"
#include "engine/platform/headless/HeadlessWindow.h"

namespace {

// Frame sizes of the styles the engine uses, as the platform's default
// theme draws them.
constexpr int FRAME = 3;
constexpr int CAPTION = 23;
constexpr int CLIENT_EDGE = 2;

struct WindowClassRecord {
  std::string name;
  port::WindowProcedure procedure;
};

struct WindowRecord : emulated::WindowBasics {
  std::string className, caption;
  uint32_t style = 0, exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool visible = false, minimised = false, topmost = false;
  bool needsPaint = false;
  bool shownOnce = false;
};

struct State {
  headless::WindowScript script;
  std::vector<headless::WindowCall> calls;
  std::map<std::string, WindowClassRecord> classes;
  std::map<uintptr_t, WindowRecord> windows;
  uintptr_t nextHandle = 0x1000;
  int cursorCount = 0;
  port::WindowHandle activeWindow = nullptr;
};

std::recursive_mutex& Mutex() { return emulated::WindowSystemMutex(); }
State& S() {
  static State state;
  return state;
}
using Lock = std::lock_guard<std::recursive_mutex>;

void Record(const char* name, std::string text, std::vector<long long> args) {
  Lock lock(Mutex());
  S().calls.push_back(headless::WindowCall{name, std::move(text), std::move(args)});
}

uintptr_t Key(port::WindowHandle window) { return reinterpret_cast<uintptr_t>(window); }
port::WindowHandle Handle(uintptr_t key) { return reinterpret_cast<port::WindowHandle>(key); }

WindowRecord* Find(port::WindowHandle window) {
  auto it = S().windows.find(Key(window));
  return it == S().windows.end() ? nullptr : &it->second;
}

// The frame around the client area for a style: left, top, right, bottom.
port::WindowRect Frame(uint32_t style, uint32_t exStyle) {
  port::WindowRect frame{0, 0, 0, 0};
  if ((style & port::WS_CAPTION) == port::WS_CAPTION) {
    frame = port::WindowRect{FRAME, FRAME + CAPTION, FRAME, FRAME};
  }
  if (exStyle & port::WS_EX_CLIENTEDGE) {
    frame.left += CLIENT_EDGE;
    frame.top += CLIENT_EDGE;
    frame.right += CLIENT_EDGE;
    frame.bottom += CLIENT_EDGE;
  }
  return frame;
}

port::WindowRect ClientOnScreen(const WindowRecord& w) {
  const port::WindowRect f = Frame(w.style, w.exStyle);
  const int right = std::max(w.x + f.left, w.x + w.width - f.right);
  const int bottom = std::max(w.y + f.top, w.y + w.height - f.bottom);
  return port::WindowRect{w.x + f.left, w.y + f.top, right, bottom};
}

// A pending WM_PAINT of a window of this thread that the filter admits.
bool PaintMessage(port::WindowHandle filter, port::WindowMessage* message) {
  if (filter == port::THREAD_MESSAGES_ONLY) return false;
  for (auto& [key, w] : S().windows) {
    if (w.owner != std::this_thread::get_id() || !w.needsPaint || !w.visible) continue;
    if (filter != nullptr && Key(filter) != key) continue;
    *message = emulated::MakeMessage(Handle(key), port::WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

}  // namespace

namespace emulated {

WindowBasics* FindWindowBasics(port::WindowHandle window) { return Find(window); }

bool ClientAreaOnScreen(port::WindowHandle window, port::WindowRect* client) {
  WindowRecord* w = Find(window);
  if (w == nullptr) return false;
  *client = ClientOnScreen(*w);
  return true;
}

}  // namespace emulated

namespace headless {

WindowScript& Window() { return S().script; }

const std::vector<WindowCall>& WindowCalls() { return S().calls; }

std::vector<WindowCall> WindowCallsNamed(const std::string& name) {
  Lock lock(Mutex());
  std::vector<WindowCall> named;
  for (const WindowCall& call : S().calls) {
    if (call.name == name) named.push_back(call);
  }
  return named;
}

void ClearWindowCalls() {
  Lock lock(Mutex());
  S().calls = std::vector<headless::WindowCall>();  // the memory too: a long run clears it often
}

WindowView InspectWindow(port::WindowHandle window) {
  Lock lock(Mutex());
  WindowView view;
  WindowRecord* w = Find(window);
  if (w == nullptr) return view;
  view.exists = true;
  view.className = w->className;
  view.caption = w->caption;
  view.style = w->style;
  view.exStyle = w->exStyle;
  view.rect = port::WindowRect{w->x, w->y, w->x + w->width, w->y + w->height};
  view.client = ClientOnScreen(*w);
  view.visible = w->visible;
  view.minimised = w->minimised;
  view.topmost = w->topmost;
  return view;
}

int CursorDisplayCount() { return S().cursorCount; }

// Both messages under one lock, so that the pump sees them together.
void LoseFocus(port::WindowHandle window) {
  Lock lock(Mutex());
  emulated::PostToWindow(window, port::WM_ACTIVATEAPP, 0, 0);
  emulated::PostToWindow(window, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
}

void RegainFocus(port::WindowHandle window) {
  Lock lock(Mutex());
  emulated::PostToWindow(window, port::WM_ACTIVATEAPP, 1, 0);
  emulated::PostToWindow(window, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
}

void ClickCloseBox(port::WindowHandle window) {
  emulated::PostToWindow(window, port::WM_SYSCOMMAND, port::SC_CLOSE, 0);
}

void PostQuitToWindowThread(port::WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return;
  emulated::PostToThread(w->owner, emulated::MakeMessage(nullptr, port::WM_QUIT, 0, 0));
}

int PendingMessageCount(port::WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  return emulated::QueuedMessageCount(w->owner);
}

void ResetWindowScript() {
  Lock lock(Mutex());
  S() = State{};
  emulated::ResetMessageQueues();
  emulated::ResetWindowTimers();
}

}  // namespace headless

namespace port {

uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
  Lock lock(Mutex());
  const std::string name = windowClass->className != nullptr ? windowClass->className : "";
  Record("RegisterClassExA", name, {windowClass->style});
  if (S().script.registerClassFails || name.empty() || S().classes.count(name) != 0) return 0;
  S().classes[name] = WindowClassRecord{name, windowClass->procedure};
  return static_cast<uint16_t>(0xC000 + S().classes.size());
}

int UnregisterClassA(const char* className, InstanceHandle) {
  Lock lock(Mutex());
  const std::string name = className != nullptr ? className : "";
  Record("UnregisterClassA", name, {});
  for (const auto& [key, w] : S().windows) {
    if (w.className == name) return 0;  // still has windows
  }
  return S().classes.erase(name) != 0 ? 1 : 0;
}

WindowHandle CreateWindowExA(uint32_t exStyle, const char* className, const char* windowName,
                             uint32_t style, int x, int y, int width, int height, WindowHandle,
                             void*, InstanceHandle, void*) {
  Lock lock(Mutex());
  const std::string name = className != nullptr ? className : "";
  const std::string caption = windowName != nullptr ? windowName : "";
  Record("CreateWindowExA", name + "|" + caption, {exStyle, style, x, y, width, height});
  auto cls = S().classes.find(name);
  if (S().script.createWindowFails || cls == S().classes.end()) return nullptr;
  WindowRecord w;
  w.className = name;
  w.caption = caption;
  w.style = style;
  w.exStyle = exStyle;
  w.x = x;
  w.y = y;
  w.width = width;
  w.height = height;
  w.procedure = cls->second.procedure;
  w.owner = std::this_thread::get_id();
  w.visible = (style & WS_VISIBLE) != 0;
  w.topmost = (exStyle & WS_EX_TOPMOST) != 0;
  const uintptr_t key = S().nextHandle;
  S().nextHandle += 4;
  S().windows[key] = w;
  return Handle(key);
}

int DestroyWindow(WindowHandle window) {
  Record("DestroyWindow", "", {});
  return emulated::DestroyEmulatedWindow(window, [](WindowHandle gone) {
    if (S().activeWindow == gone) S().activeWindow = nullptr;
    S().windows.erase(Key(gone));
  });
}

WindowHandle FindWindowA(const char* className, const char* windowName) {
  Lock lock(Mutex());
  const std::string name = className != nullptr ? className : "";
  Record("FindWindowA", name, {});
  for (const auto& [key, w] : S().windows) {
    if (w.className != name) continue;
    if (windowName != nullptr && w.caption != windowName) continue;
    return Handle(key);
  }
  if (!name.empty() && name == S().script.otherInstanceClass) return Handle(0xFFFF0);
  return nullptr;
}

int ShowWindow(WindowHandle window, int command) {
  bool firstShow = false;
  {
    Lock lock(Mutex());
    Record("ShowWindow", "", {command});
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    const bool wasVisible = w->visible;
    if (command == SW_HIDE) {
      w->visible = false;
    } else if (command == SW_MINIMIZE) {
      w->minimised = true;
    } else {
      w->visible = true;
      w->minimised = false;
      w->needsPaint = true;
      firstShow = !w->shownOnce;
      w->shownOnce = true;
    }
    if (!wasVisible && w->visible) S().activeWindow = window;
  }
  if (firstShow) emulated::SendFirstShow(window);
  return 1;
}

int UpdateWindow(WindowHandle window) {
  bool paint = false;
  {
    Lock lock(Mutex());
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    paint = w->needsPaint && w->visible;
  }
  if (paint) emulated::SendToWindow(window, WM_PAINT, 0, 0);
  return 1;
}

int IsIconic(WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  return w != nullptr && w->minimised ? 1 : 0;
}

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                 uint32_t flags) {
  bool sized = false;
  bool moved = false;
  {
    Lock lock(Mutex());
    Record("SetWindowPos", "", {static_cast<long long>(reinterpret_cast<intptr_t>(insertAfter)), x, y,
                                width, height, flags});
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    if (!(flags & SWP_NOZORDER)) {
      if (insertAfter == HWND_TOPMOST) w->topmost = true;
      if (insertAfter == HWND_NOTOPMOST) w->topmost = false;
    }
    if (!(flags & SWP_NOMOVE)) {
      moved = w->x != x || w->y != y;
      w->x = x;
      w->y = y;
    }
    if (!(flags & SWP_NOSIZE)) {
      sized = w->width != width || w->height != height;
      w->width = width;
      w->height = height;
    }
  }
  emulated::SendGeometryChange(window, sized, moved);
  return 1;
}

int MoveWindow(WindowHandle window, int x, int y, int width, int height, int) {
  bool sized = false;
  bool moved = false;
  {
    Lock lock(Mutex());
    Record("MoveWindow", "", {x, y, width, height});
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    moved = w->x != x || w->y != y;
    sized = w->width != width || w->height != height;
    w->x = x;
    w->y = y;
    w->width = width;
    w->height = height;
  }
  emulated::SendGeometryChange(window, sized, moved);
  return 1;
}

int32_t SetWindowLongA(WindowHandle window, int index, int32_t value) {
  Lock lock(Mutex());
  Record("SetWindowLongA", "", {index, static_cast<uint32_t>(value)});
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  uint32_t* field = index == GWL_STYLE ? &w->style : index == GWL_EXSTYLE ? &w->exStyle : nullptr;
  if (field == nullptr) return 0;
  const uint32_t previous = *field;
  *field = static_cast<uint32_t>(value);
  if (index == GWL_STYLE) w->visible = (*field & WS_VISIBLE) != 0 || w->visible;
  return static_cast<int32_t>(previous);
}

int AdjustWindowRectEx(WindowRect* rect, uint32_t style, int, uint32_t exStyle) {
  const WindowRect f = Frame(style, exStyle);
  rect->left -= f.left;
  rect->top -= f.top;
  rect->right += f.right;
  rect->bottom += f.bottom;
  return 1;
}

int GetWindowRect(WindowHandle window, WindowRect* rect) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  *rect = WindowRect{w->x, w->y, w->x + w->width, w->y + w->height};
  return 1;
}

int BringWindowToTop(WindowHandle window) {
  Record("BringWindowToTop", "", {});
  return Find(window) != nullptr ? 1 : 0;
}

WindowHandle SetActiveWindow(WindowHandle window) {
  Lock lock(Mutex());
  Record("SetActiveWindow", "", {});
  WindowHandle previous = S().activeWindow;
  if (Find(window) != nullptr) S().activeWindow = window;
  return previous;
}

int SetForegroundWindow(WindowHandle window) {
  Lock lock(Mutex());
  Record("SetForegroundWindow", "", {});
  if (Find(window) == nullptr) return 0;
  S().activeWindow = window;
  return 1;
}

WindowHandle GetForegroundWindow() {
  Lock lock(Mutex());
  return S().activeWindow;
}

uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) {
  Lock lock(Mutex());
  if (processId != nullptr) *processId = 1;
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  return static_cast<uint32_t>(std::hash<std::thread::id>()(w->owner) | 1);
}

int AttachThreadInput(uint32_t attachingThread, uint32_t attachedToThread, int attach) {
  Record("AttachThreadInput", "", {attachingThread, attachedToThread, attach});
  return attachingThread != 0 && attachedToThread != 0 ? 1 : 0;
}

int GetSystemMetrics(int index) {
  Lock lock(Mutex());
  if (index == SM_CXSCREEN) return S().script.desktopWidth;
  if (index == SM_CYSCREEN) return S().script.desktopHeight;
  return 0;
}

int SystemParametersInfoA(uint32_t action, uint32_t uiParam, void* pvParam, uint32_t winIni) {
  Record("SystemParametersInfoA", "",
         {action, uiParam, static_cast<long long>(reinterpret_cast<uintptr_t>(pvParam)), winIni});
  if (action == SPI_GETFOREGROUNDLOCKTIMEOUT && pvParam != nullptr) {
    *static_cast<uint32_t*>(pvParam) = 200000;
  }
  return 1;
}

int PeekMessageA(WindowMessage* message, WindowHandle window, uint32_t, uint32_t, uint32_t removal) {
  Lock lock(Mutex());
  const bool remove = (removal & PM_REMOVE) != 0;
  if (emulated::TakeQueuedMessage(window, remove, message)) return 1;
  if (PaintMessage(window, message)) return 1;
  return emulated::TakeDueTimerMessage(window, remove, message) ? 1 : 0;
}

int GetMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax) {
  while (!PeekMessageA(message, window, filterMin, filterMax, PM_REMOVE)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return message->message == WM_QUIT ? 0 : 1;
}

LResult DefWindowProcA(WindowHandle window, uint32_t message, WParam wParam, LParam) {
  emulated::DefaultWindowAction(window, message, wParam);
  return 0;
}

DeviceContext BeginPaint(WindowHandle window, PaintStruct* paint) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return nullptr;
  w->needsPaint = false;
  const WindowRect client = ClientOnScreen(*w);
  paint->deviceContext = emulated::DeviceContextOf(window);
  paint->erase = 0;
  paint->paintArea = WindowRect{0, 0, client.right - client.left, client.bottom - client.top};
  return paint->deviceContext;
}

int FillRect(DeviceContext, const WindowRect* rect, GdiObject brush) {
  Record("FillRect", "", {rect->left, rect->top, rect->right, rect->bottom,
                          static_cast<long long>(reinterpret_cast<uintptr_t>(brush))});
  return 1;
}

int GetDeviceCaps(DeviceContext, int index) {
  Lock lock(Mutex());
  if (index == BITSPIXEL) return S().script.desktopBitsPerPixel;
  if (index == PLANES) return S().script.desktopPlanes;
  return 0;
}

CursorHandle SetCursor(CursorHandle cursor) {
  Record("SetCursor", "", {static_cast<long long>(reinterpret_cast<uintptr_t>(cursor))});
  return nullptr;
}

int ShowCursor(int show) {
  Lock lock(Mutex());
  S().cursorCount += show ? 1 : -1;
  return S().cursorCount;
}

int GetCursorPos(Point* point) {
  Lock lock(Mutex());
  *point = S().script.cursorPosition;
  return 1;
}

uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure) {
  Lock lock(Mutex());
  Record("SetTimer", "", {static_cast<long long>(id), milliseconds});
  if (Find(window) == nullptr) return 0;
  return emulated::StartWindowTimer(window, id, milliseconds, procedure);
}

int KillTimer(WindowHandle window, uintptr_t id) {
  Lock lock(Mutex());
  Record("KillTimer", "", {static_cast<long long>(id)});
  return emulated::StopWindowTimer(window, id) ? 1 : 0;
}

int MessageBoxA(WindowHandle, const char* text, const char* caption, unsigned style) {
  Lock lock(Mutex());
  Record("MessageBoxA", std::string(text != nullptr ? text : "") + "|" + (caption != nullptr ? caption : ""),
         {style});
  return S().script.messageBoxAnswer;
}

}  // namespace port
