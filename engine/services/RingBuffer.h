// A growable byte queue (the network handles' receive and send buffers).
//
// The bytes held run from start, wrapping at capacity to 0. A writer calls
// RingBufferReserve for the bytes it is about to append, writes them at
// buffer + end and then advances end (modulo capacity) and dataSize itself.
#pragma once

#include <cstdint>

struct RingBuffer {
  uint8_t* buffer;
  int start;     // offset of the oldest byte held
  int end;       // offset where the next byte is written
  int dataSize;  // bytes held
  int capacity;  // bytes in the buffer
};

// Makes room for n more bytes: 0, or -1 when the bigger buffer could not be
// allocated (the ring is then released and empty, and the failure logged).
// A ring that must grow gets n + dataSize * 3 / 2 + 1000 bytes with the
// bytes held moved to its start. Afterwards the n bytes from end are free
// and contiguous, so a writer can copy them in one piece.
int RingBufferReserve(RingBuffer* ring, int n);
// Copies the n oldest bytes to destination and, unless peek, removes them.
// -1 when fewer than n bytes are held.
int RingBufferTake(RingBuffer* ring, void* destination, int n, int peek);
// A start or end that reached capacity goes back to 0.
void RingBufferNormalise(RingBuffer* ring);
// Frees the buffer and clears the record.
void RingBufferRelease(RingBuffer* ring);
