// The pictures every part of the game draws from: the cells of the actor
// sheet and the font sheet, and the ball colours read back from the screen.
// Filled once by LoadAssets, read-only afterwards, emptied by ReleaseAssets.
#pragma once

#include "engine/core/Engine.h"

// One cell of a sheet, with the size QueryGraphSize reported for it.
struct SpriteCell {
  Handle handle;
  int width;
  int height;
};

constexpr int PLAYER_FRAMES = 3;
constexpr int BALL_COLORS = 7;
constexpr int BALL_FRAMES = 3;
constexpr int GLYPH_COUNT = 256;
// Every graph handle the game holds: 3 + 21 + 256.
constexpr int ASSET_HANDLE_COUNT = PLAYER_FRAMES + BALL_COLORS * BALL_FRAMES + GLYPH_COUNT;

extern SpriteCell playerSprites[PLAYER_FRAMES];
// Entry BALL_FRAMES * colour + frame.
extern SpriteCell ballSprites[BALL_COLORS * BALL_FRAMES];
// Entry n draws byte n.
extern SpriteCell glyphs[GLYPH_COUNT];
// Colour c as 0xRRGGBB: the screen pixel under the centre of that ball's
// first frame.
extern int ballColors[BALL_COLORS];

// The first frame of ball colour c.
const SpriteCell& BallIcon(int color);

// Seeds the random numbers, loads both sheets, captures the ball colours
// and installs the title phase. Called once, right after StartupEngine.
void LoadAssets();

// Releases every graph handle of the tables, player frames first, then the
// balls, then the glyphs, each in index order, and empties the entries.
void ReleaseAssets();
