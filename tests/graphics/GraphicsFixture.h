// The whole engine started over the headless platform, in window mode at
// 800 x 600 on a 32-bit desktop (software mode: headless has no Direct3D),
// for the graphics tests; shut down again after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/core/Engine.h"
#include "engine/images/PixelImage.h"
#include "tests/graphics/BmpWriter.h"
#include "tests/support/HeadlessEngine.h"

namespace graphicstest {

// The whole engine over the headless platform (see
// tests/support/HeadlessEngine.h), not yet started.
class HeadlessFixture : public testsupport::HeadlessEngine {
 protected:
  HeadlessFixture() : HeadlessEngine("vexlo-graphics-") {}

  // The game's own settings, windowed.
  static int StartWindowed(int width = 800, int height = 600, int bits = 32) {
    ChangeWindowMode(1);
    SelectScreenMode(width, height, bits, 60);
    return StartupEngine();
  }

  // A log line (without time stamp and indentation) that contains text.
  bool LogHas(const std::string& text) const {
    for (const std::string& line : LogTexts())
      if (line.find(text) != std::string::npos) return true;
    return false;
  }
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
