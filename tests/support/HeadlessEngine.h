// The common ground of the tests that run the whole engine over the headless
// platform: a fresh working directory per test (where start-up writes
// Log.txt), every headless script at its defaults, COM that starts, and the
// engine shut down and the settings forgotten after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "engine/services/Log.h"

namespace testsupport {

inline int32_t FakeCoInitialize(void*) { return 0; }
inline void FakeCoUninitialize() {}

class HeadlessEngine : public ::testing::Test {
 protected:
  // directoryPrefix names the temporary working directories of one test
  // program, so that two programs run side by side never share one.
  explicit HeadlessEngine(const char* directoryPrefix) : directoryPrefix_(directoryPrefix) {}

  void SetUp() override {
    previousDirectory_ = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 (directoryPrefix_ + info->test_suite_name() + "-" + info->name());
    // A death test's child runs this again in the same directory, which
    // its parent holds as its working directory.
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    std::filesystem::create_directories(directory_, ignored);
    std::filesystem::current_path(directory_);

    headless::ResetWindowScript();
    headless::ResetPresentScript();
    headless::ResetDirect3D9Script();
    headless::ResetDirectInputScript();
    headless::ResetSystem();
    headless::ResetClock();
    headless::ReleaseAllVirtualKeys();
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

  // The whole log as written.
  std::string LogContent() const {
    std::ifstream file(directory_ / "Log.txt", std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
  }

  // The log's lines without their time prefix ("123:"), indentation kept.
  std::vector<std::string> LogLines() const {
    const std::string text = LogContent();
    std::vector<std::string> lines;
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
    for (const std::string& line : LogLines()) {
      const size_t first = line.find_first_not_of('\t');
      texts.push_back(first == std::string::npos ? std::string() : line.substr(first));
    }
    return texts;
  }

  std::filesystem::path directory_;
  std::filesystem::path previousDirectory_;

 private:
  std::string directoryPrefix_;
};

}  // namespace testsupport
