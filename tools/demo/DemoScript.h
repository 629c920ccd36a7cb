// The demo's key script: what to press in which frame and which frames to
// keep, driven after every frame presented (by the headless presentation
// hook, or by the refresh wait that follows a Direct3D present).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/demo/FramePng.h"

// The seed of the demo's game, and its display: 60 Hz, every wait for the
// refresh moves the virtual clock on by one period.
constexpr unsigned DEMO_SEED = 20261210;
constexpr uint64_t DEMO_REFRESH_MICROSECONDS = 16667;

struct DemoShot {
  std::string name;  // file name without directory, e.g. "1-title.png"
  RgbFrame frame;
};

// The frame just presented; converted only when the script keeps it.
class PresentedPicture {
 public:
  virtual RgbFrame Capture() const = 0;

 protected:
  ~PresentedPicture() = default;
};

// Seeds the game, steps through title, count-down, play (with a catch and a
// chain), pause, time-up and back to the title, then quits. The caller
// calls DemoFramePresented after every frame shown.
void StartDemoScript(unsigned seed);
void DemoFramePresented(const PresentedPicture& picture);
// Whether every shot was taken; the script writes an error otherwise.
bool DemoScriptFinished(std::string* error);
const std::vector<DemoShot>& DemoShots();
