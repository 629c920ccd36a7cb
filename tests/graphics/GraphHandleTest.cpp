#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/records/GraphTable.h"

namespace {

// ExitProcess(-1) as the test harness sees it.
#ifdef _WIN32
constexpr int FATAL_EXIT_CODE = -1;
#else
constexpr int FATAL_EXIT_CODE = 255;
#endif

// Works on the process's graph table directly and leaves it empty.
class GraphHandles : public ::testing::Test {
 protected:
  void SetUp() override { ResetGraphTable(); }
  void TearDown() override {
    for (int slot = 0; slot < GRAPH_TABLE_SIZE; ++slot)
      if (graphTable.records[slot] != nullptr) FreeGraphRecord(graphTable.records[slot]);
    ResetGraphTable();
  }
};

TEST_F(GraphHandles, AHandleCarriesKindCheckAndSlot) {
  graphTable.nextCheck = 5;
  GraphRecord* first = AllocateGraphRecord();
  GraphRecord* second = AllocateGraphRecord();
  EXPECT_EQ(first->handle, 0x08050000);
  EXPECT_EQ(second->handle, 0x08060001);
  EXPECT_EQ(first->movie, -1);
  EXPECT_EQ(FindGraphRecord(first->handle), first);
  EXPECT_EQ(FindGraphRecord(second->handle), second);
  EXPECT_EQ(graphTable.liveCount, 2);
  EXPECT_EQ(graphTable.spanEnd, 2);
}

TEST_F(GraphHandles, ValidationRefusesEveryMalformedHandle) {
  graphTable.nextCheck = 100;
  GraphRecord* record = AllocateGraphRecord();  // slot 0, check 100
  const Handle valid = record->handle;
  struct Case {
    Handle handle;
    const char* why;
  } cases[] = {
      {-1, "negative"},
      {TARGET_BACK, "the back target"},
      {TARGET_FRONT, "the front target"},
      {-3, "another negative value"},
      {Handle(uint32_t(valid) | 0x80000000u), "bit 31"},
      {Handle((uint32_t(valid) & ~0x78000000u) | 0x10000000u), "kind 2 (a sound)"},
      {Handle(uint32_t(valid) & ~0x78000000u), "kind 0"},
      {Handle(uint32_t(valid) | 0x8000u), "bit 15"},
      {Handle(uint32_t(valid) + 1), "an empty slot"},
      {MakeGraphHandle(101, 0), "another check value"},
  };
  for (const Case& c : cases) EXPECT_EQ(FindGraphRecord(c.handle), nullptr) << c.why;
  EXPECT_EQ(FindGraphRecord(valid), record);
}

TEST_F(GraphHandles, CheckValuesWrapAfter2047AndStaleHandlesStayRefused) {
  graphTable.nextCheck = 2046;
  GraphRecord* a = AllocateGraphRecord();
  GraphRecord* b = AllocateGraphRecord();
  GraphRecord* c = AllocateGraphRecord();
  EXPECT_EQ(a->check, 2046);
  EXPECT_EQ(b->check, 2047);
  EXPECT_EQ(c->check, 0);
  EXPECT_EQ(uint32_t(c->handle) & HANDLE_CHECK_MASK, 0u);

  // Releasing the last record gives its slot back; a new record there has
  // a newer check value, so the old handle names nothing.
  const Handle stale = c->handle;
  FreeGraphRecord(c);
  EXPECT_EQ(FindGraphRecord(stale), nullptr);
  GraphRecord* reused = AllocateGraphRecord();
  EXPECT_EQ(GraphSlot(reused->handle), GraphSlot(stale));
  EXPECT_NE(reused->handle, stale);
  EXPECT_EQ(FindGraphRecord(stale), nullptr);
  EXPECT_EQ(FindGraphRecord(reused->handle), reused);
}

TEST_F(GraphHandles, TheSpanEndFollowsTheHighestLiveSlot) {
  std::vector<GraphRecord*> records;
  for (int i = 0; i < 5; ++i) records.push_back(AllocateGraphRecord());
  EXPECT_EQ(graphTable.spanEnd, 5);
  FreeGraphRecord(records[2]);  // holes below the end leave it
  FreeGraphRecord(records[3]);
  EXPECT_EQ(graphTable.spanEnd, 5);
  FreeGraphRecord(records[4]);  // the last: the end drops past the holes
  EXPECT_EQ(graphTable.spanEnd, 2);
  EXPECT_EQ(graphTable.liveCount, 2);
  GraphRecord* next = AllocateGraphRecord();  // taken at the end again
  EXPECT_EQ(GraphSlot(next->handle), 2);
  FreeGraphRecord(records[0]);
  FreeGraphRecord(records[1]);
  FreeGraphRecord(next);  // the only live record: the end goes to 0
  EXPECT_EQ(graphTable.liveCount, 0);
  EXPECT_EQ(graphTable.spanEnd, 0);
}

TEST_F(GraphHandles, AFullSpanSearchesTheFirstEmptySlot) {
  std::vector<GraphRecord*> records;
  for (int i = 0; i < GRAPH_TABLE_SIZE; ++i) records.push_back(AllocateGraphRecord());
  EXPECT_EQ(graphTable.liveCount, GRAPH_TABLE_SIZE);  // the 32768th can be made
  FreeGraphRecord(records[77]);
  FreeGraphRecord(records[12]);
  GraphRecord* refill = AllocateGraphRecord();
  EXPECT_EQ(GraphSlot(refill->handle), 12);
}

TEST_F(GraphHandles, OneMoreThanTheTableHoldsEndsTheProcess) {
  EXPECT_EXIT(
      {
        for (int i = 0; i <= GRAPH_TABLE_SIZE; ++i) AllocateGraphRecord();
      },
      ::testing::ExitedWithCode(FATAL_EXIT_CODE), "");
}

}  // namespace
