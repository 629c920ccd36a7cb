#include "engine/platform/emulated/WindowGeometry.h"

#include "engine/platform/emulated/WindowSystem.h"

namespace emulated {

void SendGeometryChange(port::WindowHandle window, bool sized, bool moved) {
  port::WindowRect client{};
  {
    WindowSystemLock lock(WindowSystemMutex());
    if (!ClientAreaOnScreen(window, &client)) return;
  }
  if (sized) {
    SendToWindow(window, port::WM_SIZE, port::SIZE_RESTORED,
                 port::MakeLParam(client.right - client.left, client.bottom - client.top));
  }
  if (moved) SendToWindow(window, port::WM_MOVE, 0, port::MakeLParam(client.left, client.top));
}

void SendFirstShow(port::WindowHandle window) {
  SendToWindow(window, port::WM_ACTIVATEAPP, 1, 0);
  SendToWindow(window, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  SendGeometryChange(window, true, true);
}

}  // namespace emulated

namespace port {

int GetClientRect(WindowHandle window, WindowRect* rect) {
  emulated::WindowSystemLock lock(emulated::WindowSystemMutex());
  WindowRect client{};
  if (!emulated::ClientAreaOnScreen(window, &client)) return 0;
  *rect = WindowRect{0, 0, client.right - client.left, client.bottom - client.top};
  return 1;
}

int ClientToScreen(WindowHandle window, Point* point) {
  emulated::WindowSystemLock lock(emulated::WindowSystemMutex());
  WindowRect client{};
  if (!emulated::ClientAreaOnScreen(window, &client)) return 0;
  point->x += client.left;
  point->y += client.top;
  return 1;
}

}  // namespace port
