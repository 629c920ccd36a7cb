// The demo's key script: what to press in which frame and which frames to
// keep, driven from the headless presentation hook after every frame.
#pragma once

#include <string>
#include <vector>

#include "tools/demo/FramePng.h"

struct DemoShot {
  std::string name;  // file name without directory, e.g. "1-title.png"
  RgbFrame frame;
};

// Seeds the game, steps through title, count-down, play (with a catch and a
// chain), pause, time-up and back to the title, then quits.
void StartDemoScript(unsigned seed);
// Whether every shot was taken; the script writes an error otherwise.
bool DemoScriptFinished(std::string* error);
const std::vector<DemoShot>& DemoShots();
