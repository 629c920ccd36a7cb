#include "engine/core/EngineCallLock.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// A manual-reset event: once set, every wait returns until it is reset.
class ManualResetEvent {
 public:
  void Set() {
    std::lock_guard<std::mutex> guard(mutex_);
    signalled_ = true;
    changed_.notify_all();
  }
  void Reset() {
    std::lock_guard<std::mutex> guard(mutex_);
    signalled_ = false;
  }
  void Wait() {
    std::unique_lock<std::mutex> guard(mutex_);
    changed_.wait(guard, [this] { return signalled_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
};

struct QueueEntry {
  uint32_t thread;
  ManualResetEvent* event;
};

constexpr uint32_t NO_OWNER = 0xFFFFFFFFu;

struct EngineCallLock {
  int created = 0;
  std::mutex section;
  int depth = 0;
  int held = 0;
  uint32_t owner = NO_OWNER;
  QueueEntry queue[ENGINE_CALL_QUEUE_SIZE] = {};
  int waiting = 0;
};

// Static storage: the lock and its events outlive the tracked allocator's
// final dump, so they must not be heap blocks of the engine.
EngineCallLock engineCallLock;
ManualResetEvent eventPool[ENGINE_CALL_QUEUE_SIZE];

void CreateLock(EngineCallLock& lock) {
  lock.created = 1;
  for (int i = 0; i < ENGINE_CALL_QUEUE_SIZE; ++i) {
    eventPool[i].Reset();
    lock.queue[i] = {0, &eventPool[i]};
  }
  lock.depth = 0;
  lock.held = 0;
  lock.owner = NO_OWNER;
  lock.waiting = 0;
}

// The woken head of the queue leaves it: its event goes to the free end so
// that every entry keeps an event of its own.
void LeaveQueueHead(EngineCallLock& lock) {
  if (lock.waiting > 1) {
    ManualResetEvent* kept = lock.queue[0].event;
    for (int i = 1; i < lock.waiting; ++i) lock.queue[i - 1] = lock.queue[i];
    lock.queue[lock.waiting - 1] = {0, kept};
  } else {
    lock.queue[0].thread = 0;
  }
  lock.waiting -= 1;
}

}  // namespace

uint32_t CurrentEngineThreadId() {
  static std::atomic<uint32_t> nextId{1};
  thread_local uint32_t id = nextId.fetch_add(1);
  return id;
}

void EnterEngineCall() {
  EngineCallLock& lock = engineCallLock;
  const uint32_t me = CurrentEngineThreadId();
  // Not protected: the first acquisition is made by the thread that starts
  // the engine, before any other thread can call in.
  if (!lock.created) CreateLock(lock);

  for (;;) {
    lock.section.lock();
    if (lock.held == 1) {
      if (lock.owner == me) break;  // nested acquisition
    } else {
      if (lock.waiting == 0 || lock.owner == me) break;
      if (lock.queue[0].thread == me) {  // woken as the head of the queue
        LeaveQueueHead(lock);
        break;
      }
    }
    // Queue up behind the threads already waiting.
    if (lock.waiting == ENGINE_CALL_QUEUE_SIZE) {
      lock.section.unlock();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    QueueEntry& entry = lock.queue[lock.waiting];
    entry.thread = me;
    ManualResetEvent* event = entry.event;
    lock.waiting += 1;
    lock.section.unlock();
    event->Wait();
    event->Reset();
  }

  lock.depth += 1;
  lock.held = 1;
  lock.owner = me;
  lock.section.unlock();
}

void LeaveEngineCall() {
  EngineCallLock& lock = engineCallLock;
  ManualResetEvent* wake = nullptr;
  lock.section.lock();
  if (lock.depth == 1) {
    lock.held = 0;
    lock.owner = NO_OWNER;
    if (lock.waiting > 0) wake = lock.queue[0].event;
  }
  lock.depth -= 1;
  lock.section.unlock();
  if (wake) {
    wake->Set();
    std::this_thread::yield();
  }
}

void DestroyEngineCallLock() {
  EngineCallLock& lock = engineCallLock;
  if (!lock.created) return;
  lock.created = 0;
  for (QueueEntry& entry : lock.queue) entry.event = nullptr;
}

EngineCallLockState SaveEngineCallLockState() {
  EngineCallLock& lock = engineCallLock;
  std::lock_guard<std::mutex> guard(lock.section);
  return {lock.depth, lock.held, lock.owner};
}

void RestoreEngineCallLockState(const EngineCallLockState& state) {
  EngineCallLock& lock = engineCallLock;
  std::lock_guard<std::mutex> guard(lock.section);
  lock.depth = state.depth;
  lock.held = state.held;
  lock.owner = state.owner;
}

EngineCallLockView InspectEngineCallLock() {
  EngineCallLock& lock = engineCallLock;
  std::lock_guard<std::mutex> guard(lock.section);
  return {lock.created, lock.depth, lock.held, lock.owner, lock.waiting};
}
