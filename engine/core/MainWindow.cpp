#include "engine/core/MainWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/core/EngineCallLock.h"
#include "engine/core/MainWindowProc.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/SystemInfo.h"
#include "engine/core/Time.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/platform/SystemPort.h"
#include "engine/services/CharSet.h"
#include "engine/services/Log.h"

MainWindowState mainWindowState;
int engineCodePage = 0;
int engineCharSetChosen = 0;

namespace {

int TargetClientWidth() {
  return static_cast<int>(RequestedScreenWidth() * WINDOW_SIZE_RATE_X);
}
int TargetClientHeight() {
  return static_cast<int>(RequestedScreenHeight() * WINDOW_SIZE_RATE_Y);
}

// Copies text into a buffer of size bytes, cut to size - 1 bytes.
void CopyCut(char* buffer, size_t size, const char* text) {
  const size_t length = std::min(std::strlen(text), size - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
}

int Width(const port::WindowRect& rect) { return rect.right - rect.left; }
int Height(const port::WindowRect& rect) { return rect.bottom - rect.top; }

// The client area in screen coordinates, from GetClientRect and the two
// corners mapped by ClientToScreen.
void RecordClientRectangle() {
  port::WindowRect client{};
  port::GetClientRect(mainWindow, &client);
  port::Point topLeft{client.left, client.top};
  port::Point bottomRight{client.right, client.bottom};
  port::ClientToScreen(mainWindow, &topLeft);
  port::ClientToScreen(mainWindow, &bottomRight);
  mainWindowState.clientTopLeft = topLeft;
  mainWindowState.clientBottomRight = bottomRight;
}

// The whole-window rectangle whose client area is (0, 0, width, height)
// with the windowed styles, centred on the desktop.
port::WindowRect CentredWindowedRect(int clientWidth, int clientHeight) {
  port::WindowRect rect{};
  port::SetRect(&rect, 0, 0, clientWidth, clientHeight);
  port::AdjustWindowRectEx(&rect, WINDOWED_STYLE, 0, WINDOWED_EX_STYLE);
  const int dx = (mainWindowState.desktopWidth - Width(rect)) / 2;
  const int dy = (mainWindowState.desktopHeight - Height(rect)) / 2;
  // AdjustWindowRectEx leaves the frame's top-left at a negative offset;
  // the window starts at the centring offset itself.
  const int width = Width(rect);
  const int height = Height(rect);
  rect.left = dx;
  rect.top = dy;
  rect.right = dx + width;
  rect.bottom = dy + height;
  return rect;
}

int DesktopColorBits() {
  port::DeviceContext screen = port::GetDC(nullptr);
  const int bits = port::GetDeviceCaps(screen, port::PLANES) * port::GetDeviceCaps(screen, port::BITSPIXEL);
  port::ReleaseDC(nullptr, screen);
  return bits;
}

// GlobalMemoryStatusEx, bound from Kernel32.dll by name: the 64-bit totals.
void QueryMemoryStatusEx(uint64_t* total, uint64_t* available) {
  port::ModuleHandle kernel = port::LoadLibraryA("Kernel32.dll");
  if (kernel == nullptr) return;
  auto query = reinterpret_cast<port::GlobalMemoryStatusExProc>(
      port::GetProcAddress(kernel, "GlobalMemoryStatusEx"));
  if (query != nullptr) {
    port::MemoryStatusEx status{};
    status.dwLength = port::MEMORYSTATUSEX_SIZE;
    if (query(&status)) {
      *total = status.ullTotalPhys;
      *available = status.ullAvailPhys;
    }
  }
  port::FreeLibrary(kernel);
}

void QueryMemoryStatus(uint64_t* total, uint64_t* available) {
  port::MemoryStatus status{};
  status.dwLength = sizeof status;
  port::GlobalMemoryStatus(&status);
  *total = status.dwTotalPhys;
  *available = status.dwAvailPhys;
}

void LogMemoryTotals() {
  uint64_t total = 0;
  uint64_t available = 0;
  if (WindowsVersionAtLeast(WINDOWS_VERSION_NT4 + 1)) QueryMemoryStatusEx(&total, &available);
  if (total == 0 && available == 0) QueryMemoryStatus(&total, &available);
  const double mebibyte = 1024.0 * 1024.0;
  LogPrintf("メモリ総量:%.2fMB  空きメモリ領域:%.2fMB ", total / mebibyte, available / mebibyte);
  char line[64];
  std::snprintf(line, sizeof line, "%.2fMB\n", available / mebibyte);
  if (!engineSettings.logDisabled) port::OutputDebugStringA(line);
  mainWindowState.totalPhysicalMemory = total;
  mainWindowState.availablePhysicalMemory = available;
}

void ChooseCharacterSet() {
  if (engineCharSetChosen) return;
  switch (port::GetOEMCP()) {
    case 932: currentCharSet = CHARSET_SHIFTJIS; engineCodePage = 932; break;
    case 936: currentCharSet = CHARSET_SIMPLIFIED_CHINESE; engineCodePage = 936; break;
    case 949: currentCharSet = CHARSET_KOREAN; engineCodePage = 949; break;
    case 950: currentCharSet = CHARSET_TRADITIONAL_CHINESE; engineCodePage = 950; break;
    default: currentCharSet = CHARSET_SHIFTJIS; engineCodePage = 0; break;
  }
  engineCharSetChosen = 1;
}

int AnotherInstanceRuns() {
  WriteLog("ソフトの二重起動検査... ");
  if (port::FindWindowA(engineSettings.windowClassName, nullptr) != nullptr) {
    WriteLog("二重起動されています、ソフトを終了します\n");
    mustEnd = 1;
    return 1;
  }
  WriteLog("二重起動はされていませんでした\n");
  return 0;
}

void RegisterWindowClass() {
  WriteLog("ウインドウクラスを登録します... ");
  port::WindowClassEx windowClass{};
  windowClass.size = sizeof windowClass;
  windowClass.style = port::CS_HREDRAW | port::CS_VREDRAW;
  windowClass.procedure = MainWindowProc;
  windowClass.instance = mainWindowState.moduleInstance;
  windowClass.icon = port::LoadIconA(mainWindowState.moduleInstance, port::IDI_APPLICATION);
  windowClass.cursor = port::LoadCursorA(nullptr, port::IDC_ARROW);
  windowClass.background = port::GetStockObject(port::NULL_BRUSH);
  windowClass.className = engineSettings.windowClassName;
  if (port::RegisterClassExA(&windowClass) != 0) {
    WriteLog("登録に成功しました\n");
  } else {
    mustEnd = 1;
  }
}

port::WindowHandle CreateTheWindow() {
  if (windowModeFlag) {
    WriteLog("ウインドウモード起動用のウインドウを作成します\n");
    mainWindowState.cursorWanted = 1;
    const port::WindowRect rect = CentredWindowedRect(TargetClientWidth(), TargetClientHeight());
    return port::CreateWindowExA(WINDOWED_EX_STYLE, engineSettings.windowClassName,
                                 engineSettings.caption, WINDOWED_STYLE, rect.left, rect.top,
                                 Width(rect), Height(rect), nullptr, nullptr,
                                 mainWindowState.moduleInstance, nullptr);
  }
  WriteLog("フルスクリーンモード用のウインドウを作成します\n");
  mainWindowState.cursorWanted = 0;
  return port::CreateWindowExA(FULL_SCREEN_EX_STYLE, engineSettings.windowClassName,
                               engineSettings.caption, FULL_SCREEN_STYLE, 0, 0,
                               RequestedScreenWidth(), RequestedScreenHeight(), nullptr, nullptr,
                               mainWindowState.moduleInstance, nullptr);
}

void ShowCursorUntilVisible() {
  while (port::ShowCursor(1) < 0) {
  }
}
void HideCursorUntilHidden() {
  while (port::ShowCursor(0) >= 0) {
  }
}

}  // namespace

int StoreWindowModeFlag(int flag) {
  windowModeFlag = flag;
  WriteLog(flag ? "ウインドウモードフラグが立てられました\n" : "ウインドウモードフラグが倒されました\n");
  return 0;
}

int ChangeWindowMode(int windowed) {
  WriteLog("ChangeWindowMode実行 \n");
  if (windowed == windowModeFlag) return 0;
  StoreWindowModeFlag(windowed);
  // Without a window the new mode takes effect when the window is created;
  // changing it while the window exists is not needed by this engine's
  // callers.
  return 0;
}

int SetMainWindowCaption(const char* text) {
  if (text == nullptr) text = "";
  CopyCut(engineSettings.caption, sizeof engineSettings.caption, text);
  return 0;
}

int CreateMainWindow() {
  // Clear the window state; the settings, libraries, system information
  // and COM state live elsewhere. The engine-call lock is kept as it is.
  const EngineCallLockState lock = SaveEngineCallLockState();
  mainWindowState = MainWindowState{};
  RestoreEngineCallLockState(lock);

  if (engineSettings.windowClassName[0] == '\0') {
    const char* name = engineSettings.caption[0] != '\0' ? engineSettings.caption : DEFAULT_WINDOW_CLASS_NAME;
    CopyCut(engineSettings.windowClassName, sizeof engineSettings.windowClassName, name);
  }
  mainWindowState.moduleInstance = port::GetModuleHandleA(nullptr);
  mainWindowState.mainThreadId = CurrentEngineThreadId();

  LogMemoryTotals();
  mainWindowState.desktopWidth = port::GetSystemMetrics(port::SM_CXSCREEN);
  mainWindowState.desktopHeight = port::GetSystemMetrics(port::SM_CYSCREEN);
  mainWindowState.desktopColorBits = DesktopColorBits();

  SetUpTimerAndTestPrecision();
  port::SystemParametersInfoA(port::SPI_SETSCREENSAVEACTIVE, 0, nullptr, port::SPIF_SENDCHANGE);
  ChooseCharacterSet();

  if (AnotherInstanceRuns()) return -1;

  mainWindowState.creatingWindow = 1;
  RegisterWindowClass();
  if (engineSettings.caption[0] == '\0') {
    CopyCut(engineSettings.caption, sizeof engineSettings.caption, DEFAULT_CAPTION);
  }

  mainWindow = CreateTheWindow();
  if (mainWindow == nullptr) {
    mustEnd = 1;
    WriteLog("ウインドウの作成に失敗しました\n");
    mainWindowState.creatingWindow = 0;
    return -1;
  }
  WriteLog("ウインドウの作成に成功しました\n");
  port::ShowWindow(mainWindow, port::SW_SHOW);
  port::UpdateWindow(mainWindow);

  windowClosing = 0;
  mainWindowState.windowDestroyed = 0;
  windowActive = 1;

  if (!windowModeFlag) {
    WriteLog("カーソルを不可視にしました\n");
    port::SetCursor(nullptr);
  }
  WriteLog("ＩＭＥを無効にしました\n");
  if (user32Library.WINNLSEnableIME != nullptr) user32Library.WINNLSEnableIME(mainWindow, 0);
  if (windowModeFlag) RecordClientRectangle();
  ShowMouseCursor(mainWindowState.cursorWanted);

  port::BringWindowToTop(mainWindow);
  FitWindowToScreen();
  mainWindowState.creatingWindow = 0;
  return 0;
}

void FitWindowToScreen() {
  port::WindowRect window{};
  port::WindowRect client{};
  port::GetWindowRect(mainWindow, &window);
  if (!port::GetClientRect(mainWindow, &client)) return;

  const int clientWidth = TargetClientWidth();
  const int clientHeight = TargetClientHeight();
  mainWindowState.clientBottomRight.x = mainWindowState.clientTopLeft.x + Width(client);
  mainWindowState.clientBottomRight.y = mainWindowState.clientTopLeft.y + Height(client);

  const int width = clientWidth + (Width(window) - Width(client));
  const int height = clientHeight + (Height(window) - Height(client));
  port::MoveWindow(mainWindow, window.left, window.top, width, height, 1);

  if (windowModeFlag && !mainWindowState.modeChosen) {
    mainWindowState.modeChosen = 1;
    ApplyWindowStyles();
  }
}

void ApplyWindowStyles() {
  WriteLog("ウインドウスタイルをウインドウモード用に変更します... ");
  port::SetWindowLongA(mainWindow, port::GWL_EXSTYLE, static_cast<int32_t>(WINDOWED_EX_STYLE));
  port::SetWindowLongA(mainWindow, port::GWL_STYLE,
                       static_cast<int32_t>(WINDOWED_STYLE | port::WS_VISIBLE));

  port::WindowRect rect = CentredWindowedRect(TargetClientWidth(), TargetClientHeight());
  port::SetWindowPos(mainWindow, port::HWND_NOTOPMOST, rect.left, rect.top, Width(rect), Height(rect), 0);
  port::SetWindowPos(mainWindow, port::HWND_TOP, rect.left, rect.top, Width(rect), Height(rect), 0);

  // A frame larger than the desktop would put the client area off the
  // screen: move the window so that its client area starts on it.
  RecordClientRectangle();
  int moveX = 0;
  int moveY = 0;
  if (mainWindowState.clientTopLeft.x < 0) moveX = -mainWindowState.clientTopLeft.x;
  if (mainWindowState.clientTopLeft.y < 0) moveY = -mainWindowState.clientTopLeft.y;
  if (moveX != 0 || moveY != 0) {
    rect.left += moveX;
    rect.top += moveY;
    mainWindowState.clientTopLeft.x += moveX;
    mainWindowState.clientTopLeft.y += moveY;
    mainWindowState.clientBottomRight.x += moveX;
    mainWindowState.clientBottomRight.y += moveY;
    port::SetWindowPos(mainWindow, port::HWND_TOP, rect.left, rect.top, Width(rect), Height(rect), 0);
  }

  ShowMouseCursor(1);
  WriteLog("完了\n");
  port::SetActiveWindow(mainWindow);
  port::PostMessageA(mainWindow, port::WM_SETCURSOR, reinterpret_cast<port::WParam>(mainWindow), 0);
}

void RecordClientPosition(port::LParam lParam) {
  port::WindowRect client{};
  port::GetClientRect(mainWindow, &client);
  const int x = static_cast<int16_t>(port::LowWord(static_cast<uintptr_t>(lParam)));
  const int y = static_cast<int16_t>(port::HighWord(static_cast<uintptr_t>(lParam)));
  mainWindowState.clientTopLeft = port::Point{x, y};
  mainWindowState.clientBottomRight = port::Point{x + Width(client), y + Height(client)};
  ReapplyFrontTargetArea();
}

int ShowMouseCursor(int wanted) {
  if (wanted != -1) mainWindowState.cursorWanted = wanted;
  const int visible = mainWindowState.cursorWanted == 1 ? 1 : 0;
  if (wanted != -1 && visible == mainWindowState.cursorShown) return 0;
  if (visible) {
    ShowCursorUntilVisible();
  } else {
    HideCursorUntilHidden();
  }
  port::PostMessageA(mainWindow, port::WM_SETCURSOR, reinterpret_cast<port::WParam>(mainWindow), 0);
  mainWindowState.cursorShown = visible;
  return 0;
}
