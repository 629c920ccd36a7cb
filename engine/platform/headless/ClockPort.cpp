#include <atomic>
#include <mutex>

#include "engine/platform/headless/HeadlessClock.h"

namespace {

constexpr uint64_t MICROSECONDS_PER_SECOND = 1000000;

__extension__ typedef unsigned __int128 Uint128;

port::SystemTime DefaultLocalTime() { return port::SystemTime{2000, 1, 6, 1, 0, 0, 0, 0}; }

struct ClockScript {
  std::atomic<uint64_t> microseconds{0};
  std::atomic<uint64_t> stepPerRead{0};
  std::atomic<int64_t> performanceFrequency{0};
  std::atomic<uint64_t> timeStampRate{3000000000u};
  port::TimeCaps caps{1, 1000000};
  uint32_t capsResult = port::TIMERR_NOERROR;
  std::vector<headless::TimerCall> calls;
  port::SystemTime localTime = DefaultLocalTime();
  std::mutex lock;  // guards calls and localTime
};

ClockScript& Script() {
  static ClockScript script;
  return script;
}

// One read of a clock: advances by the step, then reads.
uint64_t ReadClock() {
  ClockScript& script = Script();
  const uint64_t step = script.stepPerRead.load();
  return script.microseconds.fetch_add(step) + step;
}

uint64_t Scale(uint64_t microseconds, uint64_t rate) {
  return static_cast<uint64_t>(Uint128{microseconds} * rate / MICROSECONDS_PER_SECOND);
}

void Record(headless::TimerCall::Kind kind, uint32_t value) {
  std::lock_guard<std::mutex> hold(Script().lock);
  Script().calls.push_back({kind, value});
}

}  // namespace

namespace headless {

uint64_t ClockMicroseconds() { return Script().microseconds.load(); }
void SetClockMicroseconds(uint64_t microseconds) { Script().microseconds.store(microseconds); }
void AdvanceClockMicroseconds(uint64_t microseconds) { Script().microseconds.fetch_add(microseconds); }
void AdvanceClockMilliseconds(uint64_t milliseconds) { AdvanceClockMicroseconds(milliseconds * 1000); }
void SetClockStepPerRead(uint64_t microseconds) { Script().stepPerRead.store(microseconds); }

void SetPerformanceFrequency(int64_t ticksPerSecond) { Script().performanceFrequency.store(ticksPerSecond); }
void SetTimeStampRate(uint64_t cyclesPerSecond) { Script().timeStampRate.store(cyclesPerSecond); }
uint64_t TimeStampCounterNow() { return Scale(ReadClock(), Script().timeStampRate.load()); }

void SetTimerCaps(uint32_t periodMin, uint32_t periodMax, uint32_t result) {
  Script().caps = port::TimeCaps{periodMin, periodMax};
  Script().capsResult = result;
}

const std::vector<TimerCall>& TimerCalls() { return Script().calls; }

void SetLocalTime(const port::SystemTime& time) {
  std::lock_guard<std::mutex> hold(Script().lock);
  Script().localTime = time;
}

void ResetClock() {
  ClockScript& script = Script();
  script.microseconds.store(0);
  script.stepPerRead.store(0);
  script.performanceFrequency.store(0);
  script.timeStampRate.store(3000000000u);
  script.caps = port::TimeCaps{1, 1000000};
  script.capsResult = port::TIMERR_NOERROR;
  std::lock_guard<std::mutex> hold(script.lock);
  script.calls.clear();
  script.localTime = DefaultLocalTime();
}

}  // namespace headless

namespace port {

uint32_t timeGetTime() { return static_cast<uint32_t>(ReadClock() / 1000); }

uint32_t timeGetDevCaps(TimeCaps* caps, uint32_t size) {
  Record(headless::TimerCall::GET_DEV_CAPS, size);
  if (caps == nullptr || size < TIMECAPS_SIZE) return TIMERR_NOCANDO;
  if (Script().capsResult == TIMERR_NOERROR) *caps = Script().caps;
  return Script().capsResult;
}

uint32_t timeBeginPeriod(uint32_t period) {
  Record(headless::TimerCall::BEGIN_PERIOD, period);
  return TIMERR_NOERROR;
}

uint32_t timeEndPeriod(uint32_t period) {
  Record(headless::TimerCall::END_PERIOD, period);
  return TIMERR_NOERROR;
}

int QueryPerformanceFrequency(int64_t* frequency) {
  if (frequency == nullptr) return 0;
  *frequency = Script().performanceFrequency.load();
  return *frequency != 0 ? 1 : 0;
}

int QueryPerformanceCounter(int64_t* count) {
  if (count == nullptr) return 0;
  const int64_t frequency = Script().performanceFrequency.load();
  if (frequency <= 0) {
    *count = 0;
    return 0;
  }
  *count = static_cast<int64_t>(Scale(ReadClock(), static_cast<uint64_t>(frequency)));
  return 1;
}

void GetLocalTime(SystemTime* time) {
  if (time == nullptr) return;
  std::lock_guard<std::mutex> hold(Script().lock);
  *time = Script().localTime;
}

}  // namespace port
