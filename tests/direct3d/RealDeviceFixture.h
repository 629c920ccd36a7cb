// The engine on the system's own Direct3D 9 (Wine's on these machines),
// started windowed with the hardware attempt on, in a working directory of
// its own whose Log.txt a test can read. Skipped without an X display.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"

namespace direct3dtest {

class RealDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no X display for Wine";
    directory_ = std::filesystem::temp_directory_path() / "vexlo-direct3d";
    std::filesystem::create_directories(directory_);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(directory_);
    displayOptions.hardwareAttempt = 1;
    ChangeWindowMode(1);
    SetMainWindowCaption("Vexlo Direct3D test");
  }
  void TearDown() override {
    if (previous_.empty()) return;
    ShutdownEngine();
    displayOptions = DisplayOptions{};
    displayOptions.hardwareAttempt = 0;
    backgroundColor = {0, 0, 0};
    std::filesystem::current_path(previous_);
  }
  std::string Log() const {
    std::ifstream file(directory_ / "Log.txt", std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    return content.str();
  }
  std::filesystem::path directory_, previous_;
};

}  // namespace direct3dtest
