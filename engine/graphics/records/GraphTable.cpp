#include "engine/graphics/records/GraphTable.h"

#include <cstring>

#include "engine/core/FatalError.h"
#include "engine/services/Memory.h"

GraphTable graphTable;

void ResetGraphTable() {
  graphTable.liveCount = 0;
  graphTable.spanEnd = 0;
}

namespace {

size_t RecordBytes(int pieceCount) {
  return sizeof(GraphRecord) + sizeof(DrawPiece) * size_t(pieceCount < 0 ? 0 : pieceCount);
}

int TakeSlot() {
  if (graphTable.spanEnd < GRAPH_TABLE_SIZE) return graphTable.spanEnd;
  for (int slot = 0; slot < GRAPH_TABLE_SIZE; ++slot)
    if (graphTable.records[slot] == nullptr) return slot;
  return -1;  // not reached: the live count is below the table size
}

}  // namespace

GraphRecord* AllocateGraphRecord(int pieceRoom) {
  if (graphTable.liveCount >= GRAPH_TABLE_SIZE)
    FatalError("グラフィックの数が許容量を越えました終了します");
  int slot = TakeSlot();
  auto* record = static_cast<GraphRecord*>(MemCalloc(RecordBytes(pieceRoom), "", 0));
  if (record == nullptr) FatalError("メモリの確保に失敗しました");
  record->check = graphTable.nextCheck;
  graphTable.nextCheck = graphTable.nextCheck >= GRAPH_CHECK_LIMIT ? 0 : graphTable.nextCheck + 1;
  record->handle = MakeGraphHandle(record->check, slot);
  record->movie = -1;
  graphTable.records[slot] = record;
  graphTable.liveCount += 1;
  if (slot == graphTable.spanEnd) graphTable.spanEnd += 1;
  return record;
}

GraphRecord* FindGraphRecord(Handle graph) {
  if (graph < 0) return nullptr;
  if ((uint32_t(graph) & HANDLE_KIND_MASK) != GRAPH_KIND_BITS) return nullptr;
  int slot = GraphSlot(graph);
  if (slot >= GRAPH_TABLE_SIZE) return nullptr;
  GraphRecord* record = graphTable.records[slot];
  if (record == nullptr) return nullptr;
  if ((uint32_t(record->check) << 16) != (uint32_t(graph) & HANDLE_CHECK_MASK)) return nullptr;
  return record;
}

GraphRecord* ResizeGraphRecord(GraphRecord* record, int pieceCount) {
  int slot = GraphSlot(record->handle);
  auto* resized = static_cast<GraphRecord*>(MemRealloc(record, RecordBytes(pieceCount), "", 0));
  if (resized == nullptr) return nullptr;
  graphTable.records[slot] = resized;
  return resized;
}

void FreeGraphRecord(GraphRecord* record) {
  int slot = GraphSlot(record->handle);
  graphTable.liveCount -= 1;
  if (slot == graphTable.spanEnd - 1) {
    if (graphTable.liveCount == 0) {
      graphTable.spanEnd = 0;
    } else {
      int end = slot;
      while (end > 0 && graphTable.records[end - 1] == nullptr) end -= 1;
      graphTable.spanEnd = end;
    }
  }
  graphTable.records[slot] = nullptr;
  MemFree(record);
}
