// Direct3D's window for a program whose window system is the emulated one
// (the headless window port): Direct3D needs a real window to make its
// device for and to present to, so the emulated main window gets a real
// stand-in of the same client size, made on first use. Its messages are
// dispatched whenever Direct3D is handed it; nothing else reads them.
#include "engine/platform/win32/Direct3D9Window.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"VexloDirect3DStandIn";
constexpr DWORD STYLE = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

HWND standIn = nullptr;
SIZE standInClient = {0, 0};

SIZE ClientSizeOf(port::WindowHandle window) {
  port::WindowRect client{};
  port::GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

SIZE OuterSize(SIZE client) {
  RECT rect = {0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&rect, STYLE, FALSE, 0);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HWND MakeStandIn(SIZE client) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = CLASS_NAME;
  RegisterClassExW(&windowClass);
  const SIZE outer = OuterSize(client);
  return CreateWindowExW(0, CLASS_NAME, L"Vexlo Direct3D", STYLE, 0, 0, outer.cx, outer.cy,
                         nullptr, nullptr, windowClass.hInstance, nullptr);
}

void DispatchStandInMessages() {
  MSG message;
  while (PeekMessageW(&message, standIn, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

}  // namespace

HWND Direct3DWindow(port::WindowHandle window) {
  if (window == nullptr) return nullptr;
  const SIZE client = ClientSizeOf(window);
  if (standIn == nullptr) {
    standIn = MakeStandIn(client);
  } else if (client.cx != standInClient.cx || client.cy != standInClient.cy) {
    const SIZE outer = OuterSize(client);
    SetWindowPos(standIn, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
  }
  standInClient = client;
  DispatchStandInMessages();
  return standIn;
}
