// The tracked allocator: every block the engine allocates for itself.
//
// Each block carries a header with its size, the caller's source name and
// line, a serial number and links into the list of live blocks, followed by
// a guard copy of all of it. Blocks still live at shut-down are listed in the
// log by MemDump. The engine passes an empty source name and line 0.
//
// Header layout (MEM_BLOCK_HEADER_SIZE bytes in front of the caller's bytes):
//   name  char[16]   the source name, or its last 15 characters
//   id    uint16     serial number, wrapping at 65536
//   line  uint16     the caller's line (low 16 bits)
//   size  uint32     bytes the caller asked for
//   next  pointer    the next older live block
//   prev  pointer    the next newer live block, null for the newest
//   guard            a byte-for-byte copy of all the fields above
// That is 32 + 32 bytes on a 32-bit build and 40 + 40 = 80 bytes on a
// 64-bit one; both keep the caller's bytes aligned for any type. The heap
// block is always the requested size plus MEM_BLOCK_HEADER_SIZE.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t MEM_BLOCK_FIELDS_SIZE = 16 + 2 + 2 + 4 + 2 * sizeof(void*);
constexpr size_t MEM_BLOCK_HEADER_SIZE = 2 * MEM_BLOCK_FIELDS_SIZE;

// size bytes (contents undefined), or null after a full dump and check.
void* MemAlloc(size_t size, const char* sourceName, int line);
// As MemAlloc, with the bytes set to zero.
void* MemCalloc(size_t size, const char* sourceName, int line);
// Resizes the block (it may move; bytes beyond the old size are zero). Null
// with the old block untouched on failure. A null block behaves as MemAlloc.
void* MemRealloc(void* block, size_t size, const char* sourceName, int line);
// Null does nothing.
void MemFree(void* block);

// Writes every live block, newest first, and the totals to the log. Each
// block's line shows its size, name, line, id, the caller's address (in as
// many hex digits as it needs, at least 8) and its first 16 bytes.
void MemDump();
// 0 when every header matches its guard, else -1 (naming the first bad one).
int MemCheck();
// Writes the totals line to the log.
void MemTotals();

// The allocator's running totals, for leak checks in tests and tools.
struct MemStatistics {
  int32_t totalSize;  // bytes in live blocks
  int32_t count;      // live blocks
  uint16_t nextId;    // the id the next allocation or resize takes
};
MemStatistics MemReadStatistics();
// The ids of the live blocks, newest first, up to capacity of them; the
// number of live blocks. For tests that tell which blocks were left.
int MemListLiveIds(uint16_t* ids, int capacity);
