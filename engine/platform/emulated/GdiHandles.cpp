#include "engine/platform/emulated/GdiHandles.h"

#include <cstdint>

namespace emulated {

port::DeviceContext DeviceContextOf(port::WindowHandle window) {
  return reinterpret_cast<port::DeviceContext>(reinterpret_cast<uintptr_t>(window) + 1);
}

port::WindowHandle WindowOfDeviceContext(port::DeviceContext deviceContext) {
  return reinterpret_cast<port::WindowHandle>(reinterpret_cast<uintptr_t>(deviceContext) - 1);
}

}  // namespace emulated

namespace port {

IconHandle LoadIconA(InstanceHandle, uintptr_t) { return nullptr; }

CursorHandle LoadCursorA(InstanceHandle, uintptr_t resource) {
  return reinterpret_cast<CursorHandle>(resource);
}

GdiObject GetStockObject(int object) {
  return reinterpret_cast<GdiObject>(static_cast<uintptr_t>(0x100 + object));
}

int SetRect(WindowRect* rect, int left, int top, int right, int bottom) {
  *rect = WindowRect{left, top, right, bottom};
  return 1;
}

DeviceContext GetDC(WindowHandle window) { return emulated::DeviceContextOf(window); }

int ReleaseDC(WindowHandle, DeviceContext) { return 1; }

int EndPaint(WindowHandle, const PaintStruct*) { return 1; }

}  // namespace port
