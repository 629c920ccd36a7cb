#include "engine/core/MessagePump.h"

#include <chrono>
#include <thread>

#include "engine/core/Engine.h"
#include "engine/core/EngineCallLock.h"
#include "engine/core/MainWindow.h"
#include "engine/core/SystemInfo.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/input/Input.h"
#include "engine/input/Pads.h"
#include "engine/movie/Movie.h"
#include "engine/network/Network.h"
#include "engine/sound/Sound.h"
#include "engine/text_input/TextInput.h"

int inHousekeeping = 0;

namespace {

// While the window is active, one pass dispatches at most this many
// messages; the rest wait for the next pass.
constexpr int MESSAGES_PER_PASS = 5;

// The cursor's y position below which the hardware renderer's top-row menu
// takes the cursor over in full screen.
constexpr int MENU_ROW_LIMIT = 60;

void SleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The next message of the thread: any window of the thread first, then the
// messages posted to the thread itself, then the main window's.
bool TakeMessage(port::WindowMessage* message) {
  if (port::PeekMessageA(message, nullptr, 0, 0, port::PM_NOREMOVE)) {
    return port::PeekMessageA(message, nullptr, 0, 0, port::PM_REMOVE) != 0;
  }
  if (port::PeekMessageA(message, port::THREAD_MESSAGES_ONLY, 0, 0, port::PM_REMOVE)) return true;
  return port::PeekMessageA(message, mainWindow, 0, 0, port::PM_REMOVE) != 0;
}

// Drains the queue, at most MESSAGES_PER_PASS messages; false when the
// program must end. passFinished stays set only when no message or the
// fifth was dispatched.
bool DispatchPendingMessages(int* dispatched, bool* passFinished) {
  port::WindowMessage message{};
  while (TakeMessage(&message)) {
    if (mustEnd) return false;
    if (message.message == port::WM_QUIT) mustEnd = 1;
    port::TranslateMessage(&message);
    port::DispatchMessageA(&message);
    if (++*dispatched == MESSAGES_PER_PASS) {
      *dispatched = 0;
      *passFinished = true;
      return true;
    }
    *passFinished = false;
  }
  return true;
}

void ServiceWhileInactive() {
  ProcessSocketMessages();
  if (processorCount <= 1) RefreshStreamingSounds();
  AdvancePlayingMovies();
  SleepMilliseconds(24);
}

bool OnMainThread() { return CurrentEngineThreadId() == mainWindowState.mainThreadId; }

void KeepFullScreenCursorHidden() {
  if (windowModeFlag || !OnMainThread()) return;
  if (hardwareMode) {
    int x = 0;
    int y = 0;
    ReadMousePosition(&x, &y);
    if (y <= MENU_ROW_LIMIT) return;
  }
  ShowMouseCursor(mainWindowState.cursorWanted);
}

void RunHousekeeping() {
  if (processorCount <= 1) {
    RefreshStreamingSounds();
    RefreshSoundPlayers();
  }
  CheckMusicPlayback();
  RefreshKeyState();
  UpdatePadVibration();
  ProcessSocketMessages();
  inHousekeeping = 1;
  ProcessTextInput();
  inHousekeeping = 0;
}

}  // namespace

int PumpOnce() {
  if (inHousekeeping) return 0;
  if (mainWindow == nullptr) return mustEnd ? -1 : 0;

  int dispatched = 0;
  bool passFinished = false;
  for (;;) {
    if ((windowClosing || windowActive) && (passFinished || mustEnd)) break;
    passFinished = true;
    if (!windowActive) SleepMilliseconds(1);
    if (!DispatchPendingMessages(&dispatched, &passFinished)) break;
    if (!windowActive) ServiceWhileInactive();
    if (mustEnd || !OnMainThread()) break;
  }

  KeepFullScreenCursorHidden();
  RunHousekeeping();
  return mustEnd ? -1 : 0;
}

void WaitWhileInactive() {
  if (painting || windowActive) return;
  // Without a main window nothing can activate it: there is nothing to wait
  // for (PumpOnce would answer 0 for ever). The same holds when the window
  // goes away during the wait.
  while (mainWindow != nullptr && PumpOnce() == 0 && !windowActive) {
  }
}

int PumpMessages() {
  EnterEngineCall();
  const int result = PumpOnce();
  LeaveEngineCall();
  return result;
}
