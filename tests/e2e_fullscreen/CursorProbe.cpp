// The mouse as the engine sees it in full screen: asks the start-up
// question like the game, runs frames, and prints the cursor position that
// the platform reports (the engine's mouse position in full screen) as
// "cursor X Y" whenever it changes. Esc ends it.
#include <cstdio>

#include "engine/core/Engine.h"
#include "engine/input/KeyNumbers.h"
#include "engine/platform/WindowPort.h"
#include "tests/e2e/StartLikeTheGame.h"

int main() {
  if (StartLikeTheGame() != 0) return -1;
  port::Point last{-1, -1};
  while (PumpMessages() == 0 && IsKeyDown(DIK_ESCAPE) == 0 && ClearDrawTarget(nullptr) == 0 &&
         PresentFrame() == 0) {
    port::Point cursor{0, 0};
    port::GetCursorPos(&cursor);
    if (cursor.x == last.x && cursor.y == last.y) continue;
    last = cursor;
    std::printf("cursor %d %d\n", cursor.x, cursor.y);
    std::fflush(stdout);
  }
  ShutdownEngine();
  return 0;
}
