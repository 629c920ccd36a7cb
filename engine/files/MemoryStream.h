// A read stream over a block of memory the caller owns.
#pragma once

#include <cstddef>
#include <cstdint>

struct MemoryStream {
  const uint8_t* data;  // not owned
  int32_t size;
  int32_t position;
  int32_t atEnd;
};

// Null when the record cannot be allocated or size is negative.
MemoryStream* OpenMemoryStream(const void* data, int32_t size);
// Frees the record only, never the data. 0.
int MemoryStreamClose(MemoryStream* stream);
int32_t MemoryStreamTell(MemoryStream* stream);
// Clamped to 0..size; clears atEnd. 0.
int MemoryStreamSeek(MemoryStream* stream, int32_t offset, int origin);
// Whole elements while they last; when less than one element remains, the
// remaining bytes are copied and 1 is returned.
size_t MemoryStreamRead(void* destination, size_t elementSize, size_t count, MemoryStream* stream);
// 1 after a read at the end, else 0.
int MemoryStreamEof(MemoryStream* stream);
// Always 1: memory is never busy.
int MemoryStreamIsIdle(MemoryStream* stream);
