// The core tests' fixture: the whole engine over the headless platform (see
// tests/support/HeadlessEngine.h), with the game's own settings at hand and
// the log compared line by line.
#pragma once

#include <string>
#include <vector>

#include "engine/core/MainWindow.h"
#include "tests/support/HeadlessEngine.h"

namespace enginetest {

class EngineFixture : public testsupport::HeadlessEngine {
 protected:
  EngineFixture() : HeadlessEngine("vexlo-core-") {}

  // The settings this game makes before start-up.
  static void SettingsOfTheGame(int windowed) {
    ChangeWindowMode(windowed);
    SelectScreenMode(800, 600, 32, 60);
    SetMainWindowCaption("ほのみかさ");
  }

  // A log line (indentation removed) that equals text.
  bool LogHas(const std::string& text) const {
    for (const std::string& line : LogTexts()) {
      if (line == text) return true;
    }
    return false;
  }
};

// The index of the first line at or after from that equals text; -1 if none.
inline int FindLine(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i) {
    if (lines[i] == text) return i;
  }
  return -1;
}

}  // namespace enginetest
