// The frame both game-frame benchmarks draw: the real engine and game on
// the headless platform, 800 x 600 at 32 bits, a game in play with the
// status display, all 128 ball slots and all 64 popup slots in use.
#pragma once

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/Engine.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "game/Assets.h"
#include "game/Ball.h"
#include "game/GamePhase.h"
#include "game/Phase.h"
#include "game/PhaseLifetime.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "game/Screen.h"

namespace fullframe {

// Balls on a 16 x 8 grid over the play field, clear of the player, who
// waits in the bottom right corner: no ball is ever caught.
constexpr int BALL_COLUMNS = 16;
constexpr float BALL_LEFT = 30, BALL_STEP_X = 48;
constexpr float BALL_TOP = 100, BALL_STEP_Y = 50;
// Popups half way through a bonus popup's life, spread over the field.
constexpr int EFFECT_COLUMNS = 8;
constexpr int EFFECT_LIFETIME = 60;
constexpr int EFFECT_AGE = 30;

// The headless CPUID leaves 0, 1 and 7 and XCR0 become this processor's,
// so that start-up records its vector extensions and the software renderer
// chooses the loops the program would choose here.
inline void AnswerAsThisProcessor() {
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
  // No time-stamp counter: start-up would time it against the virtual
  // clock, which stands still.
  headless::SetTimeStampCounterPresent(false);
}

// Starts the engine as the program does, without the frame pacing (on the
// virtual clock it would sleep in real time while its clock stands still),
// and loads the sheets. False when the engine did not start.
inline bool StartGameEngine() {
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

// 1 when both sheets loaded (the benchmark ran where data\ holds them).
inline bool SheetsLoaded() { return glyphs['0'].handle >= 0 && ballSprites[0].handle >= 0; }

// Every ball slot filled, standing still (vy 0) so that none falls out.
inline void FillBalls(GamePhase& game) {
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
inline void ArmEffects(GamePhase& game) {
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
inline void RearmPlayClock(GamePhase& game) {
  game.playClock.running = false;
  game.playClock.accumulated = 0;
  game.playClock.Start();
}

// A game in play with a full status display (a six-digit score, five
// colours taken, a chain of 5 shown with its colour's ball) becomes the
// current phase; the title phase LoadAssets made goes.
inline GamePhase* InstallFullGame() {
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
  currentPhase = game;
  ReleaseUnreachablePhases();
  return game;
}

// The benchmarks read the sheets from data\ of the source tree.
inline bool ChangeToSourceRoot(const char* program, const char* root) {
  std::error_code error;
  std::filesystem::current_path(root, error);
  if (!error) return true;
  std::fprintf(stderr, "%s: cannot change to %s\n", program, root);
  return false;
}

}  // namespace fullframe
