#include "game/WinMain.h"

#include "engine/core/Engine.h"
#include "engine/platform/WindowPort.h"
#include "game/Assets.h"
#include "game/FrameLoop.h"
#include "game/PhaseLifetime.h"
#include "game/Screen.h"

// The shipped game writes no log. A build for tests defines this as 1 to
// get Log.txt, with the allocator's dump of the blocks left at shut-down.
#ifndef VEXLO_GAME_LOG
#define VEXLO_GAME_LOG 0
#endif

namespace {

// The archive key; the engine keeps its first 12 characters.
constexpr const char* ARCHIVE_KEY = "7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e";
constexpr const char* GAME_TITLE = "ほのみかさ";

// Only No selects a window; Yes, and a box that could not be shown (0),
// select full screen.
void ConfigureEngine() {
  const int answer = port::MessageBoxA(nullptr, "フルスクリーンで起動しますか？", GAME_TITLE,
                                       port::MB_YESNO | port::MB_ICONQUESTION);
  ChangeWindowMode(answer == port::IDNO ? 1 : 0);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_COLOR_BITS, SCREEN_REFRESH_RATE);
  SetMainWindowCaption(GAME_TITLE);
  // Refused before start-up: the game draws on the target start-up selects.
  SelectDrawTarget(TARGET_BACK);
  EnableLogFile(VEXLO_GAME_LOG);
  SetArchiveKey(ARCHIVE_KEY);
}

}  // namespace

extern "C" int WinMain(void*, void*, char*, int) {
  ConfigureEngine();
  if (StartupEngine() != 0) return -1;
  LoadAssets();
  RunFrameLoop();
  ReleaseAllPhases();
  ReleaseAssets();
  ShutdownEngine();
  return 0;
}
