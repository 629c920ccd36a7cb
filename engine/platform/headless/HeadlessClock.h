// Script and record of the headless clock port: a virtual clock that only
// moves when a test (or the demo renderer) advances it, the answers of the
// timer calls, the timer periods requested and released, and the local
// time.
//
// All clocks derive from one virtual microsecond count: timeGetTime is it
// divided by 1000 (wrapping at 2^32), the performance counter and the
// time-stamp counter are it scaled to their rates. The defaults model a
// machine without a performance counter and whose processor reports no
// time-stamp counter (HeadlessSystem.h), so start-up never waits for a
// clock that does not move; a test that wants the precision test or the
// processor-clock measurement gives the clock a step per read.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/platform/ClockPort.h"

namespace headless {

// The virtual clock in microseconds (0 at process start).
uint64_t ClockMicroseconds();
void SetClockMicroseconds(uint64_t microseconds);
void AdvanceClockMicroseconds(uint64_t microseconds);
void AdvanceClockMilliseconds(uint64_t milliseconds);
// Every read of timeGetTime, the performance counter or the time-stamp
// counter first advances the clock by this much (default 0), so that loops
// waiting for a clock to move see it move.
void SetClockStepPerRead(uint64_t microseconds);

// The performance counter's ticks per second; 0 (the default) means the
// machine has none: QueryPerformanceFrequency reports 0.
void SetPerformanceFrequency(int64_t ticksPerSecond);
// The time-stamp counter's cycles per second (default 3 000 000 000).
void SetTimeStampRate(uint64_t cyclesPerSecond);
// What ReadTimeStampCounter reads now (the system port serves RDTSC).
uint64_t TimeStampCounterNow();

// timeGetDevCaps' answer (default: periods 1 to 1 000 000, TIMERR_NOERROR).
void SetTimerCaps(uint32_t periodMin, uint32_t periodMax, uint32_t result);

// Every timeGetDevCaps, timeBeginPeriod and timeEndPeriod call, in order.
struct TimerCall {
  enum Kind { GET_DEV_CAPS, BEGIN_PERIOD, END_PERIOD } kind;
  uint32_t value;  // the period, or the size passed to timeGetDevCaps
};
const std::vector<TimerCall>& TimerCalls();

// GetLocalTime's answer (default 2000-01-01 00:00:00.000, a Saturday).
void SetLocalTime(const port::SystemTime& time);

// Back to the defaults: clock at 0, no step, no performance counter,
// records emptied.
void ResetClock();

}  // namespace headless
