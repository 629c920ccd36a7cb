// The scenarios of the fault sweeps: the real game (WinMain, with its log
// on) on the headless platform, reading both sheets from DATA.QPA, driven by
// a key script that shows one frame of each phase (title, count-down, play,
// pause, time-up, the title again) and quits from the title screen.
//
// The script runs after every turn of the frame loop, when its frame has
// been presented (the software screen's transfer, or a Present of the
// Direct3D 9 fake), moves the virtual clock on by one refresh and looks at
// the current phase, so that it keeps step with the game whatever a
// failure changed; a phase that does not come in time ends the run by
// closing the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sweep {

struct ScenarioOptions {
  bool hardware = false;   // Direct3D 9 on offer (the fake), else software mode
  bool pads = false;       // DirectInput 8 with the system keyboard, mouse and two pads
  bool loseDevice = false; // the device is lost during play and rebuilt
  // Counting at the fault points only from the device loss until the
  // rebuilt device has shown a frame; off: the whole run counts.
  bool countOnlyTheRebuild = false;
};

// What the script saw of the game.
struct ScriptReport {
  bool completed = false;  // every phase shown, the game quit from the title
  bool stuck = false;      // a phase did not come in time: the window was closed
  std::string stuckAt;     // the step that waited in vain
  int frames = 0;          // turns of the frame loop presented
  // One hash per frame kept ("title", "countdown", "play", "rebuilt",
  // "pause", "over", "title again"), in the order taken.
  std::vector<std::pair<std::string, uint64_t>> shots;
};

// Scripts the headless platform for the scenario and installs the frame
// hooks. Call before WinMain.
void PrepareScenario(const ScenarioOptions& options);
const ScriptReport& ScenarioReport();

}  // namespace sweep
