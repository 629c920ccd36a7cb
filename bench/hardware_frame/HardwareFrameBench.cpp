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
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <ctime>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/Engine.h"
#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/HardwareScene.h"
#include "engine/graphics/Presentation.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "game/Assets.h"
#include "game/Ball.h"
#include "game/GamePhase.h"
#include "game/Phase.h"
#include "game/PhaseLifetime.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "game/Screen.h"

namespace {

// Balls on a 16 x 8 grid over the play field, clear of the player in the
// bottom right corner; popups at half their life, spread over the field.
constexpr int BALL_COLUMNS = 16;
constexpr float BALL_LEFT = 30, BALL_STEP_X = 48;
constexpr float BALL_TOP = 100, BALL_STEP_Y = 50;
constexpr int EFFECT_COLUMNS = 8;
constexpr int EFFECT_LIFETIME = 60;
constexpr int EFFECT_AGE = 30;

enum Mode { SOFTWARE = 0, HARDWARE = 1 };

// Seconds per frame of the software runs, by benchmark, for the ratios.
double softwareSecondsPerFrame[2] = {0, 0};

// The headless CPUID leaves 0, 1 and 7 and XCR0 become this processor's,
// so that the software renderer chooses the loops the program would; no
// time-stamp counter, which start-up would time against the virtual clock.
void AnswerAsThisProcessor() {
#if defined(__x86_64__) || defined(__i386__)
  for (uint32_t leaf : {0u, 1u, 7u}) {
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid_count(leaf, 0, eax, ebx, ecx, edx);
    headless::SetCpuidLeaf(leaf, eax, ebx, ecx, edx);
  }
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  if ((ecx >> 27) & 1) {
    uint32_t low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    headless::SetXcr0(static_cast<uint64_t>(high) << 32 | low);
  }
#endif
  headless::SetTimeStampCounterPresent(false);
}

bool StartEngine(Mode mode) {
  AnswerAsThisProcessor();
  headless::Direct3D9Script script;
  script.libraryPresent = mode == HARDWARE;
  script.recordCalls = false;
  script.rasterize = false;
  headless::ScriptDirect3D9(script);
  displayOptions.hardwareAttempt = mode == HARDWARE;
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_COLOR_BITS, SCREEN_REFRESH_RATE);
  SetMainWindowCaption("ほのみかさ");
  EnableLogFile(0);
  if (StartupEngine() != 0) return false;
  presentOptions.noVerticalSyncWait = 1;
  LoadAssets();
  return hardwareMode == int(mode) && glyphs['0'].handle >= 0 && ballSprites[0].handle >= 0;
}

void StopEngine() {
  ReleaseAllPhases();
  ReleaseAssets();
  ShutdownEngine();
  headless::ResetDirect3D9Script();
}

GamePhase* InstallFullGame() {
  auto* game = new GamePhase();
  game->countdownClock.Stop();
  game->countingDown = false;
  game->playStarted = true;
  game->playClock.Start();
  game->player->x = PLAYER_MAX_X;
  game->player->y = PLAYER_MAX_Y;
  game->player->Update();
  game->score = game->shownScore = 123450;
  for (int c = 0; c < BALL_COLORS; ++c) game->colorTaken[c] = c % 3 != 0;
  game->lastColor = 2;
  game->chain = 5;
  for (int i = 0; i < BALL_SLOTS; ++i) {
    game->balls[i] = new Ball();
    Ball& ball = *game->balls[i];
    ball.color = i % BALL_COLORS;
    ball.x = BALL_LEFT + BALL_STEP_X * static_cast<float>(i % BALL_COLUMNS);
    ball.y = BALL_TOP + BALL_STEP_Y * static_cast<float>(i / BALL_COLUMNS);
    ball.vx = ball.vy = 0;
    ball.Update();
  }
  for (int i = 0; i < EFFECT_SLOTS; ++i) {
    game->effects[i] = new ScoreEffect();
    ScoreEffect& effect = *game->effects[i];
    effect.value = 100 * (1 + i % 9);
    effect.lifetime = EFFECT_LIFETIME;
    effect.frameCount = EFFECT_AGE;
    effect.alive = true;
    effect.x = 60 + 96 * static_cast<float>(i % EFFECT_COLUMNS);
    effect.y = 110 + 48 * static_cast<float>(i / EFFECT_COLUMNS);
  }
  currentPhase = game;
  ReleaseUnreachablePhases();
  return game;
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
  std::error_code error;
  std::filesystem::current_path(VEXLO_SOURCE_ROOT, error);
  if (error) {
    std::fprintf(stderr, "hardware_frame_bench: cannot change to %s\n", VEXLO_SOURCE_ROOT);
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
