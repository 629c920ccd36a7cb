// The whole engine started over the headless platform, in window mode at
// 800 x 600 on a 32-bit desktop (software mode: headless has no Direct3D),
// for the graphics tests; shut down again after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"
#include "engine/images/PixelImage.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "engine/services/Log.h"
#include "tests/graphics/BmpWriter.h"

namespace graphicstest {

inline int32_t FakeCoInitialize(void*) { return 0; }
inline void FakeCoUninitialize() {}

// Resets every headless script and gives the test its own working
// directory (where the log goes).
class HeadlessFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousDirectory_ = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 (std::string("vexlo-graphics-") + info->test_suite_name() + "-" + info->name());
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    std::filesystem::create_directories(directory_, ignored);
    std::filesystem::current_path(directory_);
    headless::ResetWindowScript();
    headless::ResetPresentScript();
    headless::ResetDirect3D9Script();
    headless::ResetSystem();
    headless::ResetClock();
    headless::ProvideProcedure("ole32.dll", "CoInitialize",
                               reinterpret_cast<port::ProcAddress>(&FakeCoInitialize));
    headless::ProvideProcedure("ole32.dll", "CoUninitialize",
                               reinterpret_cast<port::ProcAddress>(&FakeCoUninitialize));
    engineSettings = EngineSettings{};
    SetLogFolder(nullptr);
  }

  void TearDown() override {
    ShutdownEngine();
    engineSettings = EngineSettings{};
    std::filesystem::current_path(previousDirectory_);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  // The game's own settings, windowed.
  static int StartWindowed(int width = 800, int height = 600, int bits = 32) {
    ChangeWindowMode(1);
    SelectScreenMode(width, height, bits, 60);
    return StartupEngine();
  }

  // The log's texts, without time stamps and indentation.
  std::vector<std::string> LogTexts() const;
  bool LogHas(const std::string& text) const;

  std::filesystem::path directory_;
  std::filesystem::path previousDirectory_;
};

// A fixture whose engine is already started windowed at 800 x 600 x 32.
class StartedEngine : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    ASSERT_EQ(StartWindowed(), 0);
  }
};

// A 32-bit XRGB image filled by a function of (x, y) giving 0x00RRGGBB.
template <typename ColorOf>
PixelImage MakeImage(int width, int height, ColorOf colorOf) {
  PixelImage image{};
  CreateXrgb8PixelImage(width, height, &image);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint32_t color = colorOf(x, y);
      SetPixelColor(&image, x, y, int(color >> 16 & 0xFF), int(color >> 8 & 0xFF),
                    int(color & 0xFF), 255);
    }
  return image;
}

// A colour that tells every pixel of an image up to 256 x 256 apart.
inline uint32_t PositionColor(int x, int y) {
  return uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40;
}

}  // namespace graphicstest
