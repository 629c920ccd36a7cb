#include "engine/graphics/hardware/TexturePieces.h"

#include <algorithm>

#include "engine/graphics/hardware/TextureSize.h"

namespace {

std::vector<int> Split(int size, const TextureLimits& limits) {
  int sizes[MAX_TEXTURE_SPLITS];
  int count = SplitTextureSize(size, limits.maxTexture, limits.screenWidth, sizes);
  return std::vector<int>(sizes, sizes + count);
}

TexturePiece PieceAt(int x, int y, int width, int height) {
  TexturePiece piece{};
  piece.x = x;
  piece.y = y;
  piece.textureWidth = width;
  piece.textureHeight = height;
  return piece;
}

// Cuts every oblong piece into squares of its shorter side: the first stays
// in place, the others go to the end of the list.
void CutIntoSquares(std::vector<TexturePiece>* pieces, int imageWidth, int imageHeight) {
  size_t original = pieces->size();
  for (size_t i = 0; i < original; ++i) {
    TexturePiece& piece = (*pieces)[i];
    int side = std::min(piece.textureWidth, piece.textureHeight);
    bool across = piece.textureWidth > piece.textureHeight;
    int squares = (across ? piece.textureWidth : piece.textureHeight) / side;
    int x = piece.x, y = piece.y;
    piece.textureWidth = piece.textureHeight = side;
    for (int k = 1; k < squares; ++k) {
      int sx = across ? x + k * side : x, sy = across ? y : y + k * side;
      // A square the image does not reach would be a texture nothing uses.
      if (sx >= imageWidth || sy >= imageHeight) break;
      pieces->push_back(PieceAt(sx, sy, side, side));
    }
  }
}

}  // namespace


std::vector<TexturePiece> LayOutTexturePieces(int width, int height, const TextureLimits& limits) {
  std::vector<int> columns = Split(width, limits);
  std::vector<int> rows = Split(height, limits);
  std::vector<TexturePiece> pieces;
  for (int row = 0, y = 0; row < int(rows.size()); y += rows[size_t(row)], ++row)
    for (int column = 0, x = 0; column < int(columns.size()); x += columns[size_t(column)], ++column)
      pieces.push_back(PieceAt(x, y, columns[size_t(column)], rows[size_t(row)]));
  if (limits.squareOnly) CutIntoSquares(&pieces, width, height);
  for (TexturePiece& piece : pieces) {
    piece.usedWidth = std::min(piece.textureWidth, width - piece.x);
    piece.usedHeight = std::min(piece.textureHeight, height - piece.y);
  }
  return pieces;
}
