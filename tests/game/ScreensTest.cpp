// What the player sees: the text routine, the status display, and the
// title, pause and time-up screens. Expected texts are written as their
// code page 932 bytes.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/Assets.h"
#include "game/Ball.h"
#include "game/Player.h"
#include "game/ScoreEffect.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/StatusDisplay.h"
#include "game/Text.h"
#include "game/TitlePhase.h"
#include "game/Version.h"
#include "tests/game/DrawnItems.h"
#include "tests/game/GameFixture.h"

namespace {

constexpr int WHITE = 0xFFFFFF, GREY = 0x646464, RED = 0xFF0000;

using ScreensTest = GameTest;

// ---- DrawString ----

class DrawStringTest : public GameTest, public ::testing::WithParamInterface<int> {};

TEST_P(DrawStringTest, TintsEachGlyphAndLeavesTheModulationWhite) {
  const int color = GetParam();
  DrawString(color, "A b!", 10, 20);
  ASSERT_EQ(recording.calls.size(), 6u);
  EXPECT_EQ(recording.calls[0].name, "SetModulateColor");
  EXPECT_EQ(recording.calls[0].args,
            (std::vector<long long>{(color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF}));
  const char text[] = "A b!";
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(recording.calls[1 + i].args,
              (std::vector<long long>{10 + 32 * i, 20, glyphs[int(text[i])].handle, 1}));
    EXPECT_EQ(recording.calls[1 + i].modulation, color);
  }
  EXPECT_EQ(recording.calls[5].args, (std::vector<long long>{255, 255, 255}));
}

INSTANTIATE_TEST_SUITE_P(Colors, DrawStringTest,
                         ::testing::Values(0xFFFFFF, 0x646464, 0xFF0000, 0x000000, 0x12AB34));

TEST_F(ScreensTest, DrawStringUsesTheGlyphOfEachHighByte) {
  DrawString(WHITE, "\xB1\xDF\xA1", 0, 0);
  const auto puts = recording.Named("PutGraph");
  ASSERT_EQ(puts.size(), 3u);
  EXPECT_EQ(puts[0].args[2], glyphs[0xB1].handle);
  EXPECT_EQ(puts[1].args[2], glyphs[0xDF].handle);
  EXPECT_EQ(puts[2].args[2], glyphs[0xA1].handle);
}

// ---- Status display ----

GamePhase* GameForDisplay() {
  recording.clock = 0;
  auto* game = new GamePhase();
  recording.ClearCalls();
  return game;
}

TEST_F(ScreensTest, StatusDisplayDrawsEveryPartInOrder) {
  GamePhase* game = GameForDisplay();
  game->shownScore = 1070;
  game->chain = 12;
  game->lastColor = 3;
  const bool taken[7] = {true, false, true, false, false, false, true};
  std::copy(std::begin(taken), std::end(taken), game->colorTaken);
  DrawStatusDisplay(*game);
  const std::vector<DrawnItem> items = DrawnItems(recording.calls);
  ASSERT_EQ(items.size(), 17u);

  for (int bar = 0; bar < 2; ++bar) {
    const DrawnItem& box = items[bar];
    EXPECT_EQ(box.kind, DrawnItem::Kind::Box);
    EXPECT_EQ(box.color, 0x161616);
    EXPECT_EQ(box.blendMode, BLEND_ALPHA);
    EXPECT_EQ(box.blendParameter, 255);
  }
  EXPECT_EQ(std::vector<int>({items[0].x, items[0].y, items[0].x2, items[0].y2}),
            std::vector<int>({0, 0, 800, 64}));
  EXPECT_EQ(std::vector<int>({items[1].x, items[1].y, items[1].x2, items[1].y2}),
            std::vector<int>({0, 520, 800, 600}));
  const auto fills = recording.Named("PaintBox");
  EXPECT_EQ(fills[0].args[5], 1);

  const std::vector<TextAt> texts = Texts(items);
  const std::vector<TextAt> expected = {
      {"\xC4\xB8\xC3\xDD", GREY, 136, 0},
      {"1070", WHITE, 136, 32},
      {"\xC9\xBA\xD8\xBC\xDE\xB6\xDD", GREY, 488, 0},
      {"3:00:000", WHITE, 472, 32},
      {"\xC4\xAF\xC0 \xB2\xDB", GREY, 0, 520},
      {"\xBB\xB2\xBA\xDE\xC9 \xB2\xDB", GREY, 544, 520},
      {"12\xDA\xDD\xBF\xDE\xB8!", TEST_BALL_COLORS[3], 496, 560},
  };
  EXPECT_EQ(texts, expected);

  // The seven icons, faint (alpha 32) where the colour is not held.
  const auto sprites = OfKind(items, DrawnItem::Kind::Sprite);
  ASSERT_EQ(sprites.size(), 8u);
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(sprites[c].handle, ballSprites[3 * c].handle);
    EXPECT_EQ(sprites[c].x, 48 * c);
    EXPECT_EQ(sprites[c].y, 552);
    EXPECT_EQ(sprites[c].blendMode, taken[c] ? BLEND_NONE : BLEND_ALPHA) << c;
    if (!taken[c]) {
      EXPECT_EQ(sprites[c].blendParameter, 32);
    }
  }
  EXPECT_EQ(sprites[7].handle, ballSprites[9].handle);
  EXPECT_EQ(sprites[7].x, 752);
  EXPECT_EQ(sprites[7].y, 552);
  EXPECT_EQ(sprites[7].blendMode, BLEND_NONE);
  EXPECT_EQ(recording.modulation, WHITE);
  EXPECT_EQ(recording.blendMode, BLEND_NONE);
}

