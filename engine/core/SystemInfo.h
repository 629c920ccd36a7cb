// What start-up learns about the system and logs: the operating system, the
// processors and their clock. Other subsystems branch on these values.
#pragma once

#include <cstdint>

// 0 Windows 3.1, 1 95, 2 98, 3 Me, 260 NT 3.51, 261 NT 4.0, 262 2000, 263 XP,
// 264 Vista, 265 7; other versions leave it 0.
extern int windowsVersionCode;
constexpr int WINDOWS_VERSION_VISTA = 264;
constexpr int WINDOWS_VERSION_NT4 = 261;

// True when the system is at least the version of `code`. NT versions after
// 7 (8, 10, 11) have no code of their own and leave windowsVersionCode at 0,
// yet they have everything the Vista-and-later branches rely on, so they
// count as newer than every listed NT version.
bool WindowsVersionAtLeast(int code);

// Logical processors; the message pump services sound itself on one.
extern int processorCount;

// 0 no CPUID, 1 CPUID, 3 MMX, 4 MMX and SSE, 5 MMX, SSE and SSE2.
extern int cpuFeatureLevel;
extern int cpuHasMmx;
extern int cpuHasSse;
extern int cpuHasSse2;
// The later vector extensions the software renderer has loops for: SSE4.1,
// and AVX2 only when the system also saves the 256-bit registers. Not
// logged.
extern int cpuHasSse41;
extern int cpuHasAvx2;

// The time-stamp counter and its rate, measured against 100 ms of the
// millisecond clock.
extern int hasTimeStampCounter;
extern int cpuMhz;
extern int64_t cyclesPerSecond;

// The description logged as "ＯＳ  ...", and the processor's 48-character
// name (empty when the processor does not report one).
constexpr int OS_DESCRIPTION_SIZE = 256;
constexpr int CPU_NAME_SIZE = 64;
extern char osDescription[OS_DESCRIPTION_SIZE];
extern char cpuName[CPU_NAME_SIZE];

// The start-up step: writes all of the above to the log and requests the
// smallest timer period.
void LogSystemInfo();
