#include "engine/files/ManualResetEvent.h"

#include <chrono>

void ManualResetEvent::Set() {
  {
    std::lock_guard<std::mutex> guard(mutex);
    set = true;
  }
  changed.notify_all();
}

void ManualResetEvent::Reset() {
  std::lock_guard<std::mutex> guard(mutex);
  set = false;
}

void ManualResetEvent::Wait() {
  std::unique_lock<std::mutex> lock(mutex);
  changed.wait(lock, [this] { return set; });
}

bool ManualResetEvent::WaitFor(int milliseconds) {
  std::unique_lock<std::mutex> lock(mutex);
  return changed.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return set; });
}

bool ManualResetEvent::IsSet() {
  std::lock_guard<std::mutex> guard(mutex);
  return set;
}
