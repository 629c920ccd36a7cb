// vexlo_long_run: the demo's autopilot plays game after game of ほのみかさ on
// the headless platform and the virtual clock, and after each game, back on
// the title screen, records what the process holds: the tracked
// allocator's live blocks and bytes, the Direct3D 9 and DirectInput fakes'
// live objects and the process's resident memory of its own (heap and
// stacks; ResidentKilobytes). After the first game none of them may grow.
//
//   vexlo_long_run [--games N] [--play-seconds S] [--mode software|hardware]
//
// Each game: the count-down, S seconds of play (default 180, a whole game)
// with a pause of two seconds in the middle, the time-up screen, back to the
// title. With S below 180 the clock jumps to the end of play after S
// seconds. Run from the folder holding DATA.QPA (or data\). Prints one line
// per game; the exit code is 1 when something grew after game 1 or the
// games did not go as scripted.
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/MainWindow.h"
#include "engine/platform/InputPort.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "engine/services/Memory.h"
#include "game/GamePhase.h"
#include "game/GameRandom.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/Phase.h"
#include "game/TitlePhase.h"
#include "game/WinMain.h"
#include "tools/demo/Autopilot.h"

namespace {

constexpr uint64_t REFRESH_MICROSECONDS = 16667;
constexpr unsigned SEED = 20261210;
constexpr int FRAMES_PER_SECOND = 60;
constexpr int PAUSE_FRAMES = 2 * FRAMES_PER_SECOND;
constexpr int OVER_FRAMES = 3 * FRAMES_PER_SECOND;
constexpr int TITLE_FRAMES = FRAMES_PER_SECOND;
// A phase that does not come within this many frames: the run is stuck.
constexpr int WAIT_LIMIT = 20 * FRAMES_PER_SECOND;
constexpr int VK_Z = 'Z';
constexpr long RESIDENT_SLACK_KILOBYTES = 64;

struct Options {
  int games = 20;
  int playSeconds = PLAY_MILLISECONDS / 1000;
  bool hardware = false;
};

// What the process holds after one game.
struct Holdings {
  int blocks = 0, bytes = 0;
  int direct3dObjects = 0, directInputObjects = 0;
  long residentKilobytes = 0;
};

enum class Step { TITLE, PLAY, PAUSE, RESUME, OVER, QUIT };

struct Run {
  Options options;
  Step step = Step::TITLE;
  int stepFrames = 0;
  int playFrames = 0;
  int gamesStarted = 0;
  std::vector<Holdings> afterGame;
  std::string error;
  const Phase* lastPhase = nullptr;
  int lastUpdates = -1;
};

Run run;

// The process's resident memory of its own (RssAnon: the heap, the stacks,
// everything not mapped from a file), once the C heap has given its free
// pages back (malloc_trim), so that the heap's high-water mark does not
// pass for growth. The pages of the program's code and libraries are left
// out: they come in as code first runs (the second game runs some that
// the first did not) and hold nothing the program keeps.
long ResidentKilobytes() {
  malloc_trim(0);
  long kilobytes = 0;
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "RssAnon: %ld kB", &kilobytes) == 1) break;
  std::fclose(status);
  return kilobytes;
}

// The headless platform records the calls made to it, for tests to read:
// the records are emptied before each measurement, so that what is
// measured is the game and the engine.
void ForgetPlatformRecords() {
  headless::ClearWindowCalls();
  headless::ClearDirect3D9Calls();
  headless::ClearDirectInputCalls();
  headless::ClearDebuggerOutput();
}

Holdings Measure() {
  ForgetPlatformRecords();
  const MemStatistics memory = MemReadStatistics();
  return {memory.count, memory.totalSize, headless::Direct3D9Calls().liveObjects,
          headless::DirectInputCalls().liveObjects, ResidentKilobytes()};
}

template <class T>
T* Current() {
  return dynamic_cast<T*>(currentPhase);
}

void Hold(int virtualKey, bool held) { headless::PressVirtualKey(virtualKey, held); }

void ReleaseArrows() {
  for (int key : {port::VK_LEFT, port::VK_RIGHT, port::VK_UP, port::VK_DOWN}) Hold(key, false);
}

