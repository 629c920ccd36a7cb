#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/platform/headless/HeadlessClock.h"
#include "engine/services/Memory.h"
#include "tests/services/LogCapture.h"

namespace {

// The dump line the allocator writes for a block, as it reaches the log.
std::string DumpLine(const void* block, uint32_t size, const char* name, int line, int id,
                     const std::string& preview) {
  char text[256];
  std::snprintf(text, sizeof text,
                "\tsize:%10" PRIu32 "(%10.3fkb)  file:%-26s  line:%-5d  ID:%-5d  addr:%08" PRIxPTR "  data:<", size,
                size / 1024.0, name, line, id, reinterpret_cast<uintptr_t>(block));
  return std::string(text) + preview + "\r\n";
}

class MemoryTest : public ::testing::Test {
 protected:
  MemoryTest() { headless::ResetClock(); }
  LogCapture log;
};

TEST_F(MemoryTest, ZeroSizeBlocksAreTracedOnAllocAndFree) {
  const uint16_t id = MemReadStatistics().nextId;
  void* block = MemAlloc(0, "", 0);
  ASSERT_NE(block, nullptr);
  const std::string line = DumpLine(block, 0, "", 0, id, "> []");
  EXPECT_EQ(LogCapture::Debugger(), "0:mem alloc  " + line);

  headless::ClearDebuggerOutput();
  MemFree(block);
  EXPECT_EQ(LogCapture::Debugger(), "0:mem free  " + line);
}

TEST_F(MemoryTest, OrdinaryOperationsWriteNothing) {
  void* block = MemAlloc(24, "", 0);
  block = MemRealloc(block, 48, "", 0);
  MemFree(block);
  MemFree(nullptr);
  EXPECT_EQ(LogCapture::Debugger(), "");
}

TEST_F(MemoryTest, DumpListsLiveBlocksNewestFirstWithTheirFirstBytes) {
  const MemStatistics before = MemReadStatistics();
  auto* older = static_cast<unsigned char*>(MemAlloc(5, "Short.cpp", 12));
  std::memcpy(older, "\x41\x42\x00\xFF\x7A", 5);
  auto* newer = static_cast<char*>(MemAlloc(20, "engine/graphics/GraphTable.cpp", -1));
  std::memcpy(newer, "0123456789abcdef~\x7F\x1F!", 20);

  MemDump();
  const MemStatistics now = MemReadStatistics();
  char totals[128];
  std::snprintf(totals, sizeof totals, "0:\tTotal size:%d(%.3fkb)  Alloc num:%d\r\n", now.totalSize,
                now.totalSize / 1024.0, now.count);
  const std::string dump = LogCapture::Debugger();
  const std::string newerLine =
      DumpLine(newer, 20, "/GraphTable.cpp", 65535, before.nextId + 1,
               "0123456789abcdef> [30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66]");
  const std::string olderLine = DumpLine(older, 5, "Short.cpp", 12, before.nextId, "AB..z> [41 42 00 ff 7a]");
  EXPECT_EQ(dump.substr(0, std::string("0:\r\n0:Alloc memory dump\r\n").size()), "0:\r\n0:Alloc memory dump\r\n");
  const size_t newerAt = dump.find("0:" + newerLine);
  const size_t olderAt = dump.find("0:" + olderLine);
  ASSERT_NE(newerAt, std::string::npos) << dump;
  ASSERT_NE(olderAt, std::string::npos) << dump;
  EXPECT_LT(newerAt, olderAt);
  EXPECT_NE(dump.find(totals), std::string::npos) << dump;
  EXPECT_EQ(dump.substr(dump.size() - 4), "0:\r\n");
  EXPECT_EQ(now.count, before.count + 2);
  EXPECT_EQ(now.totalSize, before.totalSize + 25);

  MemFree(older);
  MemFree(newer);
  EXPECT_EQ(MemReadStatistics().count, before.count);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize);
}

TEST_F(MemoryTest, SourceNamesKeepAtMostTheirLast15Characters) {
  struct Case {
    const char* given;
    const char* kept;
  } cases[] = {{"12345678901234567890", "678901234567890"},
               {"123456789012345", "123456789012345"},
               {"12345678901234", "12345678901234"},
               {nullptr, ""}};
  for (const Case& c : cases) {
    headless::ClearDebuggerOutput();
    const uint16_t id = MemReadStatistics().nextId;
    void* block = MemAlloc(0, c.given, 7);
    EXPECT_EQ(LogCapture::Debugger(), "0:mem alloc  " + DumpLine(block, 0, c.kept, 7, id, "> []"))
        << (c.given ? c.given : "(null)");
    MemFree(block);
  }
}

