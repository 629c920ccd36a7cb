#include "engine/platform/emulated/WindowTimers.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "engine/platform/ClockPort.h"
#include "engine/platform/emulated/MessageQueue.h"
#include "engine/platform/emulated/WindowSystem.h"

namespace emulated {

namespace {

struct TimerRecord {
  port::WindowHandle window;
  uintptr_t id;
  uint32_t interval;
  uint32_t due;
  port::TimerProcedure procedure;
};

std::vector<TimerRecord>& Timers() {
  static std::vector<TimerRecord> timers;
  return timers;
}

// Removes the timers for which drop is true; true when any was removed.
template <typename Drop>
bool RemoveTimers(Drop drop) {
  auto& timers = Timers();
  const size_t before = timers.size();
  timers.erase(std::remove_if(timers.begin(), timers.end(), drop), timers.end());
  return timers.size() != before;
}

}  // namespace

uintptr_t StartWindowTimer(port::WindowHandle window, uintptr_t id, uint32_t milliseconds,
                           port::TimerProcedure procedure) {
  WindowSystemLock lock(WindowSystemMutex());
  RemoveTimers([&](const TimerRecord& t) { return t.window == window && t.id == id; });
  Timers().push_back(
      TimerRecord{window, id, milliseconds, port::timeGetTime() + milliseconds, procedure});
  return id;
}

bool StopWindowTimer(port::WindowHandle window, uintptr_t id) {
  WindowSystemLock lock(WindowSystemMutex());
  return RemoveTimers([&](const TimerRecord& t) { return t.window == window && t.id == id; });
}

void StopTimersOf(port::WindowHandle window) {
  WindowSystemLock lock(WindowSystemMutex());
  RemoveTimers([window](const TimerRecord& t) { return t.window == window; });
}

bool TakeDueTimerMessage(port::WindowHandle filter, bool remove, port::WindowMessage* message) {
  if (filter == port::THREAD_MESSAGES_ONLY) return false;
  WindowSystemLock lock(WindowSystemMutex());
  const uint32_t now = port::timeGetTime();
  for (TimerRecord& t : Timers()) {
    const WindowBasics* w = FindWindowBasics(t.window);
    if (w == nullptr || w->owner != std::this_thread::get_id()) continue;
    if (filter != nullptr && filter != t.window) continue;
    // Wrapping arithmetic: due once now has reached the due time.
    if (static_cast<int32_t>(now - t.due) < 0) continue;
    *message = MakeMessage(t.window, port::WM_TIMER, t.id, reinterpret_cast<port::LParam>(t.procedure));
    if (remove) t.due = now + t.interval;
    return true;
  }
  return false;
}

void ResetWindowTimers() {
  WindowSystemLock lock(WindowSystemMutex());
  Timers().clear();
}

}  // namespace emulated