struct ChainCase {
  int chain;
  bool icon;
  std::vector<TextAt> text;
};

class ChainDisplayTest : public GameTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ChainDisplayTest, ShowsTheLastColourAndRightAlignsTheChain) {
  GamePhase* game = GameForDisplay();
  game->chain = GetParam().chain;
  game->lastColor = 5;
  DrawStatusDisplay(*game);
  const std::vector<DrawnItem> items = DrawnItems(recording.calls);
  const auto sprites = OfKind(items, DrawnItem::Kind::Sprite);
  ASSERT_EQ(sprites.size(), GetParam().icon ? 8u : 7u);
  if (GetParam().icon) {
    EXPECT_EQ(sprites[7].handle, ballSprites[15].handle);
  }
  std::vector<TextAt> chainTexts;
  for (const TextAt& text : Texts(items))
    if (text.y == 560) chainTexts.push_back(text);
  EXPECT_EQ(chainTexts, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, ChainDisplayTest,
    ::testing::Values(ChainCase{0, false, {}}, ChainCase{1, true, {}},
                      ChainCase{2, true, {{"2\xDA\xDD\xBF\xDE\xB8!", TEST_BALL_COLORS[5], 528, 560}}},
                      ChainCase{123, true,
                                {{"123\xDA\xDD\xBF\xDE\xB8!", TEST_BALL_COLORS[5], 464, 560}}}));

struct TimeCase {
  int elapsed;  // on the play clock
  const char* text;
  int color;
};

class TimeDisplayTest : public GameTest, public ::testing::WithParamInterface<TimeCase> {};

// White above 30 s; red from 30 000 ms down, shown only when frameCount % 20
// is 10..19.
TEST_P(TimeDisplayTest, FormatsAndBlinksTheTimeLeft) {
  GamePhase* game = GameForDisplay();
  game->playClock.accumulated = GetParam().elapsed;
  for (int frame = 0; frame < 40; ++frame) {
    game->frameCount = frame;
    recording.ClearCalls();
    DrawStatusDisplay(*game);
    std::vector<TextAt> timeTexts;
    for (const TextAt& text : Texts(DrawnItems(recording.calls)))
      if (text.y == 32 && text.x > 400) timeTexts.push_back(text);
    const bool visible = GetParam().color == WHITE || (frame % 20) >= 10;
    if (visible) {
      EXPECT_EQ(timeTexts, (std::vector<TextAt>{{GetParam().text, GetParam().color, 472, 32}}))
          << "frame " << frame;
    } else {
      EXPECT_TRUE(timeTexts.empty()) << "frame " << frame;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeDisplayTest,
    ::testing::Values(TimeCase{0, "3:00:000", WHITE}, TimeCase{1, "2:59:999", WHITE},
                      TimeCase{61001, "1:58:999", WHITE}, TimeCase{149999, "0:30:001", WHITE},
                      TimeCase{150000, "0:30:000", RED}, TimeCase{150001, "0:29:999", RED},
                      TimeCase{179999, "0:00:001", RED}, TimeCase{180000, "0:00:000", RED},
                      TimeCase{250000, "0:00:000", RED}));

struct ReadAgainCase {
  const char* what;
  std::vector<int> updateClocks;  // one update at each; the game was made at clock 0
  int drawClock;
  TextAt shown;
};

class ReadAgainTest : public GameTest, public ::testing::WithParamInterface<ReadAgainCase> {};

// The draw reads the clocks itself: what the update saw a moment earlier is
// not what is shown.
TEST_P(ReadAgainTest, TheClockIsReadAgainWhenDrawn) {
  GamePhase* game = GameForDisplay();
  for (int clock : GetParam().updateClocks) {
    recording.BeginTurn();
    recording.clock = clock;
    game->Update();
  }
  recording.clock = GetParam().drawClock;
  recording.ClearCalls();
  game->Draw();
  const std::vector<TextAt> texts = Texts(DrawnItems(recording.calls));
  EXPECT_NE(std::find(texts.begin(), texts.end(), GetParam().shown), texts.end())
      << GetParam().what << ": " << ::testing::PrintToString(texts);
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, ReadAgainTest,
    ::testing::Values(ReadAgainCase{"count-down", {1500}, 2500, {"1", WHITE, 384, 184}},
                      // Play starts at 4000; 20 000 ms of it have passed when drawn.
                      ReadAgainCase{"time left", {4000, 16345}, 24000, {"2:40:000", WHITE, 472, 32}}));

// ---- The screens ----

TEST_F(ScreensTest, TitleScreen) {
  TitlePhase title;
  title.Draw();
  const std::vector<TextAt> texts = Texts(DrawnItems(recording.calls));
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], (TextAt{"\xCE \xC9 \xD0 \xB6 \xBB @", WHITE, 224, 184}));
  EXPECT_EQ(texts[1], (TextAt{"Z\xB7\xB0 \xCA\xBC\xDE\xD2\xD9", WHITE, 256, 359}));
  EXPECT_EQ(texts[2], (TextAt{"Esc   \xB5\xDC\xD9", WHITE, 256, 409}));
  const std::string version = HONOMIKASA_VERSION "   ";
  EXPECT_EQ(texts[3].text.substr(0, version.size()), version) << "the project's version";
  EXPECT_GT(texts[3].text.size(), version.size()) << "a credit follows the version";
  EXPECT_LE(texts[3].text.size(), 25u) << "fits the screen";
  EXPECT_EQ(texts[3].color, GREY);
  EXPECT_EQ(texts[3].x, 0);
  EXPECT_EQ(texts[3].y, 568);
  EXPECT_EQ(recording.Named("PutGraph")[10].args[2], glyphs[0x40].handle) << "the ornament";
}

// The frozen game first, then the dimming, then the screen's texts.
struct OverlayExpectation {
  std::vector<TextAt> texts;
};

std::vector<DrawnItem> DrawAndSplit(Phase& overlay, GamePhase& game, size_t* gameItems) {
  recording.ClearCalls();
  game.Draw();
  const std::vector<DrawnItem> alone = DrawnItems(recording.calls);
  recording.ClearCalls();
  overlay.Draw();
  const std::vector<DrawnItem> all = DrawnItems(recording.calls);
  *gameItems = alone.size();
  EXPECT_GE(all.size(), alone.size());
  for (size_t i = 0; i < alone.size() && i < all.size(); ++i) {
    EXPECT_EQ(all[i].handle, alone[i].handle) << i;
    EXPECT_EQ(all[i].text, alone[i].text) << i;
  }
  return all;
}

void ExpectDimmingThenTexts(const std::vector<DrawnItem>& all, size_t gameItems,
                            const std::vector<TextAt>& texts) {
  ASSERT_EQ(all.size(), gameItems + 1 + texts.size());
  const DrawnItem& dim = all[gameItems];
  EXPECT_EQ(dim.kind, DrawnItem::Kind::Box);
  EXPECT_EQ(std::vector<int>({dim.x, dim.y, dim.x2, dim.y2, dim.color}),
            std::vector<int>({0, 0, 800, 600, 0}));
  EXPECT_EQ(dim.blendMode, BLEND_ALPHA);
  EXPECT_EQ(dim.blendParameter, 160);
  std::vector<DrawnItem> after(all.begin() + long(gameItems) + 1, all.end());
  EXPECT_EQ(Texts(after), texts);
  for (const DrawnItem& item : after) EXPECT_EQ(item.blendMode, BLEND_NONE);
}

TEST_F(ScreensTest, PauseScreen) {
  GamePhase* game = GameForDisplay();
  PausePhase pause(game);
  size_t gameItems = 0;
  const auto all = DrawAndSplit(pause, *game, &gameItems);
  ExpectDimmingThenTexts(all, gameItems,
                         {{"\xB7\xAD\xB3\xB9\xB2", WHITE, 320, 184},
                          {"Esc  \xB9\xDE\xB0\xD1\xBB\xB2\xB6\xB2", WHITE, 192, 359},
                          {"Q\xB7\xB0 \xC0\xB2\xC4\xD9\xC6\xD3\xC4\xDE\xD9", WHITE, 192, 409}});
}

TEST_F(ScreensTest, TimeUpScreenShowsTheRealScore) {
  GamePhase* game = GameForDisplay();
  game->score = 1070;
  game->shownScore = 200;  // still climbing underneath
  OverPhase over(game);
  size_t gameItems = 0;
  const auto all = DrawAndSplit(over, *game, &gameItems);
  ExpectDimmingThenTexts(all, gameItems,
                         {{"\xBC\xDE\xB6\xDD\xB7\xDE\xDA", WHITE, 288, 159},
                          {"\xB1\xC5\xC0\xC9 \xC4\xB8\xC3\xDD\xCA 1070 \xC3\xDD!", WHITE, 96, 209},
                          {"Z\xB7\xB0 \xC0\xB2\xC4\xD9\xC6\xD3\xC4\xDE\xD9", WHITE, 192, 384}});
  bool climbing = false;
  for (const TextAt& text : Texts(all)) climbing |= text == TextAt{"200", WHITE, 152, 32};
  EXPECT_TRUE(climbing);
}

TEST_F(ScreensTest, GameDrawsBallsPlayerStatusPopupsThenCountdown) {
  GamePhase* game = GameForDisplay();
  auto* ball = new Ball();
  ball->x = 100;
  ball->y = 100;
  ball->Update();
  game->balls[5] = ball;
  game->player->Update();
  auto* popup = new ScoreEffect();
  popup->lifetime = 15;
  popup->value = 10;
  popup->x = 400;
  popup->y = 300;
  game->effects[2] = popup;
  recording.ClearCalls();
  game->Draw();
  const std::vector<DrawnItem> items = DrawnItems(recording.calls);
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[0].handle, ball->sprite);
  EXPECT_EQ(items[1].handle, game->player->sprite);
  EXPECT_EQ(items[2].kind, DrawnItem::Kind::Box);
  const TextAt countdown = Texts(items).back();
  EXPECT_EQ(countdown, (TextAt{"3", WHITE, 384, 184}));
  const TextAt popupText = Texts(items)[Texts(items).size() - 2];
  EXPECT_EQ(popupText, (TextAt{"10", WHITE, 368, 284}));
}

}  // namespace