TEST_F(MemoryTest, IdsWrapAfter65536Operations) {
  while (MemReadStatistics().nextId != 65535) MemFree(MemAlloc(1, "", 0));
  void* last = MemAlloc(8, "", 0);
  EXPECT_EQ(MemReadStatistics().nextId, 0);
  headless::ClearDebuggerOutput();
  void* wrapped = MemAlloc(0, "", 0);
  EXPECT_NE(LogCapture::Debugger().find("  ID:0      addr:"), std::string::npos) << LogCapture::Debugger();
  EXPECT_EQ(MemReadStatistics().nextId, 1);
  MemFree(wrapped);
  MemFree(last);
}

// Where a field lies in the header in front of a block.
enum class Damage { GuardLastByte, NameFirstByte, SizeField, OlderLink };

class HeaderDamageTest : public MemoryTest, public ::testing::WithParamInterface<Damage> {};

unsigned char* DamagedByte(void* block, Damage damage) {
  auto* header = static_cast<unsigned char*>(block) - MEM_BLOCK_HEADER_SIZE;
  switch (damage) {
    case Damage::GuardLastByte: return static_cast<unsigned char*>(block) - 1;
    case Damage::NameFirstByte: return header;
    case Damage::SizeField: return header + 20;
    case Damage::OlderLink: return header + 24;
  }
  return header;
}

TEST_P(HeaderDamageTest, MemCheckNamesTheDamagedBlockOnly) {
  void* first = MemAlloc(4, "", 0);
  void* middle = MemAlloc(4, "", 0);
  void* last = MemAlloc(4, "", 0);
  std::memcpy(middle, "abcd", 4);
  EXPECT_EQ(MemCheck(), 0);
  EXPECT_EQ(LogCapture::Debugger(), "");

  unsigned char* byte = DamagedByte(middle, GetParam());
  const unsigned char original = *byte;
  *byte = static_cast<unsigned char>(original ^ 0x01);
  EXPECT_EQ(MemCheck(), -1);
  const std::string report = LogCapture::Debugger();
  char address[32];
  std::snprintf(address, sizeof address, "addr:%08" PRIxPTR, reinterpret_cast<uintptr_t>(middle));
  EXPECT_EQ(report.rfind("0:以下のメモリ確保情報が破損しました\tsize:", 0), 0u) << report;
  EXPECT_NE(report.find(address), std::string::npos) << report;
  EXPECT_NE(report.find("data:<abcd> [61 62 63 64]"), std::string::npos) << report;
  EXPECT_EQ(report.find("\r\n"), report.size() - 2) << "one report line: " << report;

  *byte = original;
  EXPECT_EQ(MemCheck(), 0);
  MemFree(first);
  MemFree(middle);
  MemFree(last);
  EXPECT_EQ(MemCheck(), 0);
}

INSTANTIATE_TEST_SUITE_P(Fields, HeaderDamageTest,
                         ::testing::Values(Damage::GuardLastByte, Damage::NameFirstByte, Damage::SizeField,
                                           Damage::OlderLink));

TEST_F(MemoryTest, DamageStaysVisibleWhenANeighbourChanges) {
  void* damaged = MemAlloc(4, "", 0);
  auto* name = static_cast<unsigned char*>(damaged) - MEM_BLOCK_HEADER_SIZE;
  name[3] = 'X';
  void* newer = MemAlloc(4, "", 0);  // rewrites the damaged block's link to it
  EXPECT_EQ(MemCheck(), -1);
  char address[32];
  std::snprintf(address, sizeof address, "addr:%08" PRIxPTR, reinterpret_cast<uintptr_t>(damaged));
  EXPECT_NE(LogCapture::Debugger().find(address), std::string::npos);
  name[3] = 0;
  MemFree(newer);
  MemFree(damaged);
  EXPECT_EQ(MemCheck(), 0);
}

TEST_F(MemoryTest, ReleasingInAnyOrderKeepsTheListWhole) {
  const MemStatistics before = MemReadStatistics();
  std::vector<void*> blocks;
  for (int i = 0; i < 6; ++i) blocks.push_back(MemAlloc(10 + i, "", 0));
  for (int index : {2, 5, 0, 4, 1, 3}) {  // middle, head, tail, ...
    MemFree(blocks[index]);
    EXPECT_EQ(MemCheck(), 0) << "after freeing block " << index;
  }
  EXPECT_EQ(MemReadStatistics().count, before.count);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize);
}

TEST_F(MemoryTest, TheLiveIdsComeNewestFirstAndTheCountWhateverTheRoom) {
  const MemStatistics before = MemReadStatistics();
  void* oldest = MemAlloc(1, "", 0);
  void* freed = MemAlloc(1, "", 0);
  void* newest = MemAlloc(1, "", 0);
  MemFree(freed);
  uint16_t ids[2] = {0, 0};
  EXPECT_EQ(MemListLiveIds(ids, 2), before.count + 2);
  EXPECT_EQ(ids[0], uint16_t(before.nextId + 2));
  EXPECT_EQ(ids[1], before.nextId);
  uint16_t one[1] = {0};
  EXPECT_EQ(MemListLiveIds(one, 1), before.count + 2);
  EXPECT_EQ(one[0], uint16_t(before.nextId + 2));
  MemFree(oldest);
  MemFree(newest);
}

