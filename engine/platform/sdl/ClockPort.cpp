// The clock port on Linux: both clocks come from the monotonic clock, which
// like timeGetTime counts from about the system's start and never steps
// back. There is no timer period to request: the monotonic clock already
// has a resolution far below a millisecond.
#include <time.h>

#include "engine/platform/ClockPort.h"

namespace {

constexpr int64_t NANOSECONDS_PER_SECOND = 1000000000;

int64_t MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * NANOSECONDS_PER_SECOND + now.tv_nsec;
}

}  // namespace

namespace port {

uint32_t timeGetTime() { return static_cast<uint32_t>(MonotonicNanoseconds() / 1000000); }

uint32_t timeGetDevCaps(TimeCaps* caps, uint32_t size) {
  if (caps == nullptr || size < TIMECAPS_SIZE) return TIMERR_NOCANDO;
  *caps = TimeCaps{1, 1000000};
  return TIMERR_NOERROR;
}

uint32_t timeBeginPeriod(uint32_t) { return TIMERR_NOERROR; }
uint32_t timeEndPeriod(uint32_t) { return TIMERR_NOERROR; }

int QueryPerformanceFrequency(int64_t* frequency) {
  if (frequency == nullptr) return 0;
  *frequency = NANOSECONDS_PER_SECOND;
  return 1;
}

int QueryPerformanceCounter(int64_t* count) {
  if (count == nullptr) return 0;
  *count = MonotonicNanoseconds();
  return 1;
}

void GetLocalTime(SystemTime* time) {
  if (time == nullptr) return;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  *time = SystemTime{static_cast<uint16_t>(local.tm_year + 1900), static_cast<uint16_t>(local.tm_mon + 1),
                     static_cast<uint16_t>(local.tm_wday),        static_cast<uint16_t>(local.tm_mday),
                     static_cast<uint16_t>(local.tm_hour),        static_cast<uint16_t>(local.tm_min),
                     static_cast<uint16_t>(local.tm_sec),         static_cast<uint16_t>(now.tv_nsec / 1000000)};
}

}  // namespace port
