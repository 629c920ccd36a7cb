#include "tests/faults/Scenario.h"

#include <cstdio>

#include "engine/core/MainWindow.h"
#include "engine/platform/InputPort.h"
#include "engine/platform/faults/FaultPoints.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "game/GamePhase.h"
#include "game/GameRandom.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/Phase.h"
#include "game/TitlePhase.h"

namespace sweep {
namespace {

constexpr uint64_t REFRESH_MICROSECONDS = 16667;
constexpr unsigned SEED = 20261210;
// Frames a step may wait for its phase before the run is given up.
constexpr int STEP_FRAME_LIMIT = 240;
// The frame of a phase that is kept: the phase has drawn by then (the
// frame of the turn in which it came is still the old phase's).
constexpr int SHOT_FRAME = 3;
constexpr uint64_t COUNTDOWN_MILLISECONDS = 3000;
constexpr uint64_t PLAY_MILLISECONDS = 180000;

// Key numbers of the DirectInput keyboard, for the pads scenario, whose
// keyboard is read from the device.
constexpr int DIK_ESCAPE = 0x01;
constexpr int DIK_Z = 0x2C;
constexpr int VK_Z = 'Z';

enum class Step { TITLE, COUNTDOWN, PLAY, LOST, PAUSE, RESUME, OVER, BACK_TO_TITLE, QUIT };

const char* StepName(Step step) {
  static const char* const names[] = {"title", "countdown", "play",  "lost device", "pause",
                                      "resume", "time-up",  "title again", "quit"};
  return names[int(step)];
}

struct State {
  ScenarioOptions options;
  ScriptReport report;
  Step step = Step::TITLE;
  int phaseFrames = 0;  // frames since the step's phase came
  int waitFrames = 0;   // frames the step waited for it
  bool closed = false;
  int devicesBeforeLoss = 0;
  const Phase* lastPhase = nullptr;
  int lastUpdates = -1;
};

State& S() {
  static State state;
  return state;
}

int32_t FakeCoInitialize(void*) { return 0; }
void FakeCoUninitialize() {}

uint64_t Hash(const std::vector<uint8_t>& bytes) {
  uint64_t hash = 14695981039346656037ull;
  for (uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  return hash;
}

void Shoot(const char* name) {
  const std::vector<uint8_t>& pixels =
      S().options.hardware ? headless::PresentedBytes() : headless::LastPresentedFrame().pixels;
  S().report.shots.emplace_back(name, Hash(pixels));
}

// The key on both sources: the system key state and the DirectInput
// keyboard device.
void Hold(int virtualKey, int keyNumber, bool held) {
  headless::PressVirtualKey(virtualKey, held);
  headless::PressDeviceKey(keyNumber, held);
}

// Held for two frames: a phase sees it in the first update after.
bool Tap(int virtualKey, int keyNumber, int at) {
  if (S().phaseFrames == at) Hold(virtualKey, keyNumber, true);
  if (S().phaseFrames == at + 2) {
    Hold(virtualKey, keyNumber, false);
    return true;
  }
  return false;
}

template <class T>
T* Current() {
  return dynamic_cast<T*>(currentPhase);
}

void Next(Step step) {
  S().step = step;
  S().phaseFrames = 0;
  S().waitFrames = 0;
}

// Whether the step's phase has come (it stays come for the rest of the
// step); a phase that does not come in time ends the run through the close
// box.
bool Arrived(bool current) {
  State& s = S();
  if (s.phaseFrames == 0 && !current) {
    s.waitFrames += 1;
    if (!s.closed && s.waitFrames >= STEP_FRAME_LIMIT) {
      s.report.stuck = true;
      s.report.stuckAt = StepName(s.step);
      s.closed = true;
      if (mainWindow != nullptr) headless::ClickCloseBox(mainWindow);
    }
    return false;
  }
  s.phaseFrames += 1;
  return true;
}

// Waits for the phase, keeps its frame under the name, then taps the key.
template <class T>
void ShowAndLeave(const char* shot, int virtualKey, int keyNumber, Step next) {
  if (!Arrived(Current<T>() != nullptr)) return;
  if (S().phaseFrames == SHOT_FRAME) Shoot(shot);
  if (Tap(virtualKey, keyNumber, SHOT_FRAME + 1)) Next(next);
}

void LoseTheDevice() {
  State& s = S();
  s.devicesBeforeLoss = headless::Direct3D9Calls().devicesCreated;
  if (s.options.countOnlyTheRebuild) faults::SetCounting(true);
  headless::Direct3D9ScriptInForce().deviceLost = true;
  headless::LoseFocus(mainWindow);
  headless::RegainFocus(mainWindow);
  Next(Step::LOST);
}

void Play() {
  const GamePhase* game = Current<GamePhase>();
  if (!Arrived(game != nullptr && game->playStarted)) return;
  if (S().phaseFrames == SHOT_FRAME) Shoot("play");
  if (S().phaseFrames == SHOT_FRAME + 1 && S().options.loseDevice) {
    LoseTheDevice();
    return;
  }
  if (Tap(port::VK_ESCAPE, DIK_ESCAPE, SHOT_FRAME + 1)) Next(Step::PAUSE);
}

// The rebuilt device has shown its frames: counting ends, the game goes on.
void AwaitRebuild() {
  State& s = S();
  if (!Arrived(headless::Direct3D9Calls().devicesCreated > s.devicesBeforeLoss &&
               !headless::Direct3D9ScriptInForce().deviceLost))
    return;
  if (s.phaseFrames == SHOT_FRAME) {
    Shoot("rebuilt");
    if (s.options.countOnlyTheRebuild) faults::SetCounting(false);
  }
  if (Tap(port::VK_ESCAPE, DIK_ESCAPE, SHOT_FRAME + 1)) Next(Step::PAUSE);
}

// Whether this present ends a turn of the frame loop not seen before: the
// current phase or its update count changed. The other presents (the
// device's set-up, the window timer's) show no new picture of the game.
bool NewTurn() {
  State& s = S();
  const int updates = currentPhase != nullptr ? currentPhase->frameCount : -1;
  if (currentPhase == s.lastPhase && updates == s.lastUpdates) return false;
  s.lastPhase = currentPhase;
  s.lastUpdates = updates;
  return currentPhase != nullptr;
}

// Every present takes one refresh of the display; the script acts once per
// turn.
void OnFrame() {
  State& s = S();
  headless::AdvanceClockMicroseconds(REFRESH_MICROSECONDS);
  if (!NewTurn()) return;
  s.report.frames += 1;
  switch (s.step) {
    case Step::TITLE:
      if (!Arrived(Current<TitlePhase>() != nullptr)) break;
      if (s.phaseFrames == 1) GameSrand(SEED);  // before the first ball
      if (s.phaseFrames == SHOT_FRAME) Shoot("title");
      if (Tap(VK_Z, DIK_Z, SHOT_FRAME + 1)) Next(Step::COUNTDOWN);
      break;
    case Step::COUNTDOWN:
      if (!Arrived(Current<GamePhase>() != nullptr)) break;
      if (s.phaseFrames == SHOT_FRAME) {
        Shoot("countdown");
        headless::AdvanceClockMilliseconds(COUNTDOWN_MILLISECONDS);
        Next(Step::PLAY);
      }
      break;
    case Step::PLAY: Play(); break;
    case Step::LOST: AwaitRebuild(); break;
    case Step::PAUSE: ShowAndLeave<PausePhase>("pause", port::VK_ESCAPE, DIK_ESCAPE, Step::RESUME); break;
    case Step::RESUME:
      if (!Arrived(Current<GamePhase>() != nullptr)) break;
      headless::AdvanceClockMilliseconds(PLAY_MILLISECONDS);
      Next(Step::OVER);
      break;
    case Step::OVER: ShowAndLeave<OverPhase>("over", VK_Z, DIK_Z, Step::BACK_TO_TITLE); break;
    case Step::BACK_TO_TITLE:
      if (!Arrived(Current<TitlePhase>() != nullptr) || s.phaseFrames < SHOT_FRAME) break;
      Shoot("title again");
      // Held until the end: the title quits in its next update.
      Hold(port::VK_ESCAPE, DIK_ESCAPE, true);
      Next(Step::QUIT);
      break;
    case Step::QUIT:
      // A game that goes on presenting did not end.
      Arrived(false);
      break;
  }
  // The fake draws pixels only for the turns that are kept: every turn
  // clears the target and draws the whole picture again.
  if (s.options.hardware) headless::Direct3D9ScriptInForce().rasterize = s.phaseFrames == SHOT_FRAME - 1;
}

void OnSoftwareFrame(const headless::PresentedFrame&) { OnFrame(); }

void ScriptDirectInputWithPads() {
  headless::DirectInputScript input;
  input.version8 = true;
  headless::ScriptedPad rumble;
  rumble.instanceName = "Pad 1";
  headless::ScriptedPad plain;
  plain.instanceName = "Pad 2";
  plain.forceFeedback = false;
  input.pads = {rumble, plain};
  headless::ScriptDirectInput(input);
  // Windows XP: the keyboard is read from the device.
  port::OsVersionInfoA xp{port::OSVERSIONINFOA_SIZE, 5, 1, 2600, port::VER_PLATFORM_WIN32_NT, {}};
  std::snprintf(xp.szCSDVersion, sizeof xp.szCSDVersion, "Service Pack 3");
  headless::SetVersionInfo(xp, 1);
}

}  // namespace

void PrepareScenario(const ScenarioOptions& options) {
  S() = State();
  S().options = options;
  headless::Window().messageBoxAnswer = port::IDNO;  // windowed
  headless::ProvideProcedure("ole32.dll", "CoInitialize",
                             reinterpret_cast<port::ProcAddress>(&FakeCoInitialize));
  headless::ProvideProcedure("ole32.dll", "CoUninitialize",
                             reinterpret_cast<port::ProcAddress>(&FakeCoUninitialize));
  headless::Direct3D9Script direct3d;
  direct3d.libraryPresent = options.hardware;
  direct3d.recordCalls = false;  // the record would only grow
  direct3d.rasterize = false;     // until a turn to be kept (OnFrame)
  headless::ScriptDirect3D9(direct3d);
  if (options.pads) ScriptDirectInputWithPads();
  headless::SetFramePresentedHook(OnSoftwareFrame);
  headless::SetDirect3D9PresentHook(OnFrame);
  if (options.countOnlyTheRebuild) faults::SetCounting(false);
}

const ScriptReport& ScenarioReport() {
  State& s = S();
  // The title's Esc ends the loop before another frame: the script stands
  // at QUIT when the game ended as scripted.
  s.report.completed = s.step == Step::QUIT && !s.report.stuck;
  return s.report;
}

}  // namespace sweep
