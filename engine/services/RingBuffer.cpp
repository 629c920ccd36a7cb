#include "engine/services/RingBuffer.h"

#include <climits>
#include <cstring>

#include "engine/services/Log.h"
#include "engine/services/Memory.h"

namespace {

constexpr int64_t GROWTH_EXTRA = 1000;

// Copies n held bytes from offset from, in two pieces when they wrap.
void CopyOut(const RingBuffer& ring, int from, uint8_t* destination, int n) {
  const int first = n < ring.capacity - from ? n : ring.capacity - from;
  std::memcpy(destination, ring.buffer + from, static_cast<size_t>(first));
  std::memcpy(destination + first, ring.buffer, static_cast<size_t>(n - first));
}

// When the bytes held do not wrap, the free room is split between the tail
// and the head of the buffer; moving the bytes to the start joins it, so a
// writer never has to write past the end of the buffer.
void JoinFreeRoom(RingBuffer* ring, int n) {
  const bool wrapped = ring->dataSize > 0 && ring->end <= ring->start;
  if (wrapped || ring->end + n <= ring->capacity) return;
  std::memmove(ring->buffer, ring->buffer + ring->start, static_cast<size_t>(ring->dataSize));
  ring->start = 0;
  ring->end = ring->dataSize;
}

}  // namespace

void RingBufferNormalise(RingBuffer* ring) {
  if (ring->start == ring->capacity) ring->start = 0;
  if (ring->end == ring->capacity) ring->end = 0;
}

int RingBufferReserve(RingBuffer* ring, int n) {
  if (n < 0) return -1;
  RingBufferNormalise(ring);
  if (int64_t{ring->dataSize} + n <= ring->capacity) {
    JoinFreeRoom(ring, n);
    return 0;
  }
  const int64_t wanted = n + int64_t{ring->dataSize} * 3 / 2 + GROWTH_EXTRA;
  auto* grown = wanted <= INT_MAX ? static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(wanted), "", 0)) : nullptr;
  if (grown == nullptr) {
    RingBufferRelease(ring);
    LogPrintf("リングバッファの再確保に失敗しました(確保しようとしたサイズ %d byte)",
              static_cast<int>(wanted <= INT_MAX ? wanted : INT_MAX));
    return -1;
  }
  if (ring->dataSize > 0) CopyOut(*ring, ring->start, grown, ring->dataSize);
  MemFree(ring->buffer);
  ring->buffer = grown;
  ring->capacity = static_cast<int>(wanted);
  ring->start = 0;
  ring->end = ring->dataSize;
  return 0;
}

int RingBufferTake(RingBuffer* ring, void* destination, int n, int peek) {
  if (n < 0 || ring->dataSize < n) return -1;
  if (n == 0) return 0;
  RingBufferNormalise(ring);
  CopyOut(*ring, ring->start, static_cast<uint8_t*>(destination), n);
  if (!peek) {
    ring->start = (ring->start + n) % ring->capacity;
    ring->dataSize -= n;
  }
  return 0;
}

void RingBufferRelease(RingBuffer* ring) {
  MemFree(ring->buffer);
  *ring = RingBuffer{};
}
