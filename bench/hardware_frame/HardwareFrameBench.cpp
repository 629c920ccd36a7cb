// One whole frame of the game in hardware mode, on the headless Direct3D 9
// fake, against the same frame in software mode measured in the same run:
// 800 x 600 at 32 bits, a game in play with the status display, all 128
// ball slots and all 64 popup slots in use.
//
// The engine and the game are the real ones. Each pair of benchmarks starts
// the engine in one mode, loads the sheets, draws the frame, and shuts the
// engine down again; the software run comes first and is the reference.
//
//   BM_Draw/<mode>             GamePhase::Draw alone (in hardware mode with
//                              the batch drawn at the end): the engine's own
//                              work for the frame's sprites and boxes.
//   BM_DrawAndPresent/<mode>   ClearDrawTarget, Draw, PresentFrame. In
//                              hardware mode this includes the fake's own
//                              work (it clears and copies the 800 x 600
//                              back buffer in memory), which a real device
//                              does on the GPU.
//
// Counters of the hardware runs: draw_calls (DrawPrimitiveUP per frame),
// state_calls (SetRenderState, SetTextureStageState, SetSamplerState and
// SetTexture per frame), and ratio_to_software = processor time per frame /
// the software run's processor time per frame of the same benchmark (the
// processor time, as the machine's other work stretches the wall-clock
// time). The fake neither records nor rasterises the calls while timed, it
// only counts them, so that the times are the engine's and not the fake's.
//
// Run from anywhere: main changes to the source tree, where data\ holds the
// two sheets.
#include <benchmark/benchmark.h>

#include <ctime>

#include "bench/support/FullGameFrame.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"

namespace {

using namespace fullframe;

enum Mode { SOFTWARE = 0, HARDWARE = 1 };

// Seconds per frame of the software runs, by benchmark, for the ratios.
double softwareSecondsPerFrame[2] = {0, 0};

bool StartEngine(Mode mode) {
  headless::Direct3D9Script script;
  script.libraryPresent = mode == HARDWARE;
  script.recordCalls = false;
  script.rasterize = false;
  headless::ScriptDirect3D9(script);
  displayOptions.hardwareAttempt = mode == HARDWARE;
  return StartGameEngine() && hardwareMode == int(mode) && SheetsLoaded();
}

void StopEngine() {
  ReleaseAllPhases();
  ReleaseAssets();
  ShutdownEngine();
  headless::ResetDirect3D9Script();
}

int StateCallsSoFar() { return headless::Direct3D9Calls().stateCalls; }

template <typename Frame>
void RunFrames(benchmark::State& state, int slot, Frame frame) {
  const Mode mode = Mode(state.range(0));
  if (!StartEngine(mode)) {
    state.SkipWithError(mode == HARDWARE ? "the engine did not start in hardware mode"
                                         : "the engine did not start in software mode");
    StopEngine();
    return;
  }
  GamePhase* game = InstallFullGame();
  frame(game);  // one frame first: the states are set, the batch warm
  const int drawsBefore = headless::Direct3D9Calls().drawCalls;
  const int statesBefore = StateCallsSoFar();
  const std::clock_t start = std::clock();
  for (auto _ : state) frame(game);
  const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
  const double perFrame = seconds / double(state.iterations());
  if (mode == SOFTWARE) {
    softwareSecondsPerFrame[slot] = perFrame;
  } else {
    const double frames = double(state.iterations());
    state.counters["draw_calls"] = double(headless::Direct3D9Calls().drawCalls - drawsBefore) / frames;
    state.counters["state_calls"] = double(StateCallsSoFar() - statesBefore) / frames;
    if (softwareSecondsPerFrame[slot] > 0)
      state.counters["ratio_to_software"] = perFrame / softwareSecondsPerFrame[slot];
  }
  StopEngine();
}

void BM_Draw(benchmark::State& state) {
  RunFrames(state, 0, [](GamePhase* game) {
    game->Draw();
    if (hardwareMode) FlushBatch();
  });
}
BENCHMARK(BM_Draw)->Arg(SOFTWARE)->Arg(HARDWARE)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_DrawAndPresent(benchmark::State& state) {
  RunFrames(state, 1, [&state](GamePhase* game) {
    ClearDrawTarget(nullptr);
    game->Draw();
    if (PresentFrame() != 0) state.SkipWithError("PresentFrame failed");
  });
}
BENCHMARK(BM_DrawAndPresent)
    ->Arg(SOFTWARE)
    ->Arg(HARDWARE)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!ChangeToSourceRoot("hardware_frame_bench", VEXLO_SOURCE_ROOT)) return 1;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
