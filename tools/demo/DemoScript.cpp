#include "tools/demo/DemoScript.h"

#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "game/GamePhase.h"
#include "game/GameRandom.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/Phase.h"
#include "game/ScoreEffect.h"
#include "game/TitlePhase.h"
#include "tools/demo/Autopilot.h"

namespace {

// The steps of the script, in order.
enum class Step { TITLE, COUNTDOWN, PLAY, PAUSE, RESUME, TIME_UP, BACK_TO_TITLE, QUIT, DONE };

// How long the script waits for a catch with a chain before giving up.
constexpr int PLAY_FRAME_LIMIT = 60 * 90;
// Frames after which the whole demo is considered stuck.
constexpr int FRAME_LIMIT = 20000;
constexpr int PLAY_MILLISECONDS_SKIPPED = 180000;
// Letter keys have their ASCII code as virtual-key code.
constexpr int VK_Z = 'Z';

struct Script {
  unsigned seed = 1;
  Step step = Step::TITLE;
  int stepFrames = 0;  // frames presented since the step began
  int frames = 0;
  std::vector<DemoShot> shots;
  std::string error;
};

Script& State() {
  static Script script;
  return script;
}

void Hold(int virtualKey, bool held) { headless::PressVirtualKey(virtualKey, held); }

void Next(Step step) {
  State().step = step;
  State().stepFrames = 0;
}

void Shoot(const char* name, const PresentedPicture& frame) {
  State().shots.push_back({name, frame.Capture()});
}

// A key held for two frames: its hold counter reads 1 in the first update
// that sees it, which is all a phase looks at.
bool Tap(int virtualKey, int frameInStep, int at) {
  if (frameInStep == at) Hold(virtualKey, true);
  if (frameInStep == at + 2) {
    Hold(virtualKey, false);
    return true;
  }
  return false;
}

template <class T>
T* Current() {
  return dynamic_cast<T*>(currentPhase);
}

void Steer(const GamePhase& game) {
  const SteeringKeys keys = SteerTowardsBalls(game);
  Hold(port::VK_LEFT, keys.left);
  Hold(port::VK_RIGHT, keys.right);
  Hold(port::VK_UP, keys.up);
  Hold(port::VK_DOWN, keys.down);
}

void ReleaseArrows() {
  for (int key : {port::VK_LEFT, port::VK_RIGHT, port::VK_UP, port::VK_DOWN}) Hold(key, false);
}

bool ShowsChainAndPopup(const GamePhase& game) {
  if (game.chain < 2) return false;
  for (const ScoreEffect* effect : game.effects)
    if (effect != nullptr && effect->value >= 100) return true;
  return false;
}

}  // namespace

void DemoFramePresented(const PresentedPicture& frame) {
  Script& s = State();
  s.frames += 1;
  s.stepFrames += 1;
  if (s.frames == 1) GameSrand(s.seed);  // before the first random draw
  if (s.frames > FRAME_LIMIT && s.error.empty()) s.error = "the demo did not finish";

  switch (s.step) {
    case Step::TITLE:
      if (s.stepFrames == 30) Shoot("1-title.png", frame);
      if (Tap(VK_Z, s.stepFrames, 31)) Next(Step::COUNTDOWN);
      break;
    case Step::COUNTDOWN:
      // The count-down shows 2 from 1 s to 2 s after the game began.
      if (s.stepFrames == 90 && Current<GamePhase>()) Shoot("2-countdown.png", frame);
      if (GamePhase* game = Current<GamePhase>(); game && game->playStarted) Next(Step::PLAY);
      break;
    case Step::PLAY:
      if (GamePhase* game = Current<GamePhase>()) {
        Steer(*game);
        if (ShowsChainAndPopup(*game) || s.stepFrames == PLAY_FRAME_LIMIT) {
          if (!ShowsChainAndPopup(*game)) s.error = "no chain was caught in the play shot";
          Shoot("3-play.png", frame);
          ReleaseArrows();
          Next(Step::PAUSE);
        }
      }
      break;
    case Step::PAUSE:
      Tap(port::VK_ESCAPE, s.stepFrames, 1);
      if (s.stepFrames == 6) {
        if (!Current<PausePhase>()) s.error = "Esc did not pause the game";
        Shoot("4-pause.png", frame);
        Next(Step::RESUME);
      }
      break;
    case Step::RESUME:
      if (Tap(port::VK_ESCAPE, s.stepFrames, 1)) {
        // Play runs out while the clock jumps: the next update ends it.
        headless::AdvanceClockMilliseconds(PLAY_MILLISECONDS_SKIPPED);
        Next(Step::TIME_UP);
      }
      break;
    case Step::TIME_UP:
      if (s.stepFrames == 6) {
        if (!Current<OverPhase>()) s.error = "play did not end at time up";
        Shoot("5-timeup.png", frame);
        Next(Step::BACK_TO_TITLE);
      }
      break;
    case Step::BACK_TO_TITLE:
      if (Tap(VK_Z, s.stepFrames, 1)) Next(Step::QUIT);
      break;
    case Step::QUIT:
      if (Tap(port::VK_ESCAPE, s.stepFrames, 3)) Next(Step::DONE);
      break;
    case Step::DONE:
      break;
  }
}

void StartDemoScript(unsigned seed) {
  State() = Script();
  State().seed = seed;
}

bool DemoScriptFinished(std::string* error) {
  const Script& s = State();
  if (!s.error.empty()) {
    *error = s.error;
    return false;
  }
  if (s.step != Step::DONE) {
    *error = "the game ended before the script did";
    return false;
  }
  return true;
}

const std::vector<DemoShot>& DemoShots() { return State().shots; }
