// The tracked allocator: every block the engine allocates for itself.
//
// Each block carries a header with its size, the caller's source name and
// line, a serial number and links into the list of live blocks, followed by
// a guard copy of all of it. Blocks still live at shut-down are listed in the
// log by MemDump. The engine passes an empty source name and line 0.
#pragma once

#include <cstddef>

// size bytes (contents undefined), or null after a full dump and check.
void* MemAlloc(size_t size, const char* sourceName, int line);
// As MemAlloc, with the bytes set to zero.
void* MemCalloc(size_t size, const char* sourceName, int line);
// Resizes the block (it may move; bytes beyond the old size are zero). Null
// with the old block untouched on failure. A null block behaves as MemAlloc.
void* MemRealloc(void* block, size_t size, const char* sourceName, int line);
// Null does nothing.
void MemFree(void* block);

// Writes every live block and the totals to the log.
void MemDump();
// 0 when every header matches its guard, else -1 (naming the first bad one).
int MemCheck();
// Writes the totals line to the log.
void MemTotals();
