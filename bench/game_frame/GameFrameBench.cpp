// One whole frame of the game in software mode, against the 1/60 s
// (16.7 ms) a 60 Hz display gives it: 800 x 600 at 32 bits, a game in play
// with the status display, all 128 ball slots and all 64 popup slots in use.
//
// The engine and the game are the real ones, started as the program starts
// them, on the headless platform (no Direct3D, so the software renderer
// draws; the presentation copies the screen into the headless window's
// frame). Two measures:
//
//   BM_DrawAndPresent   ClearDrawTarget, GamePhase::Draw, PresentFrame on a
//                       frozen game: the drawing cost of a full screen.
//   BM_ClearOnly, BM_DrawOnly, BM_PresentOnly
//                       each of the three alone, over and over: where the
//                       frame's time goes (drawing over a drawn frame
//                       blends as much as over a cleared one).
//   BM_WholeTurn        the frame loop's whole turn: PumpMessages,
//                       ClearDrawTarget, Update, Draw, the release of
//                       unreached phases, PresentFrame; the balls and popups
//                       are held in place so the load stays full.
//
// Counters: frames_per_second, and budget_ratio = time per frame / (1/60 s):
// below 1 the frame fits in a 60 Hz refresh. The frame pacing (the sleep
// until the next vertical blank, idle time by design) is switched off: on
// the virtual clock it would sleep in real time while its clock stands
// still. The virtual clock moves one refresh per frame, so the game's
// clocks run as at 60 Hz and the 32 ms front-target timer presents from
// the pump every other turn, as in the program.
//
// The headless platform answers CPUID and XGETBV as this machine's
// processor does, so start-up records its vector extensions and the
// renderer chooses the loops the program would choose here.
//
// Run from anywhere: main changes to the source tree, where data\ holds the
// two sheets.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/support/FullGameFrame.h"
#include "engine/platform/headless/HeadlessClock.h"

namespace {

using namespace fullframe;

constexpr double FRAME_BUDGET_SECONDS = 1.0 / 60;
constexpr uint64_t REFRESH_MICROSECONDS = 16667;

bool startedOk = false;

// SECONDS: the wall-clock time of all the state's iterations.
void ReportBudget(benchmark::State& state, double seconds) {
  state.counters["frames_per_second"] =
      benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["budget_ratio"] =
      benchmark::Counter(seconds / FRAME_BUDGET_SECONDS, benchmark::Counter::kAvgIterations);
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Ready(benchmark::State& state) {
  if (!startedOk) {
    state.SkipWithError("the engine did not start");
    return false;
  }
  if (hardwareMode) {
    state.SkipWithError("the engine chose Direct3D, not the software renderer");
    return false;
  }
  if (!SheetsLoaded()) {
    state.SkipWithError("the sheets did not load: run where data\\ holds them");
    return false;
  }
  return true;
}

void BM_DrawAndPresent(benchmark::State& state) {
  if (!Ready(state)) return;
  GamePhase* game = InstallFullGame();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    headless::AdvanceClockMicroseconds(REFRESH_MICROSECONDS);
    ClearDrawTarget(nullptr);
    game->Draw();
    if (PresentFrame() != 0) {
      state.SkipWithError("PresentFrame failed");
      break;
    }
  }
  const double seconds = SecondsSince(start);
  ReportBudget(state, seconds);
  ReleaseAllPhases();
}
BENCHMARK(BM_DrawAndPresent)->Unit(benchmark::kMillisecond)->UseRealTime();

// The three parts of BM_DrawAndPresent alone, on the same full game: where
// a frame's time goes.
enum class FramePart { CLEAR, DRAW, PRESENT };

void RunFramePart(benchmark::State& state, FramePart part) {
  if (!Ready(state)) return;
  GamePhase* game = InstallFullGame();
  ClearDrawTarget(nullptr);
  game->Draw();
  for (auto _ : state) {
    headless::AdvanceClockMicroseconds(REFRESH_MICROSECONDS);
    switch (part) {
      case FramePart::CLEAR: ClearDrawTarget(nullptr); break;
      case FramePart::DRAW: game->Draw(); break;
      case FramePart::PRESENT:
        if (PresentFrame() != 0) state.SkipWithError("PresentFrame failed");
        break;
    }
  }
  ReleaseAllPhases();
}
void BM_ClearOnly(benchmark::State& state) { RunFramePart(state, FramePart::CLEAR); }
void BM_DrawOnly(benchmark::State& state) { RunFramePart(state, FramePart::DRAW); }
void BM_PresentOnly(benchmark::State& state) { RunFramePart(state, FramePart::PRESENT); }
BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresentOnly)->Unit(benchmark::kMillisecond);

void BM_WholeTurn(benchmark::State& state) {
  if (!Ready(state)) return;
  GamePhase* game = InstallFullGame();
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    headless::AdvanceClockMicroseconds(REFRESH_MICROSECONDS);
    ArmEffects(*game);
    RearmPlayClock(*game);
    if (PumpMessages() != 0 || ClearDrawTarget(nullptr) != 0) {
      state.SkipWithError("the engine asked to end");
      break;
    }
    Phase* phase = currentPhase;
    phase->Update();
    phase->Draw();
    ReleaseUnreachablePhases();
    if (PresentFrame() != 0) {
      state.SkipWithError("PresentFrame failed");
      break;
    }
  }
  const double seconds = SecondsSince(start);
  int balls = 0;
  for (const Ball* ball : game->balls) balls += ball != nullptr;
  if (currentPhase != game || balls != BALL_SLOTS)
    state.SkipWithError("the game left play or lost balls while timed");
  ReportBudget(state, seconds);
  ReleaseAllPhases();
}
BENCHMARK(BM_WholeTurn)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!ChangeToSourceRoot("game_frame_bench", VEXLO_SOURCE_ROOT)) return 1;
  startedOk = StartGameEngine();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ReleaseAllPhases();
  ReleaseAssets();
  ShutdownEngine();
  return 0;
}
