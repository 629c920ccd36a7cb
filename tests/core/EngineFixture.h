// A test fixture that runs the whole engine over the headless platform: a
// fresh working directory (where start-up writes Log.txt), the platform's
// scripts at their defaults, COM that starts, and the engine shut down and
// the settings forgotten after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/core/MainWindow.h"
#include "engine/services/Log.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/platform/headless/HeadlessWindow.h"

namespace enginetest {

inline int32_t FakeCoInitialize(void*) { return 0; }
inline void FakeCoUninitialize() {}

class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDirectory_ = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 (std::string("vexlo-core-") + info->test_suite_name() + "-" + info->name());
    // A death test's child runs this again in the same directory, which
    // its parent holds as its working directory.
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    std::filesystem::create_directories(directory_, ignored);
    std::filesystem::current_path(directory_);

    headless::ResetWindowScript();
    headless::ResetPresentScript();
    headless::ResetSystem();
    headless::ResetClock();
    headless::ProvideProcedure("ole32.dll", "CoInitialize",
                               reinterpret_cast<port::ProcAddress>(&FakeCoInitialize));
    headless::ProvideProcedure("ole32.dll", "CoUninitialize",
                               reinterpret_cast<port::ProcAddress>(&FakeCoUninitialize));
    engineSettings = EngineSettings{};
    SetLogFolder(nullptr);  // start-up takes this test's directory
  }

  void TearDown() override {
    ShutdownEngine();
    // VEXLO_PRINT_LOG=1 shows each test's log, for reading a transcript.
    if (std::getenv("VEXLO_PRINT_LOG") != nullptr) {
      for (const std::string& line : LogLines()) std::printf("  log: %s\n", line.c_str());
    }
    engineSettings = EngineSettings{};
    std::filesystem::current_path(previousDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  // The settings this game makes before start-up.
  static void SettingsOfTheGame(int windowed) {
    ChangeWindowMode(windowed);
    SelectScreenMode(800, 600, 32, 60);
    SetMainWindowCaption("ほのみかさ");
  }

  // The log's lines without their time prefix ("123:"), indentation kept.
  std::vector<std::string> LogLines() const {
    std::ifstream file(directory_ / "Log.txt", std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::vector<std::string> lines;
    std::string text = content.str();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      const size_t colon = line.find(':');
      if (colon != std::string::npos && line.find_first_not_of("0123456789") == colon) {
        line = line.substr(colon + 1);
      }
      lines.push_back(line);
      start = end + 2;
    }
    return lines;
  }

  // The log's lines with their indentation removed.
  std::vector<std::string> LogTexts() const {
    std::vector<std::string> texts;
    for (const std::string& line : LogLines()) texts.push_back(line.substr(line.find_first_not_of('\t') == std::string::npos ? line.size() : line.find_first_not_of('\t')));
    return texts;
  }

  bool LogHas(const std::string& text) const {
    for (const std::string& line : LogTexts()) {
      if (line == text) return true;
    }
    return false;
  }

  std::filesystem::path directory_;
  std::filesystem::path previousDirectory_;
};

// The index of the first line at or after from that equals text; -1 if none.
inline int FindLine(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (int i = from; i < static_cast<int>(lines.size()); ++i) {
    if (lines[i] == text) return i;
  }
  return -1;
}

}  // namespace enginetest
