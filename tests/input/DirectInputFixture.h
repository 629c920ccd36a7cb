// The engine over the headless DirectInput fake: what is on offer, the
// calls it recorded, and the input layer's part of the log.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "tests/support/HeadlessEngine.h"

namespace inputtest {

using Calls = std::vector<std::string>;

// FatalError's exit code as the parent of a death test sees it.
#if defined(_WIN32)
constexpr int FATAL_EXIT_CODE = -1;
#else
constexpr int FATAL_EXIT_CODE = 255;
#endif

// In a death test's child: what the fake still holds when the process
// ends, for the parent to match on stderr.
inline void ReportLiveObjectsAtExit(uint32_t) {
  const headless::DirectInputRecord& record = headless::DirectInputCalls();
  std::fprintf(stderr, "live objects %d, events %d\n", record.liveObjects, record.liveEvents);
  std::fflush(stderr);
}

class DirectInputTest : public testsupport::HeadlessEngine {
 protected:
  DirectInputTest() : HeadlessEngine("vexlo-dinput-") {}

  void SetUp() override {
    HeadlessEngine::SetUp();
    inputContext.noDirectInput = 0;
    savedDisplayOptions_ = displayOptions;
  }

  // A query made before start-up sets the input layer up by itself; it
  // outlives the engine's shut-down.
  void TearDown() override {
    ShutdownEngine();
    TerminateInput();
    HeadlessEngine::TearDown();
    displayOptions = savedDisplayOptions_;
  }

  // Hardware mode: the display set-up finds the Direct3D 9 fake.
  static void UseDirect3D9() {
    displayOptions.hardwareAttempt = 1;
    headless::Direct3D9Script script;
    script.libraryPresent = true;
    headless::ScriptDirect3D9(script);
  }

  // Windows XP: the last system whose keyboard is read from the device.
  static void UseWindowsXp() {
    port::OsVersionInfoA xp{port::OSVERSIONINFOA_SIZE, 5, 1, 2600, port::VER_PLATFORM_WIN32_NT, {}};
    std::snprintf(xp.szCSDVersion, sizeof xp.szCSDVersion, "Service Pack 3");
    headless::SetVersionInfo(xp, 1);
  }

  static void Offer(bool version7, bool version8, std::vector<headless::ScriptedPad> pads = {},
                    std::vector<headless::ScriptedFailure> failures = {}) {
    headless::DirectInputScript script;
    script.version7 = version7;
    script.version8 = version8;
    script.pads = std::move(pads);
    script.failures = std::move(failures);
    headless::ScriptDirectInput(script);
  }

  static int Start() {
    ChangeWindowMode(1);
    SelectScreenMode(800, 600, 32, 60);
    return StartupEngine();
  }

  // One frame: the clock moves on a millisecond and the pump refreshes.
  static void Pump() {
    headless::AdvanceClockMilliseconds(1);
    PumpMessages();
  }

  static Calls AllCalls() { return headless::DirectInputCalls().calls; }

  // The recorded calls from the first one that starts with `from`, `count`
  // of them (fewer when the record ends first).
  static Calls CallsFrom(const std::string& from, size_t count) {
    Calls all = AllCalls();
    auto start = std::find_if(all.begin(), all.end(),
                              [&](const std::string& c) { return c.rfind(from, 0) == 0; });
    Calls slice;
    for (auto it = start; it != all.end() && slice.size() < count; ++it) slice.push_back(*it);
    return slice;
  }

  static int CountCalls(const std::string& prefix) {
    int count = 0;
    for (const std::string& call : AllCalls()) count += call.rfind(prefix, 0) == 0;
    return count;
  }

  // The log lines (indentation kept) from the first starting with `first`
  // through the first after it starting with `last`, tabs ignored.
  std::vector<std::string> LogSection(const std::string& first, const std::string& last) const {
    std::vector<std::string> lines = LogLines();
    std::vector<std::string> section;
    bool inside = false;
    for (const std::string& line : lines) {
      const std::string text = line.substr(std::min(line.find_first_not_of('\t'), line.size()));
      if (!inside && text.rfind(first, 0) == 0) inside = true;
      if (!inside) continue;
      section.push_back(line);
      if (section.size() > 1 && text.rfind(last, 0) == 0) break;
    }
    return section;
  }

  // The indentation of the line that follows the one starting with `text`.
  int IndentAfter(const std::string& text) const {
    std::vector<std::string> lines = LogLines();
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (line.substr(std::min(line.find_first_not_of('\t'), line.size())).rfind(text, 0) != 0)
        continue;
      return int(std::min(lines[i + 1].find_first_not_of('\t'), lines[i + 1].size()));
    }
    return -1;
  }

  static void Deactivate() { MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0); }
  static void Activate() { MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0); }

 private:
  DisplayOptions savedDisplayOptions_{};
};

}  // namespace inputtest
