#include "engine/platform/sdl/X11Window.h"

#include <SDL_syswm.h>
#include <dlfcn.h>

namespace {

// The X display and window of an SDL window; false off X11.
bool X11Handles(SDL_Window* window, void** display, unsigned long* xWindow) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
    return false;
  *display = info.info.x11.display;
  *xWindow = info.info.x11.window;
  return true;
}

// The X library as SDL loaded it, for the calls looked up in it.
class XLibrary {
 public:
  XLibrary() : library_(dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD)) {}
  ~XLibrary() {
    if (library_ != nullptr) dlclose(library_);
  }
  XLibrary(const XLibrary&) = delete;
  XLibrary& operator=(const XLibrary&) = delete;

  template <typename Function>
  Function Find(const char* name) const {
    return library_ == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(library_, name));
  }

 private:
  void* library_;
};

}  // namespace

namespace sdlx11 {

void SetWindowClass(SDL_Window* window, const char* name) {
  void* display = nullptr;
  unsigned long xWindow = 0;
  if (!X11Handles(window, &display, &xWindow)) return;
  struct ClassHint {
    const char* name;
    const char* className;
  };
  XLibrary x11;
  auto setClassHint = x11.Find<int (*)(void*, unsigned long, ClassHint*)>("XSetClassHint");
  if (setClassHint == nullptr) return;
  ClassHint hint{name, name};
  setClassHint(display, xWindow, &hint);
}

// A window manager that follows the desktop conventions names its check
// window in this property of the root window.
bool WindowManagerRuns(SDL_Window* window) {
  void* display = nullptr;
  unsigned long xWindow = 0;
  if (!X11Handles(window, &display, &xWindow)) return true;
  XLibrary x11;
  auto internAtom = x11.Find<unsigned long (*)(void*, const char*, int)>("XInternAtom");
  auto defaultRoot = x11.Find<unsigned long (*)(void*)>("XDefaultRootWindow");
  auto getProperty = x11.Find<int (*)(void*, unsigned long, unsigned long, long, long, int,
                                      unsigned long, unsigned long*, int*, unsigned long*,
                                      unsigned long*, unsigned char**)>("XGetWindowProperty");
  auto release = x11.Find<int (*)(void*)>("XFree");
  if (internAtom == nullptr || defaultRoot == nullptr || getProperty == nullptr || release == nullptr)
    return true;
  const unsigned long check = internAtom(display, "_NET_SUPPORTING_WM_CHECK", 1);
  if (check == 0) return false;  // the atom was never made: no manager announced itself
  constexpr unsigned long ANY_PROPERTY_TYPE = 0;
  unsigned long type = 0, items = 0, remaining = 0;
  int format = 0;
  unsigned char* value = nullptr;
  const int status = getProperty(display, defaultRoot(display), check, 0, 1, 0, ANY_PROPERTY_TYPE,
                                 &type, &format, &items, &remaining, &value);
  const bool found = status == 0 && value != nullptr && items == 1;
  if (value != nullptr) release(value);
  return found;
}

void PlaceWindow(SDL_Window* window, int x, int y, int width, int height) {
  void* display = nullptr;
  unsigned long xWindow = 0;
  if (!X11Handles(window, &display, &xWindow)) return;
  XLibrary x11;
  auto moveResize = x11.Find<int (*)(void*, unsigned long, int, int, unsigned, unsigned)>("XMoveResizeWindow");
  auto raise = x11.Find<int (*)(void*, unsigned long)>("XRaiseWindow");
  auto flush = x11.Find<int (*)(void*)>("XFlush");
  if (moveResize == nullptr || raise == nullptr || flush == nullptr) return;
  moveResize(display, xWindow, x, y, unsigned(width), unsigned(height));
  raise(display, xWindow);
  flush(display);
}

}  // namespace sdlx11
