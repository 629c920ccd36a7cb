// Movement, animation and drawing of the player, the balls and the score
// popups, and the catch test.
#include <gtest/gtest.h>

#include "game/Assets.h"
#include "game/Ball.h"
#include "game/Collide.h"
#include "game/GameRandom.h"
#include "game/Keys.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "tests/game/DrawnItems.h"
#include "tests/game/GameFixture.h"

namespace {

using ActorsTest = GameTest;

struct MoveCase {
  std::vector<int> keys;
  float vx, vy;
};

class PlayerMoveTest : public GameTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(PlayerMoveTest, StepsByTheHeldArrows) {
  Player player;
  player.x = 400;
  player.y = 300;
  recording.BeginTurn();
  for (int key : GetParam().keys) recording.Hold(key, recording.turn, recording.turn);
  player.Update();
  EXPECT_FLOAT_EQ(player.vx, GetParam().vx);
  EXPECT_FLOAT_EQ(player.vy, GetParam().vy);
  EXPECT_FLOAT_EQ(player.x, 400 + GetParam().vx);
  EXPECT_FLOAT_EQ(player.y, 300 + GetParam().vy);
}

constexpr float D = 3.5355339f;  // 5 / 1.41421356

INSTANTIATE_TEST_SUITE_P(
    Keys, PlayerMoveTest,
    ::testing::Values(MoveCase{{}, 0, 0}, MoveCase{{KEY_LEFT}, -5, 0}, MoveCase{{KEY_RIGHT}, 5, 0},
                      MoveCase{{KEY_UP}, 0, -5}, MoveCase{{KEY_DOWN}, 0, 5},
                      MoveCase{{KEY_LEFT, KEY_RIGHT}, 0, 0}, MoveCase{{KEY_UP, KEY_DOWN}, 0, 0},
                      MoveCase{{KEY_LEFT, KEY_RIGHT, KEY_UP}, 0, -5},
                      MoveCase{{KEY_UP, KEY_LEFT}, -D, -D}, MoveCase{{KEY_UP, KEY_RIGHT}, D, -D},
                      MoveCase{{KEY_DOWN, KEY_LEFT}, -D, D}, MoveCase{{KEY_DOWN, KEY_RIGHT}, D, D},
                      MoveCase{{KEY_Z, KEY_Q, KEY_ESCAPE}, 0, 0}));

TEST_F(ActorsTest, DiagonalRunIsClampedAtTheTopBarWhileXGoesOn) {
  Player player;
  player.x = 400;
  player.y = 300;
  recording.Hold(KEY_UP, 0, 99);
  recording.Hold(KEY_LEFT, 0, 99);
  for (int frame = 1; frame <= 100; ++frame) {
    recording.BeginTurn();
    player.Update();
    if (frame == 59) {
      EXPECT_GT(player.y, 88.0f);
    }
    if (frame == 60) {
      EXPECT_EQ(player.y, 88.0f);
    }
  }
  EXPECT_NEAR(player.x, 46.45f, 0.01f);
  EXPECT_EQ(player.y, 88.0f);
}

struct ClampCase {
  std::vector<int> keys;
  float x, y;
};

class PlayerClampTest : public GameTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(PlayerClampTest, NeverLeavesThePlayfield) {
  Player player;
  player.x = 400;
  player.y = 300;
  for (int frame = 0; frame < 200; ++frame) {
    recording.BeginTurn();
    for (int key : GetParam().keys) recording.Hold(key, recording.turn, recording.turn);
    player.Update();
    ASSERT_GE(player.x, 24.0f);
    ASSERT_LE(player.x, 776.0f);
    ASSERT_GE(player.y, 88.0f);
    ASSERT_LE(player.y, 496.0f);
  }
  EXPECT_EQ(player.x, GetParam().x);
  EXPECT_EQ(player.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(Corners, PlayerClampTest,
                         ::testing::Values(ClampCase{{KEY_LEFT, KEY_UP}, 24, 88},
                                           ClampCase{{KEY_RIGHT, KEY_UP}, 776, 88},
                                           ClampCase{{KEY_LEFT, KEY_DOWN}, 24, 496},
                                           ClampCase{{KEY_RIGHT, KEY_DOWN}, 776, 496},
                                           ClampCase{{KEY_DOWN}, 400, 496}));

// Frame (frameCount / 3) % 3, taken before the count advances.
TEST_F(ActorsTest, PlayerAndBallCycleTheirFramesEveryThreeUpdates) {
  Player player;
  Ball ball;
  ball.color = 4;
  const int cycle[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 0, 0, 0, 1};
  for (int frame : cycle) {
    recording.BeginTurn();
    player.Update();
    ball.Update();
    EXPECT_EQ(player.sprite, playerSprites[frame].handle);
    EXPECT_EQ(ball.sprite, ballSprites[3 * 4 + frame].handle);
    EXPECT_EQ(ball.width, 48);
    EXPECT_EQ(player.height, 48);
  }
  EXPECT_EQ(player.frameCount, 13);
}

TEST_F(ActorsTest, ABallDrawsItsColourOnConstruction) {
  GameSrand(77);
  const int expected = GameRand() % 7;
  GameSrand(77);
  Ball ball;
  EXPECT_EQ(ball.color, expected);
  EXPECT_EQ(ball.radius, 20.0f);
  EXPECT_TRUE(ball.alive);
  EXPECT_EQ(Player().radius, 16.0f);
}

struct FallCase {
  float speed;
  int updates;  // the one that kills the ball included
  float lastY;
};

class BallFallTest : public GameTest, public ::testing::WithParamInterface<FallCase> {};

// A ball goes only once it is below y 624: at speed 3.0 it stands on 624
// exactly after update 216 and lives on for one more.
TEST_P(BallFallTest, DiesInTheUpdateThatTakesItPast624) {
  Ball ball;
  ball.y = -24;
  ball.vy = GetParam().speed;
  int updates = 0;
  while (ball.alive && updates < 1000) {
    ball.Update();
    ++updates;
  }
  EXPECT_EQ(updates, GetParam().updates);
  EXPECT_EQ(ball.y, GetParam().lastY);
}

INSTANTIATE_TEST_SUITE_P(Speeds, BallFallTest,
                         ::testing::Values(FallCase{2.5f, 260, 626.0f}, FallCase{3.0f, 217, 627.0f}));

struct DrawCase {
  float x, y;
  int left, top;
  int width = 48, height = 48;
};

class ActorDrawTest : public GameTest, public ::testing::WithParamInterface<DrawCase> {};

// Centred by integer halves; the corner truncated toward zero.
TEST_P(ActorDrawTest, DrawsTheCellCentredOnThePosition) {
  Ball ball;
  ball.x = GetParam().x;
  ball.y = GetParam().y;
  ball.Update();  // vy 0: only picks the cell
  ball.width = GetParam().width;
  ball.height = GetParam().height;
  recording.ClearCalls();
  ball.Draw();
  ASSERT_EQ(recording.calls.size(), 1u);
  EXPECT_EQ(recording.calls[0].name, "PutGraph");
  EXPECT_EQ(recording.calls[0].args,
            (std::vector<long long>{GetParam().left, GetParam().top, ball.sprite, 1}));
}

INSTANTIATE_TEST_SUITE_P(Positions, ActorDrawTest,
                         ::testing::Values(DrawCase{400, 300, 376, 276}, DrawCase{46.45f, 88, 22, 64},
                                           DrawCase{10.7f, -24, -13, -48},
                                           DrawCase{799, 623.9f, 775, 599},
                                           DrawCase{100, 100, 84, 77, 33, 47}));

struct CollideCase {
  float dx, dy;
  bool caught;
};

class CollideTest : public GameTest, public ::testing::WithParamInterface<CollideCase> {};

TEST_P(CollideTest, CatchesOnlyWhenCentresAreCloserThan36) {
  Ball ball;
  Player player;
  player.x = 400;
  player.y = 300;
  ball.x = 400 + GetParam().dx;
  ball.y = 300 + GetParam().dy;
  EXPECT_EQ(Collide(ball, player), GetParam().caught) << GetParam().dx << ", " << GetParam().dy;
}

INSTANTIATE_TEST_SUITE_P(Distances, CollideTest,
                         ::testing::Values(CollideCase{36.0f, 0, false}, CollideCase{-36.0f, 0, false},
                                           CollideCase{0, 36.0f, false}, CollideCase{35.9f, 0, true},
                                           CollideCase{0, -35.9f, true}, CollideCase{0, 0, true},
                                           CollideCase{25.4f, 25.4f, true},
                                           CollideCase{25.5f, 25.5f, false},
                                           CollideCase{100, 0, false}));

// ---- Score popups ----

struct PopupCase {
  int lifetime;
  int drawnFrames;
  int firstOpacity, lastOpacity;
};

class PopupTest : public GameTest, public ::testing::WithParamInterface<PopupCase> {};

// Updated in the frame it is made, so it is drawn lifetime - 1 times,
// rising 5 pixels a frame and fading linearly.
TEST_P(PopupTest, LivesLifetimeMinusOneDrawnFrames) {
  ScoreEffect effect;
  effect.lifetime = GetParam().lifetime;
  effect.value = 10;
  effect.x = 400;
  effect.y = 300;
  std::vector<int> opacities;
  std::vector<TextAt> texts;
  for (int frame = 0; frame < 100; ++frame) {
    effect.Update();
    if (!effect.alive) break;
    recording.ClearCalls();
    effect.Draw();
    const auto blends = recording.Named("ChooseBlendMode");
    ASSERT_EQ(blends.size(), 2u);
    EXPECT_EQ(blends[0].args[0], BLEND_ALPHA);
    EXPECT_EQ(blends[1].args, (std::vector<long long>{BLEND_NONE, 0}));
    opacities.push_back(int(blends[0].args[1]));
    const auto drawn = Texts(DrawnItems(recording.calls));
    ASSERT_EQ(drawn.size(), 1u);
    texts.push_back(drawn[0]);
  }
  ASSERT_EQ(int(opacities.size()), GetParam().drawnFrames);
  EXPECT_EQ(opacities.front(), GetParam().firstOpacity);
  EXPECT_EQ(opacities.back(), GetParam().lastOpacity);
  for (size_t i = 1; i < opacities.size(); ++i) EXPECT_LT(opacities[i], opacities[i - 1]);
  // "10" centred on x 400: from 368; 16 above a y that rose 5 already.
  EXPECT_EQ(texts[0], (TextAt{"10", 0xFFFFFF, 368, 279}));
  if (texts.size() > 1) {
    EXPECT_EQ(texts[1].y, 274);
  }
}

INSTANTIATE_TEST_SUITE_P(Lifetimes, PopupTest,
                         ::testing::Values(PopupCase{15, 14, 238, 17}, PopupCase{60, 59, 251, 5},
                                           PopupCase{2, 1, 128, 128}));

TEST_F(ActorsTest, PopupOpacitiesFallBy17ForLifetime15) {
  ScoreEffect effect;
  effect.lifetime = 15;
  std::vector<int> opacities;
  for (effect.Update(); effect.alive; effect.Update()) {
    recording.ClearCalls();
    effect.Draw();
    opacities.push_back(int(recording.Named("ChooseBlendMode")[0].args[1]));
  }
  std::vector<int> expected;
  for (int o = 238; o >= 17; o -= 17) expected.push_back(o);
  EXPECT_EQ(opacities, expected);
}

struct PopupDrawCase {
  int lifetime, frameCount, value;
  float x, y;
  int opacity;
  TextAt text;
};

class PopupDrawTest : public GameTest, public ::testing::WithParamInterface<PopupDrawCase> {};

// Centred on x by its length, 16 above y. A popup without a lifetime never
// lives to be drawn in the game; drawn anyway, it is invisible instead of
// dividing by zero.
TEST_P(PopupDrawTest, DrawsItsValueCentredAtItsOpacity) {
  const PopupDrawCase& c = GetParam();
  ScoreEffect effect;
  effect.lifetime = c.lifetime;
  effect.frameCount = c.frameCount;
  effect.value = c.value;
  effect.x = c.x;
  effect.y = c.y;
  effect.Draw();
  EXPECT_EQ(recording.Named("ChooseBlendMode")[0].args,
            (std::vector<long long>{BLEND_ALPHA, c.opacity}));
  EXPECT_EQ(Texts(DrawnItems(recording.calls)), std::vector<TextAt>{c.text});
}

INSTANTIATE_TEST_SUITE_P(
    Popups, PopupDrawTest,
    ::testing::Values(PopupDrawCase{60, 0, 1000, 171, 576, 255, {"1000", 0xFFFFFF, 107, 560}},
                      PopupDrawCase{15, 7, -5, 400, 300, 136, {"-5", 0xFFFFFF, 368, 284}},
                      PopupDrawCase{0, 0, 10, 400, 300, 0, {"10", 0xFFFFFF, 368, 284}},
                      PopupDrawCase{0, 1, 10, 400, 300, 0, {"10", 0xFFFFFF, 368, 284}}));

}  // namespace
