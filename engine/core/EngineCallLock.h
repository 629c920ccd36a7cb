// The engine-call lock: serialises StartupEngine, ShutdownEngine and
// PumpMessages between threads.
//
// Recursive for its owner; first come, first served among other threads: a
// thread that finds the lock free while others are queued joins the end of
// the queue instead of overtaking them. Up to 4096 threads wait in the queue,
// each on its own manual-reset event; a further thread polls every 1 ms until
// a place is free.
#pragma once

#include <cstdint>

constexpr int ENGINE_CALL_QUEUE_SIZE = 4096;

void EnterEngineCall();
void LeaveEngineCall();

// Closes the queue's events and marks the lock not created; the next
// EnterEngineCall creates it again. Called at the end of ShutdownEngine.
void DestroyEngineCallLock();

// The lock's ownership fields. Creating the main window re-initialises the
// engine's window state, so it saves these first and restores them after.
struct EngineCallLockState {
  int depth;
  int held;
  uint32_t owner;
};
EngineCallLockState SaveEngineCallLockState();
void RestoreEngineCallLockState(const EngineCallLockState& state);

// What the lock looks like from outside, for tests and diagnostics.
struct EngineCallLockView {
  int created;
  int depth;
  int held;
  uint32_t owner;
  int waiting;
};
EngineCallLockView InspectEngineCallLock();

// The 32-bit id the lock records for the calling thread; never 0 (an empty
// queue entry) and never 0xFFFFFFFF (no owner).
uint32_t CurrentEngineThreadId();
