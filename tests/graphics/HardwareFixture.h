// The engine over the headless platform with the Direct3D 9 fake on offer
// and the hardware attempt switched on: the display set-up makes a device
// (9Ex unless a test scripts otherwise).
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "tests/graphics/GraphicsFixture.h"

namespace graphicstest {

class HardwareFixture : public HeadlessFixture {
 protected:
  void SetUp() override {
    HeadlessFixture::SetUp();
    savedOptions_ = displayOptions;
    displayOptions.hardwareAttempt = 1;
    script_ = headless::Direct3D9Script();
    script_.libraryPresent = true;
    headless::ScriptDirect3D9(script_);
  }

  void TearDown() override {
    HeadlessFixture::TearDown();
    displayOptions = savedOptions_;
  }

  // Applies the changes a test made to script_.
  void Script() { headless::ScriptDirect3D9(script_); }

  // Makes one call fail (occurrence 1 = its first call, 0 = every call).
  void Fail(const std::string& call, int occurrence = 0) {
    script_.failures.push_back({call, occurrence});
    Script();
  }

  // The log lines of the display set-up: from the Direct3D object's line
  // to the end of the log.
  std::vector<std::string> DisplayTranscript() const {
    std::vector<std::string> texts = LogTexts();
    std::vector<std::string> transcript;
    bool inside = false;
    for (const std::string& text : texts) {
      if (text.rfind("IDirect3D9Ex オブジェクトを取得します", 0) == 0) inside = true;
      if (inside && !text.empty()) transcript.push_back(text);
    }
    return transcript;
  }

  // The transcript up to (and with) the first line that starts with last.
  std::vector<std::string> TranscriptUpTo(const std::string& last) const {
    std::vector<std::string> lines;
    for (const std::string& line : DisplayTranscript()) {
      lines.push_back(line);
      if (line.rfind(last, 0) == 0) break;
    }
    return lines;
  }

  headless::Direct3D9Script script_;
  DisplayOptions savedOptions_{};
};

}  // namespace graphicstest
