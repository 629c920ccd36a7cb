// The main window: its state, its creation during start-up, its size and
// styles, and the mouse cursor's visibility. The window procedure is in
// MainWindowProc.h, the message loop that feeds it in MessagePump.h.
#pragma once

#include <cstdint>

#include "engine/core/EngineSettings.h"
#include "engine/platform/WindowPort.h"

// Everything the window layer keeps about the main window. CreateMainWindow
// clears the whole record when it starts; what start-up established before
// it (the settings, the library bindings, the system information, the
// engine-call lock, the COM state) lives in records of its own.
struct MainWindowState {
  port::WindowHandle mainWindow;
  port::InstanceHandle moduleInstance;
  uint32_t mainThreadId;  // CurrentEngineThreadId() of the creating thread

  int modeChosen;  // set by the first FitWindowToScreen in window mode
  int windowActive;
  int mustEnd;         // the program must end; the pump reports it
  int windowClosing;   // the engine posted WM_CLOSE
  int windowDestroyed; // WM_DESTROY arrived
  int creatingWindow;  // CreateMainWindow is running
  int painting;        // WM_PAINT is being handled in window mode
  int cursorWanted;
  int cursorShown;

  port::WindowRect windowRect;  // the whole window, screen coordinates
  port::Point clientTopLeft;    // the client area, screen coordinates
  port::Point clientBottomRight;

  int desktopWidth;
  int desktopHeight;
  int desktopColorBits;

  uint64_t totalPhysicalMemory;
  uint64_t availablePhysicalMemory;

  int mouseClickBits;  // button-down record: left 1, right 2, middle 4
  int mouseWheelCount;
};

extern MainWindowState mainWindowState;

// The window flags under the names the whole engine tests.
inline port::WindowHandle& mainWindow = mainWindowState.mainWindow;
inline int& windowActive = mainWindowState.windowActive;
inline int& mustEnd = mainWindowState.mustEnd;
inline int& windowClosing = mainWindowState.windowClosing;
inline int& painting = mainWindowState.painting;

// The engine's code page, chosen with the character set (currentCharSet,
// engine/services/CharSet.h) from the OEM code page when the window is
// created, unless they were chosen before (engineCharSetChosen).
extern int engineCodePage;
extern int engineCharSetChosen;

// The window size rates: the client area is the screen size times these.
constexpr double WINDOW_SIZE_RATE_X = 1.0;
constexpr double WINDOW_SIZE_RATE_Y = 1.0;

// Styles of the two modes.
constexpr uint32_t WINDOWED_STYLE =
    port::WS_POPUP | port::WS_CAPTION | port::WS_SYSMENU | port::WS_MINIMIZEBOX;  // 0x80CA0000
constexpr uint32_t WINDOWED_EX_STYLE = port::WS_EX_WINDOWEDGE | port::WS_EX_CLIENTEDGE;  // 0x300
constexpr uint32_t FULL_SCREEN_STYLE = port::WS_POPUP;
constexpr uint32_t FULL_SCREEN_EX_STYLE = port::WS_EX_TOPMOST;

// The class name used when neither a class name nor a caption was set, and
// the caption used when none was set.
constexpr const char* DEFAULT_WINDOW_CLASS_NAME = "D123987X";
constexpr const char* DEFAULT_CAPTION = "Vexlo";

// Sets the flag and logs which way it went. 0.
int StoreWindowModeFlag(int flag);

// The start-up step: class, window, cursor, input-method editor. 0, or -1
// when another instance runs or the window cannot be created.
int CreateMainWindow();

// Resizes the window so that its client area has the screen size; the first
// call in window mode also applies the windowed styles.
void FitWindowToScreen();
// Sets the windowed styles on the window, sizes it and centres it.
void ApplyWindowStyles();
// WM_MOVE in window mode: the client area's new place.
void RecordClientPosition(port::LParam lParam);
// wanted: 1 show, 0 hide, -1 apply the current wish again. 0.
int ShowMouseCursor(int wanted);

// The shut-down step: screen saver back on, cursor shown, window closed and
// destroyed, class unregistered, timer period released. 0.
int CloseMainWindow();
