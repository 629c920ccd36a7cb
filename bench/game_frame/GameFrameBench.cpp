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
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/Engine.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/Presentation.h"
#include "engine/platform/headless/HeadlessClock.h"
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

constexpr double FRAME_BUDGET_SECONDS = 1.0 / 60;
constexpr uint64_t REFRESH_MICROSECONDS = 16667;

// Balls on a 16 x 8 grid over the play field, clear of the player, who
// waits in the bottom right corner: no ball is ever caught.
constexpr int BALL_COLUMNS = 16;
constexpr float BALL_LEFT = 30, BALL_STEP_X = 48;
constexpr float BALL_TOP = 100, BALL_STEP_Y = 50;
// Popups half way through a bonus popup's life, spread over the field.
constexpr int EFFECT_COLUMNS = 8;
constexpr int EFFECT_LIFETIME = 60;
constexpr int EFFECT_AGE = 30;

bool startedOk = false;

// The headless CPUID leaves 0, 1 and 7 and XCR0 become this processor's
// (but for the time-stamp counter).
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
  // No time-stamp counter: start-up would time it against the virtual
  // clock, which stands still.
  headless::SetTimeStampCounterPresent(false);
#endif
}

bool StartEngine() {
  AnswerAsThisProcessor();
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_COLOR_BITS, SCREEN_REFRESH_RATE);
  SetMainWindowCaption("ほのみかさ");
  EnableLogFile(0);
  if (StartupEngine() != 0) return false;
  presentOptions.noVerticalSyncWait = 1;
  LoadAssets();
  return true;
}

// Every ball slot filled, standing still (vy 0) so that none falls out.
void FillBalls(GamePhase& game) {
  for (int i = 0; i < BALL_SLOTS; ++i) {
    if (game.balls[i] == nullptr) game.balls[i] = new Ball();
    Ball& ball = *game.balls[i];
    ball.color = i % BALL_COLORS;
    ball.x = BALL_LEFT + BALL_STEP_X * static_cast<float>(i % BALL_COLUMNS);
    ball.y = BALL_TOP + BALL_STEP_Y * static_cast<float>(i / BALL_COLUMNS);
    ball.vx = 0;
    ball.vy = 0;
    ball.Update();  // shows its first picture
  }
}

// Every popup slot filled with a three-digit score at half its life; run
// again before each turn, so that the popups neither rise away nor die.
void ArmEffects(GamePhase& game) {
  for (int i = 0; i < EFFECT_SLOTS; ++i) {
    if (game.effects[i] == nullptr) game.effects[i] = new ScoreEffect();
    ScoreEffect& effect = *game.effects[i];
    effect.value = 100 * (1 + i % 9);
    effect.lifetime = EFFECT_LIFETIME;
    effect.frameCount = EFFECT_AGE;
    effect.alive = true;
    effect.x = 60 + 96 * static_cast<float>(i % EFFECT_COLUMNS);
    effect.y = 110 + 48 * static_cast<float>(i / EFFECT_COLUMNS);
  }
}

// The play clock restarted, so that time never runs out.
void RearmPlayClock(GamePhase& game) {
  game.playClock.running = false;
  game.playClock.accumulated = 0;
  game.playClock.Start();
}

// A game in play with a full status display: a six-digit score, five
// colours taken, a chain of 5 shown with its colour's ball.
GamePhase* MakeFullGame() {
  auto* game = new GamePhase();
  game->countdownClock.Stop();
  game->countingDown = false;
  game->playStarted = true;
  RearmPlayClock(*game);
  game->player->x = PLAYER_MAX_X;
  game->player->y = PLAYER_MAX_Y;
  game->player->Update();
  game->score = game->shownScore = 123450;
  for (int c = 0; c < BALL_COLORS; ++c) game->colorTaken[c] = c % 3 != 0;
  game->lastColor = 2;
  game->chain = 5;
  FillBalls(*game);
  ArmEffects(*game);
  return game;
}

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

// The game becomes the current phase; the title phase LoadAssets made goes.
GamePhase* InstallFullGame() {
  GamePhase* game = MakeFullGame();
  currentPhase = game;
  ReleaseUnreachablePhases();
  return game;
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
  if (glyphs['0'].handle < 0 || ballSprites[0].handle < 0) {
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
  std::error_code error;
  std::filesystem::current_path(VEXLO_SOURCE_ROOT, error);
  if (error) {
    std::fprintf(stderr, "game_frame_bench: cannot change to %s\n", VEXLO_SOURCE_ROOT);
    return 1;
  }
  startedOk = StartEngine();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  ReleaseAllPhases();
  ReleaseAssets();
  ShutdownEngine();
  return 0;
}
