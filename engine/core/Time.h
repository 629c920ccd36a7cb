// The engine's clocks: the millisecond clock the game and most of the
// engine count with (NowMilliseconds, Engine.h), the microsecond clock for
// short measurements, the local calendar time, and the multimedia-timer
// period the engine requests while it runs. Also the engine's own
// pseudo-random generator, seeded once the clocks are chosen.
//
// All clocks are read without locks; any thread may read them.
#pragma once

#include <cstdint>

#include "engine/services/DateStamp.h"

// 1 when the performance counter serves NowMicroseconds; its ticks per
// second. Start-up sets both (DetectPerformanceCounter), the precision test
// may clear the flag again.
extern int usePerformanceCounter;
extern int64_t performanceFrequency;

// The smallest timer period (milliseconds) last read from timeGetDevCaps.
extern uint32_t timerPeriod;

// Microseconds from an arbitrary origin. With precise 1, a time-stamp
// counter and the engine started: the counter over its measured rate; else
// the performance counter when in use; else timeGetTime() * 1000. Products
// are formed in 128 bits, so no counter value overflows them.
uint64_t NowMicroseconds(int precise);

// Fills the stamp with the local date and time; 0.
int GetLocalDateStamp(DateStamp* stamp);

// Start-up: QueryPerformanceFrequency; usePerformanceCounter = 1 unless the
// frequency is 0.
void DetectPerformanceCounter();
// timeGetDevCaps, then timeBeginPeriod(smallest period). Start-up requests
// it twice (system information, window creation).
void RequestTimerPeriod();
// timeGetDevCaps, then timeEndPeriod(smallest period); at window close.
void ReleaseTimerPeriod();

// The system-information step: reads the time-stamp counter across at least
// 100 ms of timeGetTime, sets cpuMhz and cyclesPerSecond (SystemInfo.h) and
// logs "ＣＰＵ動作速度：大体%.2fGHz". Call only when hasTimeStampCounter.
void MeasureTimeStampCounter();

// The window-creation step: reads the performance counter's frequency again,
// requests the timer period, and when the performance counter is in use
// counts how often each source changes (up to 60 changes or 1000 ms) and
// keeps the performance counter only if it changed at least as often as
// timeGetTime. Then seeds the engine's generator with NowMilliseconds.
void SetUpTimerAndTestPrecision();

// The engine's generator: MT19937 with its standard seeding.
void SeedEngineRandom(uint32_t seed);
uint32_t EngineRandom();