void Next(Step step) {
  run.step = step;
  run.stepFrames = 0;
}

// A key pressed at frame `at` of the step and let go two frames later.
bool Tap(int virtualKey, int at) {
  if (run.stepFrames == at) Hold(virtualKey, true);
  if (run.stepFrames == at + 2) {
    Hold(virtualKey, false);
    return true;
  }
  return false;
}

// The run ends through the window's close box.
void Fail(const std::string& error) {
  if (!run.error.empty()) return;
  run.error = error;
  if (mainWindow != nullptr) headless::ClickCloseBox(mainWindow);
}

void Steer(const GamePhase& game) {
  const SteeringKeys keys = SteerTowardsBalls(game);
  Hold(port::VK_LEFT, keys.left);
  Hold(port::VK_RIGHT, keys.right);
  Hold(port::VK_UP, keys.up);
  Hold(port::VK_DOWN, keys.down);
}

void OnTitle() {
  const bool title = Current<TitlePhase>() != nullptr;
  if (title && run.stepFrames == 1 && run.gamesStarted > 0) run.afterGame.push_back(Measure());
  if (title && run.gamesStarted == run.options.games) {
    Hold(port::VK_ESCAPE, true);
    Next(Step::QUIT);
    return;
  }
  // The key goes up two frames after it went down, whatever came of it.
  if (Tap(VK_Z, TITLE_FRAMES)) {
    run.gamesStarted += 1;
    run.playFrames = 0;
    Next(Step::PLAY);
  }
}

void OnPlay() {
  if (Current<OverPhase>()) {
    ReleaseArrows();
    Next(Step::OVER);
    return;
  }
  GamePhase* game = Current<GamePhase>();
  if (game == nullptr || !game->playStarted) return;
  run.playFrames += 1;
  Steer(*game);
  const int playFramesWanted = run.options.playSeconds * FRAMES_PER_SECOND;
  if (run.playFrames == playFramesWanted / 2) {
    ReleaseArrows();
    Hold(port::VK_ESCAPE, true);
    Next(Step::PAUSE);
  } else if (run.playFrames == playFramesWanted && run.options.playSeconds * 1000 < PLAY_MILLISECONDS) {
    // A short game: play runs out while the clock jumps.
    headless::AdvanceClockMilliseconds(PLAY_MILLISECONDS);
  }
}

// Esc went down in the last frame of play: it goes up, and after the
// pause it goes down and up again.
void OnPause() {
  if (run.stepFrames == 2) Hold(port::VK_ESCAPE, false);
  if (run.stepFrames == PAUSE_FRAMES && !Current<PausePhase>()) Fail("Esc did not pause the game");
  if (Tap(port::VK_ESCAPE, PAUSE_FRAMES)) Next(Step::RESUME);
}

void OnFrame() {
  // Every present takes one refresh of the display, but only one that ends
  // a new turn of the frame loop counts as a frame (the window timer also
  // presents).
  headless::AdvanceClockMicroseconds(REFRESH_MICROSECONDS);
  const int updates = currentPhase != nullptr ? currentPhase->frameCount : -1;
  if (currentPhase == run.lastPhase && updates == run.lastUpdates) return;
  run.lastPhase = currentPhase;
  run.lastUpdates = updates;
  if (currentPhase == nullptr) return;
  run.stepFrames += 1;
  if (run.gamesStarted == 0 && run.stepFrames == 1) GameSrand(SEED);
  if (run.stepFrames > WAIT_LIMIT + PLAY_MILLISECONDS / 1000 * FRAMES_PER_SECOND)
    Fail("the game stopped following the script at step " + std::to_string(int(run.step)));
  switch (run.step) {
    case Step::TITLE: OnTitle(); break;
    case Step::PLAY: OnPlay(); break;
    case Step::PAUSE: OnPause(); break;
    case Step::RESUME:
      if (Current<GamePhase>()) Next(Step::PLAY);
      break;
    case Step::OVER:
      if (Tap(VK_Z, OVER_FRAMES)) Next(Step::TITLE);
      break;
    case Step::QUIT: break;
  }
}