TEST_F(MemoryTest, ReallocGrowsWithZerosAndKeepsTheBytes) {
  auto* block = static_cast<unsigned char*>(MemAlloc(8, "", 0));
  std::memset(block, 0xAA, 8);
  const MemStatistics before = MemReadStatistics();
  block = static_cast<unsigned char*>(MemRealloc(block, 100000, "Grown.cpp", 3));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0xAA);
  for (int i = 8; i < 100000; ++i) ASSERT_EQ(block[i], 0) << i;
  const MemStatistics after = MemReadStatistics();
  EXPECT_EQ(after.totalSize, before.totalSize - 8 + 100000);
  EXPECT_EQ(after.count, before.count);
  EXPECT_EQ(after.nextId, static_cast<uint16_t>(before.nextId + 1)) << "a resize takes a fresh id";

  block = static_cast<unsigned char*>(MemRealloc(block, 3, "", 0));
  EXPECT_EQ(block[2], 0xAA);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize - 8 + 3);
  MemFree(block);
}

TEST_F(MemoryTest, ReallocKeepsTheBlocksPlaceInTheList) {
  void* older = MemAlloc(4, "", 0);
  void* middle = MemAlloc(4, "", 0);
  void* newer = MemAlloc(4, "", 0);
  middle = MemRealloc(middle, 1 << 20, "", 0);  // large enough to move
  EXPECT_EQ(MemCheck(), 0);
  MemDump();
  const std::string dump = LogCapture::Debugger();
  auto at = [&](const void* block) {
    char address[32];
    std::snprintf(address, sizeof address, "addr:%08" PRIxPTR " ", reinterpret_cast<uintptr_t>(block));
    return dump.find(address);
  };
  ASSERT_NE(at(middle), std::string::npos);
  EXPECT_LT(at(newer), at(middle));
  EXPECT_LT(at(middle), at(older));
  MemFree(newer);  // the head first: the moved block must become the head
  EXPECT_EQ(MemCheck(), 0);
  MemFree(middle);
  MemFree(older);
  EXPECT_EQ(MemCheck(), 0);
}

TEST_F(MemoryTest, ReallocOfNullAllocates) {
  const MemStatistics before = MemReadStatistics();
  void* block = MemRealloc(nullptr, 100, "", 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(MemReadStatistics().count, before.count + 1);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize + 100);
  MemFree(block);
}

TEST_F(MemoryTest, CallocZeroes) {
  std::vector<void*> dirty;
  for (int i = 0; i < 16; ++i) dirty.push_back(std::memset(MemAlloc(256, "", 0), 0xEE, 256));
  for (void* block : dirty) MemFree(block);
  auto* block = static_cast<unsigned char*>(MemCalloc(256, "", 0));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(block[i], 0);
  MemFree(block);
}

TEST_F(MemoryTest, FailedAllocationDumpsAndReturnsNull) {
  const MemStatistics before = MemReadStatistics();
  EXPECT_EQ(MemAlloc(SIZE_MAX - 8, "", 0), nullptr);
  EXPECT_EQ(LogCapture::Debugger().rfind("0:\r\n0:Alloc memory dump\r\n", 0), 0u) << LogCapture::Debugger();
  EXPECT_EQ(MemReadStatistics().count, before.count);
}

TEST_F(MemoryTest, FailedReallocLeavesTheBlockAsItWas) {
  auto* block = static_cast<char*>(MemAlloc(6, "", 0));
  std::memcpy(block, "keep!", 6);
  const MemStatistics before = MemReadStatistics();
  EXPECT_EQ(MemRealloc(block, SIZE_MAX - 8, "", 0), nullptr);
  EXPECT_NE(LogCapture::Debugger().find("data:<keep!.> [6b 65 65 70 21 00]"), std::string::npos);
  EXPECT_STREQ(block, "keep!");
  EXPECT_EQ(MemCheck(), 0);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize);
  MemFree(block);
}

TEST_F(MemoryTest, BlocksAreAlignedForAnyType) {
  for (size_t size : {1u, 3u, 16u, 100u}) {
    void* block = MemAlloc(size, "", 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u);
    MemFree(block);
  }
}

TEST_F(MemoryTest, ThreadsAllocatingAtOnceKeepTheListAndTotals) {
  const MemStatistics before = MemReadStatistics();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      std::vector<void*> held;
      for (int i = 0; i < 5000; ++i) {
        held.push_back(MemAlloc(static_cast<size_t>(1 + (i + t) % 64), "", 0));
        if (i % 3 == 2) {
          MemFree(held[held.size() / 2]);
          held.erase(held.begin() + static_cast<long>(held.size() / 2));
        }
      }
      for (void* block : held) MemFree(block);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(MemCheck(), 0);
  EXPECT_EQ(MemReadStatistics().count, before.count);
  EXPECT_EQ(MemReadStatistics().totalSize, before.totalSize);
}

}  // namespace
