#include "engine/graphics/hardware/DrawPieces.h"

#include <algorithm>
#include <cstdint>

#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/services/Log.h"

namespace {

bool Overlaps(const TexturePiece& piece, const GraphRecord& graph) {
  return piece.x < graph.x + graph.width && graph.x < piece.x + piece.usedWidth &&
         piece.y < graph.y + graph.height && graph.y < piece.y + piece.usedHeight;
}

// One axis of the part of a piece that a graph shows: where it lies in the
// graph, where in the texture, and how long it is.
struct Span {
  int destination, source, length;
};

Span SpanOf(int piecePosition, int used, int graphPosition, int graphLength) {
  if (piecePosition > graphPosition)
    return {piecePosition - graphPosition, 0,
            std::min(used, graphPosition + graphLength - piecePosition)};
  return {0, graphPosition - piecePosition,
          std::min(graphLength, piecePosition + used - graphPosition)};
}

// On or above the diagonal from the graph's bottom-left corner to its
// top-right one: y <= height - x * height / width, compared exactly.
uint8_t OnOrAboveDiagonal(float x, float y, int width, int height) {
  int64_t ix = int64_t(x), iy = int64_t(y);
  return iy * width + ix * height <= int64_t(width) * height ? 1 : 0;
}

void FillPiece(DrawPiece* out, TexturePiece* piece, const GraphRecord& graph) {
  Span across = SpanOf(piece->x, piece->usedWidth, graph.x, graph.width);
  Span down = SpanOf(piece->y, piece->usedHeight, graph.y, graph.height);
  out->destX = across.destination;
  out->destY = down.destination;
  out->sourceX = across.source;
  out->sourceY = down.source;
  out->width = across.length;
  out->height = down.length;
  out->piece = piece;
  float left = float(across.destination), right = left + float(across.length);
  float top = float(down.destination), bottom = top + float(down.length);
  float u0 = float(across.source) / float(piece->textureWidth);
  float u1 = float(across.source + across.length) / float(piece->textureWidth);
  float v0 = float(down.source) / float(piece->textureHeight);
  float v1 = float(down.source + down.length) / float(piece->textureHeight);
  const DrawPiece::Vertex corners[4] = {
      {left, top, u0, v0}, {right, top, u1, v0}, {left, bottom, u0, v1}, {right, bottom, u1, v1}};
  for (int i = 0; i < 4; ++i) {
    out->vertices[i] = corners[i];
    out->onOrAboveDiagonal[i] =
        OnOrAboveDiagonal(corners[i].x, corners[i].y, graph.width, graph.height);
  }
}

}  // namespace

GraphRecord* BuildDrawPieces(GraphRecord* record) {
  TextureSet* set = record->textureSet;
  TexturePiece* pieces = PiecesOf(set);
  int touched = 0;
  for (int i = 0; i < set->pieceCount; ++i) touched += Overlaps(pieces[i], *record) ? 1 : 0;
  if (touched == 0) {
    WriteLog("テクスチャ描画情報の作成に失敗しました\n");
    return nullptr;
  }
  GraphRecord* resized = ResizeGraphRecord(record, touched);
  if (resized == nullptr) {
    WriteLog("画像描画情報格納用メモリの確保に失敗しました\n");
    return nullptr;
  }
  DrawPiece* out = DrawPiecesOf(resized);
  for (int i = 0; i < set->pieceCount; ++i)
    if (Overlaps(pieces[i], *resized)) FillPiece(out++, &pieces[i], *resized);
  resized->drawPieceCount = touched;
  return resized;
}