void OnSoftwareFrame(const headless::PresentedFrame&) { OnFrame(); }

void ScriptPlatform(bool hardware) {
  headless::Window().messageBoxAnswer = port::IDNO;  // windowed
  headless::Direct3D9Script direct3d;
  direct3d.libraryPresent = hardware;
  // Neither the calls nor the pixels are kept: the run measures the
  // engine, not the fake's record.
  direct3d.recordCalls = false;
  direct3d.rasterize = false;
  headless::ScriptDirect3D9(direct3d);
  headless::DirectInputScript input;
  input.version8 = true;
  input.pads = {headless::ScriptedPad()};
  headless::ScriptDirectInput(input);
  headless::SetFramePresentedHook(OnSoftwareFrame);
  headless::SetDirect3D9PresentHook(OnFrame);
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i], value = argv[i + 1];
    if (name == "--games") options->games = std::atoi(value.c_str());
    else if (name == "--play-seconds") options->playSeconds = std::atoi(value.c_str());
    else if (name == "--mode" && (value == "software" || value == "hardware")) options->hardware = value == "hardware";
    else return false;
  }
  return argc % 2 == 1 && options->games >= 2 && options->playSeconds >= 2 &&
         options->playSeconds <= PLAY_MILLISECONDS / 1000;
}

void PrintHoldings(int game, const Holdings& h) {
  std::printf("game %3d: %5d blocks %9d bytes %4d Direct3D objects %3d DirectInput objects %8ld KiB resident (anonymous)\n",
              game, h.blocks, h.bytes, h.direct3dObjects, h.directInputObjects, h.residentKilobytes);
}

// Nothing may hold more after a later game than after the first. The
// resident pages move by a page or a few either way from game to game (a
// page of the heap holding blocks of different ages stays, a deeper call
// touches another page of a stack), so they are let off by
// RESIDENT_SLACK_KILOBYTES: a leak of the engine shows exactly in its
// blocks, and one of anything else, kept at every game, soon passes it.
bool NothingGrew() {
  const Holdings& first = run.afterGame.front();
  bool grew = false;
  for (size_t game = 1; game < run.afterGame.size(); ++game) {
    const Holdings& h = run.afterGame[game];
    if (h.blocks > first.blocks || h.bytes > first.bytes || h.direct3dObjects > first.direct3dObjects ||
        h.directInputObjects > first.directInputObjects ||
        h.residentKilobytes > first.residentKilobytes + RESIDENT_SLACK_KILOBYTES) {
      std::printf("grown after game %zu:\n", game + 1);
      PrintHoldings(int(game + 1), h);
      grew = true;
    }
  }
  return !grew;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ParseOptions(argc, argv, &run.options)) {
    std::fprintf(stderr,
                 "usage: vexlo_long_run [--games N>=2] [--play-seconds 2..180] [--mode software|hardware]\n");
    return 2;
  }
  ScriptPlatform(run.options.hardware);
  const int result = WinMain(nullptr, nullptr, nullptr, 0);
  std::printf("%s mode, %d games of %d s of play\n", run.options.hardware ? "hardware" : "software",
              run.gamesStarted, run.options.playSeconds);
  for (size_t game = 0; game < run.afterGame.size(); ++game) PrintHoldings(int(game + 1), run.afterGame[game]);
  if (result != 0) Fail("the game ended with " + std::to_string(result));
  if (run.afterGame.size() != size_t(run.options.games)) Fail("not every game came back to the title");
  if (!run.error.empty()) {
    std::printf("vexlo_long_run: %s\n", run.error.c_str());
    return 1;
  }
  const MemStatistics end = MemReadStatistics();
  std::printf("after shut-down: %d blocks, %d Direct3D objects, %d DirectInput objects\n", end.count,
              headless::Direct3D9Calls().liveObjects, headless::DirectInputCalls().liveObjects);
  const bool clean = NothingGrew() && end.count == 0 && headless::Direct3D9Calls().liveObjects == 0 &&
                     headless::DirectInputCalls().liveObjects == 0;
  std::printf("%s\n", clean ? "nothing grew after game 1" : "FAILED");
  return clean ? 0 : 1;
}
