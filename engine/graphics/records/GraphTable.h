// Graph handles and the table of their records.
//
// A graph handle is ((check | 0x800) << 16) | slot: bit 31 clear, kind 1 in
// bits 30-27, the record's check value (0-2047) in bits 26-16, bit 15 clear
// and the slot (0-32767) below. The table hands out slots at its span end
// and check values from a counter that wraps after 2047, so a released
// handle is refused while its slot is empty or holds a newer record.
#pragma once

#include <cstdint>

#include "engine/core/Engine.h"
#include "engine/graphics/software/MemImg.h"

struct TextureSet;
struct GraphSourceName;

constexpr int GRAPH_TABLE_SIZE = 32768;
constexpr int GRAPH_CHECK_LIMIT = 2047;
constexpr uint32_t GRAPH_KIND_BITS = 0x08000000;  // kind 1 in bits 30-27
constexpr uint32_t HANDLE_KIND_MASK = 0x78000000;
constexpr uint32_t HANDLE_CHECK_MASK = 0x07FF0000;

constexpr Handle MakeGraphHandle(int check, int slot) {
  return Handle((uint32_t(check) | 0x800u) << 16 | uint32_t(slot));
}

// One textured quad of a hardware graph: the part of one TexturePiece that
// the graph's rectangle covers.
struct DrawPiece {
  int destX, destY;      // offset inside the graph
  int sourceX, sourceY;  // offset inside the texture
  int width, height;
  // Top-left, top-right, bottom-left, bottom-right.
  struct Vertex {
    float x, y, u, v;
  } vertices[4];
  // 1 when the vertex lies on or above the diagonal from the graph's
  // bottom-left to its top-right corner.
  uint8_t onOrAboveDiagonal[4];
  struct TexturePiece* piece;
};

struct GraphRecord {
  int check;
  Handle handle;
  TextureSet* textureSet;  // counted reference
  int movie;               // -1 none
  GraphSourceName* sourceFile;
  int sourceX, sourceY;  // where the pixels lie in the source file
  int loadOption;
  int x, y;  // the rectangle inside the TextureSet
  int width, height;
  // Software mode: the view of the graph's rectangle of the set's MEMIMG.
  MEMIMG memImg;
  // Hardware mode: the DrawPieces follow the record (DrawPiecesOf).
  int drawPieceCount;
};

inline DrawPiece* DrawPiecesOf(GraphRecord* record) {
  return reinterpret_cast<DrawPiece*>(record + 1);
}
static_assert(sizeof(GraphRecord) % alignof(DrawPiece) == 0, "pieces follow the record");

struct GraphTable {
  GraphRecord* records[GRAPH_TABLE_SIZE];
  int liveCount;
  int spanEnd;  // one past the highest slot that may be in use
  int nextCheck;
};

extern GraphTable graphTable;

// The graphics start-up: live count and span end 0.
void ResetGraphTable();

// A new record with room for pieceRoom DrawPieces, zeroed, with its check
// value, handle and movie -1 set and entered in the table. Fatal when the
// table is full or the memory runs out.
GraphRecord* AllocateGraphRecord(int pieceRoom = 4);

// The record of a valid graph handle, else null. Checks, in this order: not
// negative, kind 1, bit 15 clear, slot occupied, check values equal.
GraphRecord* FindGraphRecord(Handle graph);

// Resizes a record to hold exactly pieceCount DrawPieces; the table slot
// follows the block. Null (the old record untouched) when memory runs out.
GraphRecord* ResizeGraphRecord(GraphRecord* record, int pieceCount);

// Frees the record and empties its slot: live count - 1, span end lowered
// past the empty slots when the slot was the last one.
void FreeGraphRecord(GraphRecord* record);

// The slot of a handle (no validation).
constexpr int GraphSlot(Handle graph) { return int(uint32_t(graph) & 0xFFFF); }
