// How an image of a hardware graph is laid out over power-of-two textures.
#pragma once

#include <vector>

#include "engine/graphics/records/TextureSet.h"

// What bounds the layout: the device's largest texture side, the screen
// width (images narrower than it take one texture per dimension) and
// whether the device makes square textures only.
struct TextureLimits {
  int maxTexture;
  int screenWidth;
  bool squareOnly;
};


// The pieces (no textures yet) covering a width x height image: the column
// widths and row heights of SplitTextureSize, one piece per cell in row-major
// order; on a square-only device every oblong piece keeps its first square
// and the squares after it (along its longer side) are appended to the
// list, those lying wholly outside the image left out. Used sizes are the
// part of each texture the image fills.
std::vector<TexturePiece> LayOutTexturePieces(int width, int height, const TextureLimits& limits);
