#include "engine/core/Time.h"

#include <random>

#include "engine/core/Engine.h"
#include "engine/core/SystemInfo.h"
#include "engine/platform/ClockPort.h"
#include "engine/platform/SystemPort.h"
#include "engine/services/Log.h"

int usePerformanceCounter = 0;
int64_t performanceFrequency = 0;
uint32_t timerPeriod = 0;

namespace {

constexpr uint32_t MILLISECOND_MASK = 0x7FFFFFFF;
constexpr uint64_t MICROSECONDS_PER_SECOND = 1000000;
constexpr uint32_t TSC_MEASURE_MILLISECONDS = 100;
constexpr int PRECISION_TEST_CHANGES = 60;
constexpr uint32_t PRECISION_TEST_MILLISECONDS = 1000;

__extension__ typedef unsigned __int128 Uint128;

// value * 1 000 000 / rate, the product in 128 bits; the low 64 bits of
// the quotient.
uint64_t ScaleToMicroseconds(uint64_t value, uint64_t rate) {
  return static_cast<uint64_t>(Uint128{value} * MICROSECONDS_PER_SECOND / rate);
}

// Milliseconds from earlier to now on the 31-bit clock, across its wrap.
uint32_t MillisecondsSince(uint32_t earlier) { return (NowMilliseconds(0) - earlier) & MILLISECOND_MASK; }

std::mt19937 engineRandom;

}  // namespace

int NowMilliseconds(int) { return static_cast<int>(port::timeGetTime() & MILLISECOND_MASK); }

uint64_t NowMicroseconds(int precise) {
  // A rate of 0 (never measured) cannot divide; the next source serves.
  if (precise == 1 && hasTimeStampCounter && engineStarted && cyclesPerSecond > 0) {
    return ScaleToMicroseconds(port::ReadTimeStampCounter(), static_cast<uint64_t>(cyclesPerSecond));
  }
  if (usePerformanceCounter && performanceFrequency > 0) {
    int64_t count = 0;
    port::QueryPerformanceCounter(&count);
    return ScaleToMicroseconds(static_cast<uint64_t>(count), static_cast<uint64_t>(performanceFrequency));
  }
  return uint64_t{port::timeGetTime()} * 1000;
}

int GetLocalDateStamp(DateStamp* stamp) {
  port::SystemTime now{};
  port::GetLocalTime(&now);
  if (stamp != nullptr) {
    *stamp = DateStamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
  return 0;
}

void DetectPerformanceCounter() {
  int64_t frequency = 0;
  if (!port::QueryPerformanceFrequency(&frequency)) frequency = 0;
  performanceFrequency = frequency;
  usePerformanceCounter = frequency != 0 ? 1 : 0;
}

void RequestTimerPeriod() {
  port::TimeCaps caps{};
  if (port::timeGetDevCaps(&caps, port::TIMECAPS_SIZE) != port::TIMERR_NOERROR) return;
  timerPeriod = caps.wPeriodMin;
  port::timeBeginPeriod(caps.wPeriodMin);
}

void ReleaseTimerPeriod() {
  port::TimeCaps caps{};
  if (port::timeGetDevCaps(&caps, port::TIMECAPS_SIZE) != port::TIMERR_NOERROR) return;
  port::timeEndPeriod(caps.wPeriodMin);
}

void MeasureTimeStampCounter() {
  const uint64_t before = port::ReadTimeStampCounter();
  const uint32_t start = static_cast<uint32_t>(NowMilliseconds(0));
  while (MillisecondsSince(start) < TSC_MEASURE_MILLISECONDS) {
  }
  const uint64_t cycles = port::ReadTimeStampCounter() - before;
  cpuMhz = static_cast<int>(cycles / 100000);
  cyclesPerSecond = static_cast<int64_t>(cycles * 10);
  LogPrintf("ＣＰＵ動作速度：大体%.2fGHz", cpuMhz / 1000.0);
}

namespace {

// Counts the changes of both sources until one of them changed 60 times or
// a second of timeGetTime has passed, then keeps the one that changed more
// often (the performance counter on a tie).
void TestTimerPrecision() {
  WriteLog("タイマーの精度を検査します\n");
  int64_t lastCount = 0;
  port::QueryPerformanceCounter(&lastCount);
  uint32_t lastTime = port::timeGetTime();
  const uint32_t startTime = lastTime;
  int countChanges = 0;
  int timeChanges = 0;
  while (countChanges < PRECISION_TEST_CHANGES && timeChanges < PRECISION_TEST_CHANGES &&
         lastTime - startTime < PRECISION_TEST_MILLISECONDS) {
    int64_t count = 0;
    port::QueryPerformanceCounter(&count);
    if (count != lastCount) {
      ++countChanges;
      lastCount = count;
    }
    const uint32_t time = port::timeGetTime();
    if (time != lastTime) {
      ++timeChanges;
      lastTime = time;
    }
  }
  LogPrintf("精度結果 更新回数 マルチメディアタイマー：%d  パフォーマンスカウンター：%d", timeChanges,
            countChanges);
  WriteLog(" ");
  if (timeChanges > countChanges) {
    LogPrintf("Multi Media Timer を使用します Timer 精度 : %d.00 ms ", static_cast<int>(timerPeriod));
    usePerformanceCounter = 0;
  } else {
    LogPrintf("パフォーマンスカウンターを使用します タイマー精度 : %lf KHz ", performanceFrequency / 1000.0);
  }
  WriteLog(" ");
}

}  // namespace

void SetUpTimerAndTestPrecision() {
  DetectPerformanceCounter();
  RequestTimerPeriod();
  if (usePerformanceCounter) TestTimerPrecision();
  SeedEngineRandom(static_cast<uint32_t>(NowMilliseconds(0)));
}

void SeedEngineRandom(uint32_t seed) { engineRandom.seed(seed); }

uint32_t EngineRandom() { return static_cast<uint32_t>(engineRandom()); }
