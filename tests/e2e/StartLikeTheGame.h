// The game's own start: the full-screen question, the settings the game
// makes and the engine's start-up, for the end-to-end stand-ins that run
// frames without the game's pictures.
#pragma once

#include "engine/core/Engine.h"
#include "engine/platform/WindowPort.h"

// 0 once the engine runs, -1 when it could not start.
inline int StartLikeTheGame() {
  const int answer = port::MessageBoxA(nullptr, "フルスクリーンで起動しますか？", "ほのみかさ",
                                       port::MB_YESNO | port::MB_ICONQUESTION);
  ChangeWindowMode(answer == port::IDNO);
  SelectScreenMode(800, 600, 32, 60);
  SetMainWindowCaption("ほのみかさ");
  EnableLogFile(0);
  return StartupEngine();
}
