// The window port over SDL: each window is one SDL window whose client
// area is the whole SDL window (the window manager's frame lies outside
// it), SDL's events become the messages the engine's window procedure
// handles, and a lock file named after the class tells a second instance
// that one runs already.
//
// A full-screen display mode is emulated on the desktop's own mode: while
// the engine has one set, its full-screen windows (those without a
// caption) cover the desktop in SDL's desktop full screen, and the screen
// of the mode's size that the engine sees is shown scaled on them
// (PresentPort.cpp). Those windows report the place and size the engine
// gave them, and mouse positions come back through the scaling.
#include <SDL.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/WindowPort.h"
#include "engine/platform/emulated/GdiHandles.h"
#include "engine/platform/emulated/MessageQueue.h"
#include "engine/platform/emulated/PictureScaling.h"
#include "engine/platform/emulated/WindowGeometry.h"
#include "engine/platform/emulated/WindowSystem.h"
#include "engine/platform/emulated/WindowTimers.h"
#include "engine/platform/posix/FilesPathView.h"
#include "engine/platform/sdl/SdlWindow.h"
#include "engine/platform/sdl/X11Window.h"

namespace {

struct WindowRecord : emulated::WindowBasics {
  std::string className;
  SDL_Window* sdl = nullptr;
  uint32_t style = 0, exStyle = 0;
  bool shownOnce = false;
  bool needsPaint = false;
  int lockFile = -1;  // held while the window exists
  // Covering the desktop for the emulated display mode; meanwhile the
  // engine sees the rectangle it gave the window, kept in `placed`.
  bool coversScreen = false;
  port::WindowRect placed{};
};

struct State {
  std::map<std::string, port::WindowProcedure> classes;
  std::map<uintptr_t, WindowRecord> windows;
  uintptr_t nextHandle = 0x1000;
  int cursorCount = 0;
  bool cursorSuppressed = false;  // SetCursor(null)
  // The display mode set by ChangeDisplaySettingsA, if any.
  bool displayModeSet = false;
  emulated::PictureSize displayMode{0, 0};
};

std::recursive_mutex& Mutex() { return emulated::WindowSystemMutex(); }
State& S() {
  static State state;
  return state;
}
using Lock = std::lock_guard<std::recursive_mutex>;

// A handle that names a window of another process (FindWindowA's answer
// when another instance holds the class's lock).
port::WindowHandle const FOREIGN_WINDOW = reinterpret_cast<port::WindowHandle>(uintptr_t{0xFFFF0});

uintptr_t Key(port::WindowHandle window) { return reinterpret_cast<uintptr_t>(window); }
port::WindowHandle Handle(uintptr_t key) { return reinterpret_cast<port::WindowHandle>(key); }

WindowRecord* Find(port::WindowHandle window) {
  auto it = S().windows.find(Key(window));
  return it == S().windows.end() ? nullptr : &it->second;
}

port::WindowHandle FindBySdlId(uint32_t id) {
  for (auto& [key, w] : S().windows) {
    if (w.sdl != nullptr && SDL_GetWindowID(w.sdl) == id) return Handle(key);
  }
  return nullptr;
}

bool VideoReady() {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
  return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

std::string Utf8(const char* cp932) {
  std::string utf8;
  if (cp932 == nullptr) return utf8;
  if (!filesview::Cp932ToUtf8(cp932, &utf8)) utf8 = cp932;
  return utf8;
}

// The X window class is the window class's name, so that the window is
// found by it from outside as on the platform. Set on the X window before
// it is mapped.
void UseClassNameForTheSystem(SDL_Window* sdl, const char* className) {
  sdlx11::SetWindowClass(sdl, Utf8(className).c_str());
}

// Lock files: flock() on a file named after the class. Open and locked,
// the descriptor is returned; -1 when another process holds the lock (or
// the file cannot be made).
int TakeInstanceLock(const char* className) {
  const std::string path = sdlwindow::InstanceLockPath(className);
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (file < 0) return -1;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    close(file);
    return -1;
  }
  return file;
}

void DropInstanceLock(int file) {
  if (file < 0) return;
  flock(file, LOCK_UN);
  close(file);
}

bool GeometryOf(const WindowRecord& w, port::WindowRect* rect) {
  if (w.sdl == nullptr) return false;
  if (w.coversScreen) {
    *rect = w.placed;
    return true;
  }
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(w.sdl, &x, &y);
  SDL_GetWindowSize(w.sdl, &width, &height);
  *rect = port::WindowRect{x, y, x + width, y + height};
  return true;
}

bool HasFullScreenStyle(const WindowRecord& w) {
  return (w.style & port::WS_CAPTION) != port::WS_CAPTION;
}

// A point on a covering window's real surface (relative to its top-left
// corner) on the screen of the display mode.
port::Point ModeScreenPoint(const WindowRecord& w, int x, int y) {
  int width = 0, height = 0;
  SDL_GetWindowSize(w.sdl, &width, &height);
  const emulated::PictureSize mode = S().displayMode;
  return emulated::ScreenToPicture({x, y}, emulated::FitPictureToScreen(mode, {width, height}), mode);
}

// A point of the window's real surface in the client area the engine sees.
port::Point ClientPoint(const WindowRecord& w, int x, int y) {
  if (!w.coversScreen) return port::Point{x, y};
  const port::Point onScreen = ModeScreenPoint(w, x, y);
  return port::Point{onScreen.x - w.placed.left, onScreen.y - w.placed.top};
}

// The window covers the desktop in SDL's desktop full screen (the monitor's
// mode is not touched; without a window manager to ask, the window covers
// the screen by itself); the engine goes on seeing the rectangle it gave it.
bool CoverScreen(WindowRecord& w) {
  if (w.coversScreen) return true;
  port::WindowRect placed{};
  GeometryOf(w, &placed);
  if (SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(w.sdl);
  if (SDL_SetWindowFullscreen(w.sdl, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  w.placed = placed;
  w.coversScreen = true;
  SDL_Rect screen;
  if (!sdlx11::WindowManagerRuns(w.sdl) &&
      SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(w.sdl), 0), &screen) == 0)
    sdlx11::PlaceWindow(w.sdl, screen.x, screen.y, screen.w, screen.h);
  SDL_RaiseWindow(w.sdl);
  w.needsPaint = true;
  return true;
}

// Back to the place and size the engine gave the window.
void UncoverScreen(WindowRecord& w) {
  if (!w.coversScreen) return;
  SDL_SetWindowFullscreen(w.sdl, 0);
  w.coversScreen = false;
  const int width = w.placed.right - w.placed.left, height = w.placed.bottom - w.placed.top;
  SDL_SetWindowPosition(w.sdl, w.placed.left, w.placed.top);
  SDL_SetWindowSize(w.sdl, width, height);
  if (!sdlx11::WindowManagerRuns(w.sdl)) sdlx11::PlaceWindow(w.sdl, w.placed.left, w.placed.top, width, height);
  w.needsPaint = true;
}

void ApplyCursor() {
  const bool visible = S().cursorCount >= 0 && !S().cursorSuppressed;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void PostMouse(port::WindowHandle window, uint32_t message, int x, int y) {
  WindowRecord* w = Find(window);
  if (w == nullptr) return;
  const port::Point client = ClientPoint(*w, x, y);
  emulated::PostToWindow(window, message, 0, port::MakeLParam(client.x, client.y));
}

uint32_t ButtonMessage(uint8_t button, bool down) {
  switch (button) {
    case SDL_BUTTON_LEFT: return down ? port::WM_LBUTTONDOWN : port::WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT: return down ? port::WM_RBUTTONDOWN : port::WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE: return down ? port::WM_MBUTTONDOWN : port::WM_MBUTTONUP;
    default: return 0;
  }
}

void TranslateWindowEvent(const SDL_WindowEvent& event) {
  port::WindowHandle window = FindBySdlId(event.windowID);
  if (window == nullptr) return;
  // The real place and size of a window that covers the desktop are not
  // the engine's business: it keeps the ones it gave.
  const bool covers = Find(window)->coversScreen;
  if (covers && (event.event == SDL_WINDOWEVENT_MOVED || event.event == SDL_WINDOWEVENT_SIZE_CHANGED))
    return;
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      emulated::PostToWindow(window, port::WM_ACTIVATEAPP, 1, 0);
      emulated::PostToWindow(window, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      emulated::PostToWindow(window, port::WM_ACTIVATEAPP, 0, 0);
      emulated::PostToWindow(window, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
      break;
    case SDL_WINDOWEVENT_CLOSE:
      emulated::PostToWindow(window, port::WM_SYSCOMMAND, port::SC_CLOSE, 0);
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      Find(window)->needsPaint = true;
      break;
    case SDL_WINDOWEVENT_MOVED:
      emulated::PostToWindow(window, port::WM_MOVE, 0, port::MakeLParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      emulated::PostToWindow(window, port::WM_SIZE, port::SIZE_RESTORED, port::MakeLParam(event.data1, event.data2));
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      emulated::PostToWindow(window, port::WM_SIZE, port::SIZE_MINIMIZED, 0);
      break;
    default:
      break;
  }
}

// SDL's events of this thread's windows become posted messages.
void TranslateEvents() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    Lock lock(Mutex());
    switch (event.type) {
      case SDL_WINDOWEVENT:
        TranslateWindowEvent(event.window);
        break;
      case SDL_QUIT:
        for (auto& [key, w] : S().windows) emulated::PostToWindow(Handle(key), port::WM_SYSCOMMAND, port::SC_CLOSE, 0);
        break;
      case SDL_MOUSEMOTION:
        PostMouse(FindBySdlId(event.motion.windowID), port::WM_MOUSEMOVE, event.motion.x, event.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const uint32_t message = ButtonMessage(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        if (message != 0) PostMouse(FindBySdlId(event.button.windowID), message, event.button.x, event.button.y);
        break;
      }
      case SDL_MOUSEWHEEL: {
        const int delta = event.wheel.y * 120;
        emulated::PostToWindow(FindBySdlId(event.wheel.windowID), port::WM_MOUSEWHEEL,
                     static_cast<port::WParam>(static_cast<uint16_t>(delta)) << 16, 0);
        break;
      }
      case SDL_TEXTINPUT: {
        // The text as code page 932 bytes, one WM_CHAR per byte.
        std::string text;
        if (!filesview::Utf8ToCp932(event.text.text, &text)) break;
        port::WindowHandle window = FindBySdlId(event.text.windowID);
        for (unsigned char c : text) emulated::PostToWindow(window, port::WM_CHAR, c, 0);
        break;
      }
      default:
        break;
    }
  }
}

bool PaintMessage(port::WindowHandle filter, port::WindowMessage* message) {
  if (filter == port::THREAD_MESSAGES_ONLY) return false;
  for (auto& [key, w] : S().windows) {
    if (w.owner != std::this_thread::get_id() || !w.needsPaint) continue;
    if (filter != nullptr && Key(filter) != key) continue;
    *message = emulated::MakeMessage(Handle(key), port::WM_PAINT, 0, 0);
    return true;
  }
  return false;
}

bool OwnsWindows() {
  for (auto& [key, w] : S().windows) {
    if (w.owner == std::this_thread::get_id()) return true;
  }
  return false;
}

}  // namespace

namespace emulated {

WindowBasics* FindWindowBasics(port::WindowHandle window) { return Find(window); }

// The frame lies outside the SDL window: its rectangle is the client area.
bool ClientAreaOnScreen(port::WindowHandle window, port::WindowRect* client) {
  WindowRecord* w = Find(window);
  return w != nullptr && GeometryOf(*w, client);
}

}  // namespace emulated

namespace sdlwindow {

SDL_Window* WindowOf(port::WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  return w != nullptr ? w->sdl : nullptr;
}

SDL_Window* WindowOfDeviceContext(port::DeviceContext deviceContext) {
  return WindowOf(emulated::WindowOfDeviceContext(deviceContext));
}

bool SetDisplayMode(const emulated::PictureSize* mode) {
  Lock lock(Mutex());
  if (mode == nullptr) {
    S().displayModeSet = false;
    for (auto& [key, w] : S().windows) UncoverScreen(w);
    return true;
  }
  if (!VideoReady()) return false;
  S().displayModeSet = true;
  S().displayMode = *mode;
  for (auto& [key, w] : S().windows) {
    if (HasFullScreenStyle(w) && !CoverScreen(w)) {
      SetDisplayMode(nullptr);
      return false;
    }
  }
  return true;
}

bool CoveredScreen(SDL_Window* window, emulated::PictureSize* screen, port::Point* clientOrigin) {
  Lock lock(Mutex());
  for (auto& [key, w] : S().windows) {
    if (w.sdl != window || !w.coversScreen) continue;
    *screen = S().displayMode;
    *clientOrigin = port::Point{w.placed.left, w.placed.top};
    return true;
  }
  return false;
}

std::string InstanceLockPath(const char* className) {
  const char* directory = std::getenv("XDG_RUNTIME_DIR");
  if (directory == nullptr || *directory == '\0') directory = std::getenv("TMPDIR");
  if (directory == nullptr || *directory == '\0') directory = "/tmp";
  std::string path = std::string(directory) + "/vexlo-instance-";
  char hex[3];
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(className); *p != 0; ++p) {
    std::snprintf(hex, sizeof hex, "%02x", *p);
    path += hex;
  }
  return path + ".lock";
}

}  // namespace sdlwindow

namespace port {

uint16_t RegisterClassExA(const WindowClassEx* windowClass) {
  Lock lock(Mutex());
  if (windowClass->className == nullptr || *windowClass->className == '\0') return 0;
  if (S().classes.count(windowClass->className) != 0) return 0;
  S().classes[windowClass->className] = windowClass->procedure;
  return static_cast<uint16_t>(0xC000 + S().classes.size());
}

int UnregisterClassA(const char* className, InstanceHandle) {
  Lock lock(Mutex());
  if (className == nullptr) return 0;
  for (const auto& [key, w] : S().windows) {
    if (w.className == className) return 0;
  }
  return S().classes.erase(className) != 0 ? 1 : 0;
}

WindowHandle CreateWindowExA(uint32_t exStyle, const char* className, const char* windowName,
                             uint32_t style, int x, int y, int width, int height, WindowHandle,
                             void*, InstanceHandle, void*) {
  Lock lock(Mutex());
  if (className == nullptr) return nullptr;
  auto cls = S().classes.find(className);
  if (cls == S().classes.end() || !VideoReady()) return nullptr;
  const int lockFile = TakeInstanceLock(className);
  if (lockFile < 0) return nullptr;

  // Full screen: a borderless window over the screen area; windowed: a
  // normal window whose client area is the requested size.
  const bool fullScreen = (style & WS_CAPTION) != WS_CAPTION;
  uint32_t flags = SDL_WINDOW_HIDDEN;
  if (fullScreen) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
  // Made for OpenGL where it can be, so that a renderer made on it later
  // keeps this X window (and its class) instead of making a new one.
  const std::string title = Utf8(windowName);
  SDL_Window* sdl = SDL_CreateWindow(title.c_str(), x, y, width, height, flags | SDL_WINDOW_OPENGL);
  if (sdl == nullptr) sdl = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
  if (sdl == nullptr) {
    DropInstanceLock(lockFile);
    return nullptr;
  }
  UseClassNameForTheSystem(sdl, className);
  WindowRecord w;
  w.className = className;
  w.sdl = sdl;
  w.procedure = cls->second;
  w.owner = std::this_thread::get_id();
  w.style = style;
  w.exStyle = exStyle;
  w.lockFile = lockFile;
  const uintptr_t key = S().nextHandle;
  S().nextHandle += 4;
  S().windows[key] = w;
  if (S().displayModeSet && HasFullScreenStyle(w)) CoverScreen(S().windows[key]);
  if (style & WS_VISIBLE) SDL_ShowWindow(sdl);
  return Handle(key);
}

int DestroyWindow(WindowHandle window) {
  return emulated::DestroyEmulatedWindow(window, [](WindowHandle gone) {
    WindowRecord* w = Find(gone);
    SDL_DestroyWindow(w->sdl);
    DropInstanceLock(w->lockFile);
    S().windows.erase(Key(gone));
  });
}

WindowHandle FindWindowA(const char* className, const char* windowName) {
  Lock lock(Mutex());
  if (className == nullptr) return nullptr;
  for (const auto& [key, w] : S().windows) {
    if (w.className != className) continue;
    if (windowName != nullptr && (w.sdl == nullptr || Utf8(windowName) != SDL_GetWindowTitle(w.sdl))) continue;
    return Handle(key);
  }
  // No window of ours: another process has one when it holds the lock.
  const int probe = TakeInstanceLock(className);
  if (probe < 0) return FOREIGN_WINDOW;
  DropInstanceLock(probe);
  return nullptr;
}

int ShowWindow(WindowHandle window, int command) {
  bool firstShow = false;
  {
    Lock lock(Mutex());
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    if (command == SW_HIDE) {
      SDL_HideWindow(w->sdl);
    } else if (command == SW_MINIMIZE) {
      SDL_MinimizeWindow(w->sdl);
    } else {
      SDL_ShowWindow(w->sdl);
      if (command == SW_RESTORE) SDL_RestoreWindow(w->sdl);
      w->needsPaint = true;
      firstShow = !w->shownOnce;
      w->shownOnce = true;
    }
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
    paint = w->needsPaint;
  }
  if (paint) emulated::SendToWindow(window, WM_PAINT, 0, 0);
  return 1;
}

int IsIconic(WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  return w != nullptr && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_MINIMIZED) ? 1 : 0;
}

int SetWindowPos(WindowHandle window, WindowHandle insertAfter, int x, int y, int width, int height,
                 uint32_t flags) {
  bool sized = false;
  bool moved = false;
  {
    Lock lock(Mutex());
    WindowRecord* w = Find(window);
    if (w == nullptr) return 0;
    port::WindowRect rect{};
    GeometryOf(*w, &rect);
    moved = !(flags & SWP_NOMOVE) && (rect.left != x || rect.top != y);
    sized = !(flags & SWP_NOSIZE) && (rect.right - rect.left != width || rect.bottom - rect.top != height);
    if (w->coversScreen) {
      // Still covering the desktop: only the place the engine sees changes.
      if (moved) w->placed = port::WindowRect{x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
      if (sized) {
        w->placed.right = w->placed.left + width;
        w->placed.bottom = w->placed.top + height;
      }
    } else {
      if (moved) SDL_SetWindowPosition(w->sdl, x, y);
      if (sized) SDL_SetWindowSize(w->sdl, width, height);
    }
    if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)) {
      SDL_RaiseWindow(w->sdl);
    }
  }
  emulated::SendGeometryChange(window, sized, moved);
  return 1;
}

int MoveWindow(WindowHandle window, int x, int y, int width, int height, int) {
  return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}

int32_t SetWindowLongA(WindowHandle window, int index, int32_t value) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  uint32_t* field = index == GWL_STYLE ? &w->style : index == GWL_EXSTYLE ? &w->exStyle : nullptr;
  if (field == nullptr) return 0;
  const uint32_t previous = *field;
  *field = static_cast<uint32_t>(value);
  if (index == GWL_STYLE) {
    const bool bordered = (*field & WS_CAPTION) == WS_CAPTION;
    if (bordered) UncoverScreen(*w);
    SDL_SetWindowBordered(w->sdl, bordered ? SDL_TRUE : SDL_FALSE);
    if (!bordered && S().displayModeSet) CoverScreen(*w);
    if (*field & WS_VISIBLE) SDL_ShowWindow(w->sdl);
  }
  return static_cast<int32_t>(previous);
}

