// The clock port on Windows: winmm's multimedia timer, kernel32's
// performance counter and local time, forwarded as they are.
//
// The port header comes before <windows.h>, whose macros carry the names of
// the port's constants.
#include "engine/platform/ClockPort.h"

#include <windows.h>
#include <mmsystem.h>

namespace port {

static_assert(sizeof(TIMECAPS) == TIMECAPS_SIZE, "TIMECAPS is 8 bytes");
static_assert(sizeof(SYSTEMTIME) == sizeof(SystemTime), "SYSTEMTIME is eight words");

uint32_t timeGetTime() { return ::timeGetTime(); }

uint32_t timeGetDevCaps(TimeCaps* caps, uint32_t size) {
  if (caps == nullptr || size < TIMECAPS_SIZE) return TIMERR_NOCANDO;
  TIMECAPS platform{};
  const MMRESULT result = ::timeGetDevCaps(&platform, sizeof platform);
  if (result == TIMERR_NOERROR) *caps = TimeCaps{platform.wPeriodMin, platform.wPeriodMax};
  return result;
}

uint32_t timeBeginPeriod(uint32_t period) { return ::timeBeginPeriod(period); }
uint32_t timeEndPeriod(uint32_t period) { return ::timeEndPeriod(period); }

int QueryPerformanceFrequency(int64_t* frequency) {
  if (frequency == nullptr) return 0;
  LARGE_INTEGER value{};
  const BOOL ok = ::QueryPerformanceFrequency(&value);
  *frequency = ok ? value.QuadPart : 0;
  return ok ? 1 : 0;
}

int QueryPerformanceCounter(int64_t* count) {
  if (count == nullptr) return 0;
  LARGE_INTEGER value{};
  const BOOL ok = ::QueryPerformanceCounter(&value);
  *count = ok ? value.QuadPart : 0;
  return ok ? 1 : 0;
}

void GetLocalTime(SystemTime* time) {
  if (time == nullptr) return;
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  *time = SystemTime{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                     now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
}

}  // namespace port
