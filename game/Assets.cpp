#include "game/Assets.h"

#include <ctime>

#include "game/GameRandom.h"
#include "game/Phase.h"
#include "game/TitlePhase.h"

SpriteCell playerSprites[PLAYER_FRAMES];
SpriteCell ballSprites[BALL_COLORS * BALL_FRAMES];
SpriteCell glyphs[GLYPH_COUNT];
int ballColors[BALL_COLORS];

namespace {

constexpr int ACTOR_CELLS = PLAYER_FRAMES + BALL_COLORS * BALL_FRAMES;
constexpr int ACTOR_COLUMNS = 3, ACTOR_ROWS = 8, ACTOR_CELL_SIZE = 48;
constexpr int FONT_COLUMNS = 16, FONT_ROWS = 16, FONT_CELL_SIZE = 32;
// The centre of a 48 x 48 ball frame drawn at (0, 0).
constexpr int PROBE_X = 24, PROBE_Y = 24;

// A cell as the engine describes it. An invalid handle (a sheet that did not
// load) keeps the size 0 x 0, since QueryGraphSize leaves it untouched.
SpriteCell DescribeCell(Handle handle) {
  int width = 0, height = 0;
  QueryGraphSize(handle, &width, &height);
  return SpriteCell{handle, width, height};
}

// The handle arrays start as -1, so cells of a sheet that fails to load
// stay invalid handles that the engine refuses to draw.
void LoadActorSheet() {
  Handle cells[ACTOR_CELLS];
  for (Handle& cell : cells) cell = -1;
  LoadGraphSheet("data\\actors.bmp", ACTOR_CELLS, ACTOR_COLUMNS, ACTOR_ROWS, ACTOR_CELL_SIZE,
                 ACTOR_CELL_SIZE, cells, 0);
  for (int i = 0; i < ACTOR_CELLS; ++i) {
    if (i < PLAYER_FRAMES)
      playerSprites[i] = DescribeCell(cells[i]);
    else
      ballSprites[i - PLAYER_FRAMES] = DescribeCell(cells[i]);
  }
}

// Each colour is whatever the screen shows under the centre of its first
// frame once drawn; the probes are wiped afterwards.
void CaptureBallColors() {
  for (int color = 0; color < BALL_COLORS; ++color) {
    PutGraph(0, 0, BallIcon(color).handle, 1);
    ballColors[color] = ReadPixel(PROBE_X, PROBE_Y);
  }
  ClearDrawTarget(nullptr);
}

void LoadFontSheet() {
  Handle cells[GLYPH_COUNT];
  for (Handle& cell : cells) cell = -1;
  LoadGraphSheet("data\\font.bmp", GLYPH_COUNT, FONT_COLUMNS, FONT_ROWS, FONT_CELL_SIZE,
                 FONT_CELL_SIZE, cells, 0);
  for (int i = 0; i < GLYPH_COUNT; ++i) glyphs[i] = DescribeCell(cells[i]);
}

template <int N>
void ReleaseCells(SpriteCell (&cells)[N]) {
  for (SpriteCell& cell : cells) {
    ReleaseGraph(cell.handle, 0);
    cell = SpriteCell{0, 0, 0};
  }
}

}  // namespace

const SpriteCell& BallIcon(int color) { return ballSprites[BALL_FRAMES * color]; }

void LoadAssets() {
  GameSrand(static_cast<unsigned>(std::time(nullptr)));
  SetColorKey(0, 0, 0);
  LoadActorSheet();
  CaptureBallColors();
  SetColorKey(0, 0, 0);
  LoadFontSheet();
  currentPhase = new TitlePhase();
}

void ReleaseAssets() {
  ReleaseCells(playerSprites);
  ReleaseCells(ballSprites);
  ReleaseCells(glyphs);
}