// The frame lies outside the SDL window: the window's rectangle is its
// client area.
int AdjustWindowRectEx(WindowRect*, uint32_t, int, uint32_t) { return 1; }

int GetWindowRect(WindowHandle window, WindowRect* rect) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  return w != nullptr && GeometryOf(*w, rect) ? 1 : 0;
}

int BringWindowToTop(WindowHandle window) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  SDL_RaiseWindow(w->sdl);
  return 1;
}

WindowHandle SetActiveWindow(WindowHandle window) {
  BringWindowToTop(window);
  return window;
}

int SetForegroundWindow(WindowHandle window) { return BringWindowToTop(window); }

WindowHandle GetForegroundWindow() {
  Lock lock(Mutex());
  for (auto& [key, w] : S().windows) {
    if (SDL_GetWindowFlags(w.sdl) & SDL_WINDOW_INPUT_FOCUS) return Handle(key);
  }
  return nullptr;
}

uint32_t GetWindowThreadProcessId(WindowHandle window, uint32_t* processId) {
  Lock lock(Mutex());
  if (processId != nullptr) *processId = static_cast<uint32_t>(getpid());
  WindowRecord* w = Find(window);
  if (w == nullptr) return 0;
  return static_cast<uint32_t>(std::hash<std::thread::id>()(w->owner) | 1);
}

