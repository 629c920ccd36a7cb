// The textured quads a hardware graph is drawn with: one DrawPiece for each
// texture of its set that the graph's rectangle touches.
#pragma once

struct GraphRecord;

// Builds the graph's DrawPieces from its rectangle in its TextureSet: the
// part of each touched piece, its place in the graph, its texture
// coordinates and which corners lie on or above the graph's rising
// diagonal. The record is resized to hold exactly those pieces and the
// (possibly moved) record is returned; null, logged, when no piece is
// touched or the memory runs out (the record is then unchanged).
GraphRecord* BuildDrawPieces(GraphRecord* record);
