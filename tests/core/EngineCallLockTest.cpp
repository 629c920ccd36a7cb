#include "engine/core/EngineCallLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Waits until the lock reports the given number of queued threads.
void WaitForQueue(int waiting) {
  for (int i = 0; i < 5000 && InspectEngineCallLock().waiting != waiting; ++i) {
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_EQ(InspectEngineCallLock().waiting, waiting);
}

class EngineCallLockTest : public ::testing::Test {
 protected:
  void TearDown() override { DestroyEngineCallLock(); }
};

TEST_F(EngineCallLockTest, OwnerNestsAndReleasesOnlyAtTheOutermostLeave) {
  EnterEngineCall();
  EnterEngineCall();
  EngineCallLockView view = InspectEngineCallLock();
  EXPECT_EQ(view.created, 1);
  EXPECT_EQ(view.depth, 2);
  EXPECT_EQ(view.held, 1);
  EXPECT_EQ(view.owner, CurrentEngineThreadId());

  LeaveEngineCall();
  view = InspectEngineCallLock();
  EXPECT_EQ(view.depth, 1);
  EXPECT_EQ(view.held, 1);

  LeaveEngineCall();
  view = InspectEngineCallLock();
  EXPECT_EQ(view.depth, 0);
  EXPECT_EQ(view.held, 0);
  EXPECT_EQ(view.owner, 0xFFFFFFFFu);
}

TEST_F(EngineCallLockTest, WaitingThreadsAreServedInArrivalOrder) {
  EnterEngineCall();
  std::mutex orderMutex;
  std::vector<int> order;
  std::vector<std::thread> threads;
  for (int i = 0; i < 3; ++i) {
    threads.emplace_back([&, i] {
      EnterEngineCall();
      {
        std::lock_guard<std::mutex> guard(orderMutex);
        order.push_back(i);
      }
      std::this_thread::sleep_for(2ms);
      LeaveEngineCall();
    });
    WaitForQueue(i + 1);  // thread i is queued before thread i + 1 starts
  }
  LeaveEngineCall();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(InspectEngineCallLock().waiting, 0);
}

TEST_F(EngineCallLockTest, ThreadFindingTheLockFreeDoesNotOvertakeTheQueue) {
  // The main thread holds the lock while a waiter queues; after the release
  // (and before the woken waiter runs) the main thread asks again and must
  // line up behind the waiter.
  EnterEngineCall();
  std::atomic<int> step{0};
  std::vector<int> order;
  std::mutex orderMutex;
  std::thread waiter([&] {
    EnterEngineCall();
    {
      std::lock_guard<std::mutex> guard(orderMutex);
      order.push_back(1);
    }
    step = 1;
    std::this_thread::sleep_for(5ms);
    LeaveEngineCall();
  });
  WaitForQueue(1);
  LeaveEngineCall();
  EnterEngineCall();  // lock may be free here, but the waiter is first
  {
    std::lock_guard<std::mutex> guard(orderMutex);
    order.push_back(0);
  }
  EXPECT_EQ(step.load(), 1);
  LeaveEngineCall();
  waiter.join();
  EXPECT_EQ(order, (std::vector<int>{1, 0}));
}

TEST_F(EngineCallLockTest, QueueEventsSurviveManyRounds) {
  // Entries move down the queue with their events; after many waits every
  // entry must still have a working event of its own.
  std::atomic<int> total{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      for (int round = 0; round < 200; ++round) {
        EnterEngineCall();
        EnterEngineCall();
        total += 1;
        LeaveEngineCall();
        LeaveEngineCall();
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(total.load(), 800);
  EngineCallLockView view = InspectEngineCallLock();
  EXPECT_EQ(view.held, 0);
  EXPECT_EQ(view.waiting, 0);
}

TEST_F(EngineCallLockTest, DestroyMarksTheLockNotCreated) {
  EnterEngineCall();
  LeaveEngineCall();
  DestroyEngineCallLock();
  EXPECT_EQ(InspectEngineCallLock().created, 0);
  EnterEngineCall();  // created again on the next acquisition
  EXPECT_EQ(InspectEngineCallLock().created, 1);
  LeaveEngineCall();
}

}  // namespace
