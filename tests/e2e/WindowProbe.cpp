// Looks at the game's main window from outside, through the platform's own
// window calls, for the end-to-end scripts of the Windows build (run under
// Wine beside the game). The window is found by its class name, the game's
// caption "ほのみかさ".
//
//   window-probe          prints what it finds, or exits 1 without a window
//   window-probe close    clicks the window's close box
//   window-probe restore  clicks the window's taskbar button: a minimised
//                         window is restored, and the window activated
//
// The report, one value per line:
//   client WIDTH HEIGHT
//   client-origin X Y      (the client area's top-left on the screen)
//   window LEFT TOP RIGHT BOTTOM
//   desktop WIDTH HEIGHT
//   minimised 0|1
//   foreground 0|1         (the window is the active one of the desktop)
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const wchar_t* const GAME_CLASS = L"ほのみかさ";

}  // namespace

int main(int argc, char** argv) {
  HWND window = FindWindowW(GAME_CLASS, nullptr);
  if (window == nullptr) {
    std::printf("no window of that class\n");
    return 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "close") == 0) {
    return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "restore") == 0) {
    if (IsIconic(window) && !PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0)) return 1;
    return SetForegroundWindow(window) ? 0 : 1;
  }
  RECT client{};
  RECT whole{};
  GetClientRect(window, &client);
  GetWindowRect(window, &whole);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::printf("client %ld %ld\n", client.right - client.left, client.bottom - client.top);
  std::printf("client-origin %ld %ld\n", origin.x, origin.y);
  std::printf("window %ld %ld %ld %ld\n", whole.left, whole.top, whole.right, whole.bottom);
  std::printf("desktop %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  std::printf("minimised %d\n", IsIconic(window) ? 1 : 0);
  std::printf("foreground %d\n", GetForegroundWindow() == window ? 1 : 0);
  return 0;
}