// One process, one input queue: nothing to attach.
int AttachThreadInput(uint32_t, uint32_t, int) { return 1; }

// While a display mode is set, the screen the engine sees has its size.
int GetSystemMetrics(int index) {
  {
    Lock lock(Mutex());
    if (S().displayModeSet && index == SM_CXSCREEN) return S().displayMode.width;
    if (S().displayModeSet && index == SM_CYSCREEN) return S().displayMode.height;
  }
  if (!VideoReady()) return 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  if (index == SM_CXSCREEN) return mode.w;
  if (index == SM_CYSCREEN) return mode.h;
  return 0;
}

// No screen saver or foreground lock to change: the desktop's own settings
// stay as they are.
int SystemParametersInfoA(uint32_t action, uint32_t, void* pvParam, uint32_t) {
  if (action == SPI_GETFOREGROUNDLOCKTIMEOUT && pvParam != nullptr) *static_cast<uint32_t*>(pvParam) = 0;
  if (action == SPI_SETSCREENSAVEACTIVE && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    // FALSE keeps the screen saver off while the window exists.
  }
  return 1;
}

int PeekMessageA(WindowMessage* message, WindowHandle window, uint32_t, uint32_t, uint32_t removal) {
  Lock lock(Mutex());
  if (OwnsWindows()) TranslateEvents();
  const bool remove = (removal & PM_REMOVE) != 0;
  if (emulated::TakeQueuedMessage(window, remove, message)) return 1;
  if (PaintMessage(window, message)) return 1;
  return emulated::TakeDueTimerMessage(window, remove, message) ? 1 : 0;
}

