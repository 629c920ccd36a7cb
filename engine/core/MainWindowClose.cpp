#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/Time.h"
#include "engine/text_input/TextInput.h"

int CloseMainWindow() {
  if (mainWindow == nullptr) return 0;

  // The screen saver, switched off while the window existed, is allowed again.
  port::SystemParametersInfoA(port::SPI_SETSCREENSAVEACTIVE, 1, nullptr, port::SPIF_SENDCHANGE);
  if (user32Library.WINNLSEnableIME != nullptr) user32Library.WINNLSEnableIME(mainWindow, 1);

  if (mainWindowState.cursorShown == 0) {
    while (port::ShowCursor(1) < 0) {
    }
    port::PostMessageA(mainWindow, port::WM_SETCURSOR, reinterpret_cast<port::WParam>(mainWindow), 0);
    mainWindowState.cursorShown = 1;
  }

  if (!windowClosing) {
    windowClosing = 1;
    port::PostMessageA(mainWindow, port::WM_CLOSE, 0, 0);
  }
  while (PumpOnce() == 0 && !mainWindowState.windowDestroyed) {
  }
  port::UnregisterClassA(engineSettings.windowClassName, mainWindowState.moduleInstance);

  ReleaseTextInputHandles();
  ReleaseTimerPeriod();
  return 0;
}
