// A stand-in for the game in the end-to-end window tests: the game's own
// settings and engine life cycle without its pictures. Asks the start-up
// question, opens the window, runs frames until the window is closed.
#include "engine/core/Engine.h"
#include "tests/e2e/StartLikeTheGame.h"

int main() {
  if (StartLikeTheGame() != 0) return -1;
  while (PumpMessages() == 0 && ClearDrawTarget(nullptr) == 0 && PresentFrame() == 0) {
  }
  ShutdownEngine();
  return 0;
}
