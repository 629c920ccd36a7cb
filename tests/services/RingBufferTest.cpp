#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/platform/headless/HeadlessClock.h"
#include "engine/services/Memory.h"
#include "engine/services/RingBuffer.h"
#include "tests/services/LogCapture.h"

namespace {

// A ring of the given capacity holding the bytes of held from offset start.
RingBuffer MakeRing(int capacity, int start, const std::string& held) {
  RingBuffer ring{};
  ring.buffer = static_cast<uint8_t*>(MemAlloc(static_cast<size_t>(capacity), "", 0));
  std::memset(ring.buffer, '.', static_cast<size_t>(capacity));
  ring.capacity = capacity;
  ring.start = start;
  ring.dataSize = static_cast<int>(held.size());
  for (size_t i = 0; i < held.size(); ++i) ring.buffer[(static_cast<size_t>(start) + i) % capacity] = held[i];
  ring.end = (start + ring.dataSize) % capacity;
  return ring;
}

// Appends as a writer does: reserve, copy at end, advance end and dataSize.
int Append(RingBuffer* ring, const std::string& bytes) {
  if (RingBufferReserve(ring, static_cast<int>(bytes.size())) != 0) return -1;
  EXPECT_LE(ring->end + static_cast<int>(bytes.size()), ring->capacity) << "the reserved bytes are contiguous";
  std::memcpy(ring->buffer + ring->end, bytes.data(), bytes.size());
  ring->end += static_cast<int>(bytes.size());
  ring->dataSize += static_cast<int>(bytes.size());
  RingBufferNormalise(ring);
  return 0;
}

std::string Take(RingBuffer* ring, int n, int peek = 0) {
  std::string out(static_cast<size_t>(n), '\0');
  EXPECT_EQ(RingBufferTake(ring, &out[0], n, peek), 0);
  return out;
}

TEST(RingBufferTest, GrowingAWrappedRingMovesItsBytesToTheStartInOrder) {
  RingBuffer ring = MakeRing(10, 6, "ABCDEFGH");  // "EFGH" at 0..3, "ABCD" at 6..9
  ASSERT_EQ(RingBufferReserve(&ring, 5), 0);
  EXPECT_EQ(ring.capacity, 5 + 12 + 1000);
  EXPECT_EQ(ring.start, 0);
  EXPECT_EQ(ring.end, 8);
  EXPECT_EQ(ring.dataSize, 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(ring.buffer), 8), "ABCDEFGH");
  RingBufferRelease(&ring);
}

TEST(RingBufferTest, ReserveWithinCapacityKeepsTheBuffer) {
  RingBuffer ring = MakeRing(10, 2, "abc");
  uint8_t* buffer = ring.buffer;
  ASSERT_EQ(RingBufferReserve(&ring, 7), 0);
  EXPECT_EQ(ring.buffer, buffer);
  EXPECT_EQ(ring.capacity, 10);
  RingBufferRelease(&ring);
}

TEST(RingBufferTest, ReservedRoomIsContiguousWhenTheFreeBytesAreSplit) {
  // Held bytes at 4..7: free room is 8..9 and 0..3, six bytes in two pieces.
  RingBuffer ring = MakeRing(10, 4, "wxyz");
  ASSERT_EQ(Append(&ring, "123456"), 0);
  EXPECT_EQ(ring.capacity, 10);
  EXPECT_EQ(ring.dataSize, 10);
  EXPECT_EQ(Take(&ring, 10), "wxyz123456");
  RingBufferRelease(&ring);
}

TEST(RingBufferTest, TakeCopiesAcrossTheWrapAndPeekLeavesTheBytes) {
  RingBuffer ring = MakeRing(8, 5, "hello!");  // "hel" at 5..7, "lo!" at 0..2
  EXPECT_EQ(Take(&ring, 4, 1), "hell");
  EXPECT_EQ(ring.dataSize, 6);
  EXPECT_EQ(ring.start, 5);
  EXPECT_EQ(Take(&ring, 4), "hell");
  EXPECT_EQ(ring.start, 1);
  EXPECT_EQ(ring.dataSize, 2);
  std::string rest(3, '\0');
  EXPECT_EQ(RingBufferTake(&ring, &rest[0], 3, 0), -1) << "only two bytes are held";
  EXPECT_EQ(Take(&ring, 2), "o!");
  EXPECT_EQ(Take(&ring, 0), "");
  RingBufferRelease(&ring);
}

TEST(RingBufferTest, NormaliseWrapsOffsetsThatReachedTheEnd) {
  RingBuffer ring = MakeRing(4, 0, "");
  ring.start = 4;
  ring.end = 4;
  RingBufferNormalise(&ring);
  EXPECT_EQ(ring.start, 0);
  EXPECT_EQ(ring.end, 0);
  RingBufferRelease(&ring);
}

TEST(RingBufferTest, QueueSurvivesManyRoundsOfAppendAndTake) {
  RingBuffer ring{};
  std::string expected;
  std::string got;
  for (int round = 0; round < 300; ++round) {
    std::string chunk;
    for (int i = 0; i < round % 37 + 1; ++i) chunk += static_cast<char>('a' + (round + i) % 26);
    ASSERT_EQ(Append(&ring, chunk), 0);
    expected += chunk;
    const int n = ring.dataSize > 20 ? 20 : ring.dataSize;
    got += Take(&ring, n);
  }
  got += Take(&ring, ring.dataSize);
  EXPECT_EQ(got, expected);
  RingBufferRelease(&ring);
  EXPECT_EQ(ring.buffer, nullptr);
  EXPECT_EQ(ring.capacity, 0);
}

TEST(RingBufferTest, FailedGrowthReleasesTheRingAndLogs) {
  headless::ResetClock();
  LogCapture log;
  RingBuffer ring = MakeRing(16, 0, "data");
  const MemStatistics before = MemReadStatistics();
  EXPECT_EQ(RingBufferReserve(&ring, 2147483647), -1);
  EXPECT_EQ(ring.buffer, nullptr);
  EXPECT_EQ(ring.capacity, 0);
  EXPECT_EQ(ring.dataSize, 0);
  EXPECT_EQ(MemReadStatistics().count, before.count - 1);
  EXPECT_EQ(LogCapture::Debugger(),
            "0:リングバッファの再確保に失敗しました(確保しようとしたサイズ 2147483647 byte)\r\n");
}

}  // namespace
