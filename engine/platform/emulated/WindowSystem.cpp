#include "engine/platform/emulated/WindowSystem.h"

#include "engine/platform/emulated/MessageQueue.h"
#include "engine/platform/emulated/WindowTimers.h"

namespace emulated {

std::recursive_mutex& WindowSystemMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

port::LResult SendToWindow(port::WindowHandle window, uint32_t message, port::WParam wParam,
                           port::LParam lParam) {
  port::WindowProcedure procedure = nullptr;
  {
    WindowSystemLock lock(WindowSystemMutex());
    if (const WindowBasics* w = FindWindowBasics(window)) procedure = w->procedure;
  }
  return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

int DestroyEmulatedWindow(port::WindowHandle window, void (*release)(port::WindowHandle window)) {
  {
    WindowSystemLock lock(WindowSystemMutex());
    if (FindWindowBasics(window) == nullptr) return 0;
  }
  SendToWindow(window, port::WM_DESTROY, 0, 0);
  WindowSystemLock lock(WindowSystemMutex());
  const WindowBasics* w = FindWindowBasics(window);
  if (w == nullptr) return 1;
  DropQueuedMessagesOf(w->owner, window);
  StopTimersOf(window);
  release(window);
  return 1;
}

bool DefaultWindowAction(port::WindowHandle window, uint32_t message, port::WParam wParam) {
  switch (message) {
    case port::WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == port::SC_CLOSE) SendToWindow(window, port::WM_CLOSE, 0, 0);
      return true;
    case port::WM_CLOSE:
      port::DestroyWindow(window);
      return true;
    case port::WM_PAINT: {
      port::PaintStruct paint{};
      port::BeginPaint(window, &paint);
      port::EndPaint(window, &paint);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace emulated
