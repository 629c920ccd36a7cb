// A stand-in for the game in the end-to-end window tests: the game's own
// settings and engine life cycle without its pictures. Asks the start-up
// question, opens the window, runs frames until the window is closed.
#include "engine/core/Engine.h"
#include "engine/platform/WindowPort.h"

int main() {
  const int answer = port::MessageBoxA(nullptr, "フルスクリーンで起動しますか？", "ほのみかさ",
                                       port::MB_YESNO | port::MB_ICONQUESTION);
  ChangeWindowMode(answer == port::IDNO);
  SelectScreenMode(800, 600, 32, 60);
  SetMainWindowCaption("ほのみかさ");
  EnableLogFile(0);
  if (StartupEngine() != 0) return -1;
  while (PumpMessages() == 0 && ClearDrawTarget(nullptr) == 0 && PresentFrame() == 0) {
  }
  ShutdownEngine();
  return 0;
}