int GetMessageA(WindowMessage* message, WindowHandle window, uint32_t filterMin, uint32_t filterMax) {
  while (!PeekMessageA(message, window, filterMin, filterMax, PM_REMOVE)) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
      SDL_WaitEventTimeout(nullptr, 10);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  return message->message == WM_QUIT ? 0 : 1;
}

LResult DefWindowProcA(WindowHandle window, uint32_t message, WParam wParam, LParam) {
  if (emulated::DefaultWindowAction(window, message, wParam)) return 0;
  if (message == WM_SETCURSOR) {
    Lock lock(Mutex());
    S().cursorSuppressed = false;
    ApplyCursor();
  }
  return 0;
}

DeviceContext BeginPaint(WindowHandle window, PaintStruct* paint) {
  Lock lock(Mutex());
  WindowRecord* w = Find(window);
  WindowRect whole{};
  if (w == nullptr || !GeometryOf(*w, &whole)) return nullptr;
  w->needsPaint = false;
  paint->deviceContext = emulated::DeviceContextOf(window);
  paint->erase = 0;
  paint->paintArea = WindowRect{0, 0, whole.right - whole.left, whole.bottom - whole.top};
  return paint->deviceContext;
}

// Black is the only brush the engine fills with: clear the window.
int FillRect(DeviceContext deviceContext, const WindowRect*, GdiObject) {
  SDL_Window* sdl = sdlwindow::WindowOfDeviceContext(deviceContext);
  if (sdl == nullptr) return 0;
  SDL_Surface* surface = SDL_GetWindowSurface(sdl);
  if (surface == nullptr) return 0;
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  SDL_UpdateWindowSurface(sdl);
  return 1;
}

