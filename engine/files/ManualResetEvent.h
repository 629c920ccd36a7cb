// A manual-reset event: stays set until reset, and every waiter passes while
// it is set. The disk reader threads hand commands over with two of them.
#pragma once

#include <condition_variable>
#include <mutex>

class ManualResetEvent {
 public:
  explicit ManualResetEvent(bool initiallySet) : set(initiallySet) {}

  void Set();
  void Reset();
  // Blocks until the event is set.
  void Wait();
  // Blocks until the event is set or the time has passed; true when set.
  bool WaitFor(int milliseconds);
  // The state now, without waiting (a wait with a zero time-out).
  bool IsSet();

 private:
  std::mutex mutex;
  std::condition_variable changed;
  bool set;
};
