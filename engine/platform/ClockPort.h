// Clocks and timers, as the engine logic reaches them: the multimedia timer
// (winmm's timeGetTime and timer period), the performance counter and the
// local time. Names and argument values are the platform's own.
//
// The win32 adapter forwards to the real calls. The sdl adapter (Linux)
// serves both clocks from the monotonic clock: timeGetTime in milliseconds,
// the performance counter in nanoseconds; the timer period is accepted and
// has no effect. The headless adapter runs a virtual clock that tests
// advance (engine/platform/headless/HeadlessClock.h).
//
// An adapter includes this header before <windows.h>, whose macros carry
// the names of some constants below.
#pragma once

#include <cstdint>

#include "engine/platform/FilesPort.h"  // SystemTime

namespace port {

// MMRESULT values of the timer calls.
constexpr uint32_t TIMERR_NOERROR = 0;
constexpr uint32_t TIMERR_NOCANDO = 97;

// TIMECAPS: 8 bytes.
struct TimeCaps {
  uint32_t wPeriodMin;
  uint32_t wPeriodMax;
};
constexpr uint32_t TIMECAPS_SIZE = 8;

// Milliseconds since the system started, wrapping at 2^32.
uint32_t timeGetTime();
// The smallest and largest timer periods; TIMERR_NOERROR on success.
uint32_t timeGetDevCaps(TimeCaps* caps, uint32_t size);
// Requests (begin) and releases (end) a timer period in milliseconds.
uint32_t timeBeginPeriod(uint32_t period);
uint32_t timeEndPeriod(uint32_t period);

// The performance counter's ticks per second; non-zero on success. A
// frequency of 0 means there is no performance counter.
int QueryPerformanceFrequency(int64_t* frequency);
int QueryPerformanceCounter(int64_t* count);

// The local calendar time.
void GetLocalTime(SystemTime* time);

}  // namespace port