// The desktop's depth in bits per pixel as stored: a 24-bit colour desktop
// keeps its pixels in 32 bits, as the platform reports it.
int GetDeviceCaps(DeviceContext, int index) {
  if (index == PLANES) return 1;
  if (index != BITSPIXEL || !VideoReady()) return 0;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
  return SDL_BYTESPERPIXEL(mode.format) * 8;
}

CursorHandle SetCursor(CursorHandle cursor) {
  Lock lock(Mutex());
  S().cursorSuppressed = cursor == nullptr;
  ApplyCursor();
  return nullptr;
}

int ShowCursor(int show) {
  Lock lock(Mutex());
  S().cursorCount += show ? 1 : -1;
  ApplyCursor();
  return S().cursorCount;
}

// Over a window that covers the desktop, the position is taken back
// through the scaling into the screen the engine sees.
//
// Over a window of ours, SDL's position in it (kept from the pointer's
// motion events) is exact; SDL's global position may lag behind on X11,
// where it is cached until a raw motion event says otherwise.
int GetCursorPos(Point* point) {
  int x = 0, y = 0;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_Window* under = SDL_GetMouseFocus();
    if (under != nullptr) {
      int left = 0, top = 0;
      SDL_GetMouseState(&x, &y);
      SDL_GetWindowPosition(under, &left, &top);
      x += left;
      y += top;
    } else {
      SDL_GetGlobalMouseState(&x, &y);
    }
  }
  *point = Point{x, y};
  Lock lock(Mutex());
  for (auto& [key, w] : S().windows) {
    if (!w.coversScreen) continue;
    int left = 0, top = 0;
    SDL_GetWindowPosition(w.sdl, &left, &top);
    *point = ModeScreenPoint(w, x - left, y - top);
    break;
  }
  return 1;
}

