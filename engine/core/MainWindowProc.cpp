#include "engine/core/MainWindowProc.h"

#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/core/SystemInfo.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/display/WindowHooks.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/input/Input.h"
#include "engine/input/Pads.h"
#include "engine/movie/Movie.h"
#include "engine/network/Network.h"
#include "engine/services/Log.h"
#include "engine/sound/Sound.h"
#include "engine/text_input/TextInput.h"

namespace {

void HideCursorForMouse() {
  if (mainWindowState.cursorShown != 0) return;
  port::SetCursor(nullptr);
  while (port::ShowCursor(0) >= 0) {
  }
}

void HandleActivation(port::WParam wParam) {
  windowActive = port::LowWord(wParam) != 0 ? 1 : 0;
  if (mainWindowState.creatingWindow) return;

  if (windowActive) {
    if (windowModeFlag) {
      PresentAfterActivation();
    } else if (engineStarted) {
      const int minimised = port::HighWord(wParam) != 0;
      if (!minimised) RebuildDisplay();
    }
    ResumePausedMovies();
    ReacquireInputDevices();
  } else if (!windowModeFlag) {
    if (WindowsVersionAtLeast(WINDOWS_VERSION_VISTA) || !hardwareMode) {
      RestoreDesktopDisplayMode();
      port::ShowWindow(mainWindow, port::SW_MINIMIZE);
    }
    if (Direct3DObjectExists()) {
      RestoreDesktopComposition();
      PauseAllMovies();
    } else {
      PauseAllMovies();
      ReacquireInputDevices();
    }
  } else {
    PauseAllMovies();
    ReacquireInputDevices();
  }
  RefreshPadEffects();
}

void HandlePaint(port::WindowHandle window) {
  port::PaintStruct paint{};
  if (port::BeginPaint(window, &paint) == nullptr) return;
  if (windowModeFlag) {
    painting = 1;
    if (!engineStarted) {
      port::FillRect(paint.deviceContext, &paint.paintArea, port::GetStockObject(port::BLACK_BRUSH));
    } else if (CurrentDrawTarget() == TARGET_BACK) {
      const Rect area{paint.paintArea.left, paint.paintArea.top, paint.paintArea.right,
                      paint.paintArea.bottom};
      PresentFrameArea(&area, 0);
    }
    painting = 0;
  }
  port::EndPaint(window, &paint);
}

// A desktop change the screen cannot follow while windowed ends the
// program; any other change resumes the movies.
void HandleDisplayChange(port::WParam wParam, port::LParam lParam) {
  if (!windowModeFlag) return;
  const int bits = static_cast<int>(wParam);
  const int width = static_cast<int>(port::LowWord(static_cast<uintptr_t>(lParam)));
  const int height = static_cast<int>(port::HighWord(static_cast<uintptr_t>(lParam)));
  const int screenWidth = ScreenWidth();
  const int screenHeight = ScreenHeight();
  const int screenBits = ScreenColorBits();
  if (bits == screenBits && width == screenWidth && height == screenHeight) return;

  const bool cannotFollow = bits == 24 || (bits == 8 && screenBits != 8) ||
                            width < screenWidth || height < screenHeight;
  if (!cannotFollow) {
    ResumePausedMovies();
    return;
  }
  WriteLog("復元関数が登録されていないためか画面が２４ビットカラーに変更されたため終了します\n");
  WriteLog("またはスクリーンが小さすぎるためか色ビット数の違いが大きいためか終了します\n");
  if (!windowClosing) {
    windowClosing = 1;
    port::PostMessageA(mainWindow, port::WM_CLOSE, 0, 0);
  }
}

void RefreshWindowRect() { port::GetWindowRect(mainWindow, &mainWindowState.windowRect); }

}  // namespace

port::LResult MainWindowProc(port::WindowHandle window, uint32_t message, port::WParam wParam,
                             port::LParam lParam) {
  switch (message) {
    case port::WM_DESTROY:
      WriteLog("ウインドウが破棄されようとしています\n");
      mainWindowState.windowDestroyed = 1;
      port::PostQuitMessage(0);
      mustEnd = 1;
      WriteLog("ソフトを終了する準備が整いました\n");
      break;

    case port::WM_MOVE:
      RefreshWindowRect();
      if (windowModeFlag) RecordClientPosition(lParam);
      break;

    case port::WM_SIZE:
      RefreshWindowRect();
      if (wParam != port::SIZE_MAXIMIZED) FitWindowToScreen();
      break;

    case port::WM_ACTIVATE:
      HandleActivation(wParam);
      break;

    case port::WM_ACTIVATEAPP:
      if (wParam == 0) HandleActivation(0);
      break;

    case port::WM_PAINT:
      HandlePaint(window);
      break;

    case port::WM_CLOSE:
      WriteLog("ウインドウを閉じようとしています\n");
      port::DestroyWindow(mainWindow);
      return 0;

    case port::WM_SETCURSOR:
      HideCursorForMouse();
      break;

    case port::WM_LBUTTONDOWN:
    case port::WM_RBUTTONDOWN:
    case port::WM_MBUTTONDOWN:
    case port::WM_MOUSEMOVE:
    case port::WM_LBUTTONUP:
    case port::WM_RBUTTONUP:
    case port::WM_MBUTTONUP:
      if (message == port::WM_LBUTTONDOWN) mainWindowState.mouseClickBits |= 1;
      if (message == port::WM_RBUTTONDOWN) mainWindowState.mouseClickBits |= 2;
      if (message == port::WM_MBUTTONDOWN) mainWindowState.mouseClickBits |= 4;
      HideCursorForMouse();
      break;

    case port::WM_MOUSEWHEEL: {
      const int delta = static_cast<int16_t>(port::HighWord(wParam));
      mainWindowState.mouseWheelCount += delta > 0 ? 1 : -1;
      break;
    }

    case port::WM_DISPLAYCHANGE:
      HandleDisplayChange(wParam, lParam);
      break;

    case port::WM_NCHITTEST:
      if (!windowModeFlag && hardwareMode && lParam <= 0x7FFFF) return port::HTMENU;
      break;

    case port::WM_KEYDOWN:
      FeedTextInputKey(static_cast<int>(wParam));
      break;

    case port::WM_CHAR:
      FeedTextInputCharacter(static_cast<int>(wParam));
      break;

    case port::WM_SYSCOMMAND: {
      const uint32_t command = static_cast<uint32_t>(wParam) & 0xFFF0;
      if (command == port::SC_SCREENSAVE || command == port::SC_MONITORPOWER) return 1;
      break;
    }

    case port::WM_MOVING:
      if (!windowModeFlag && lParam != 0) {
        *reinterpret_cast<port::WindowRect*>(lParam) = mainWindowState.windowRect;
      }
      break;

    case port::WM_IME_STARTCOMPOSITION:
    case port::WM_IME_ENDCOMPOSITION:
    case port::WM_IME_COMPOSITION:
    case port::WM_IME_SETCONTEXT:
    case port::WM_IME_NOTIFY:
      return HandleImeMessage(window, message, wParam, lParam);

    case port::MM_MCINOTIFY:
      HandleMusicNotification(wParam, lParam);
      break;

    case WM_ENGINE_SOCKET:
      return HandleSocketMessage(wParam, lParam);

    default:
      break;
  }
  return port::DefWindowProcA(window, message, wParam, lParam);
}