uintptr_t SetTimer(WindowHandle window, uintptr_t id, uint32_t milliseconds, TimerProcedure procedure) {
  Lock lock(Mutex());
  if (Find(window) == nullptr) return 0;
  return emulated::StartWindowTimer(window, id, milliseconds, procedure);
}

int KillTimer(WindowHandle window, uintptr_t id) { return emulated::StopWindowTimer(window, id) ? 1 : 0; }

// A question box with Yes and No: Return answers Yes, Escape answers No.
int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned style) {
  const std::string message = Utf8(text);
  const std::string title = Utf8(caption);
  if ((style & 0xF) != MB_YESNO) {
    const SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"}};
    const SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, sdlwindow::WindowOf(owner), title.c_str(), message.c_str(), 1, ok, nullptr};
    int button = 0;
    return SDL_ShowMessageBox(&data, &button) == 0 ? 1 : 0;
  }
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, u8"いいえ"},
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, u8"はい"},
  };
  const SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, sdlwindow::WindowOf(owner), title.c_str(),
                                message.c_str(), 2, buttons, nullptr};
  int button = 0;
  if (SDL_ShowMessageBox(&data, &button) != 0) {
    std::fprintf(stderr, "vexlo: the question box could not be shown: %s\n", SDL_GetError());
    return 0;
  }
  return button == IDYES || button == IDNO ? button : 0;
}

}  // namespace port
