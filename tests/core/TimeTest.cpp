#include "engine/core/Time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/core/SystemInfo.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "tests/services/LogCapture.h"

namespace {

// Every clock global back to a machine without counters, on a virtual clock
// at 0.
class TimeTest : public ::testing::Test {
 protected:
  TimeTest() { Reset(); }
  ~TimeTest() override { Reset(); }
  static void Reset() {
    headless::ResetClock();
    usePerformanceCounter = 0;
    performanceFrequency = 0;
    hasTimeStampCounter = 0;
    cyclesPerSecond = 0;
    cpuMhz = 0;
    engineStarted = 0;
  }
  static void SetTimeGetTime(uint64_t milliseconds) { headless::SetClockMicroseconds(milliseconds * 1000); }
};

TEST_F(TimeTest, NowMillisecondsIgnoresItsArgument) {
  SetTimeGetTime(4321);
  EXPECT_EQ(NowMilliseconds(0), 4321);
  EXPECT_EQ(NowMilliseconds(12345), NowMilliseconds(0));
}

TEST_F(TimeTest, NowMillisecondsIsMaskedTo31BitsAndWraps) {
  struct Case {
    uint64_t timeGetTime;
    int expected;
  } cases[] = {{0, 0},
               {0x7FFFFFFE, 0x7FFFFFFE},
               {0x7FFFFFFF, 0x7FFFFFFF},
               {0x80000000, 0},
               {0x80000005, 5},
               {0xFFFFFFFF, 0x7FFFFFFF},
               {0x100000003, 3}};  // timeGetTime itself wraps at 2^32
  for (const Case& c : cases) {
    SetTimeGetTime(c.timeGetTime);
    EXPECT_EQ(NowMilliseconds(0), c.expected) << std::hex << c.timeGetTime;
  }
}

TEST_F(TimeTest, ReadingsSubtractAcrossTheWrap) {
  SetTimeGetTime(0x7FFFFFFB);
  const int before = NowMilliseconds(0);
  headless::AdvanceClockMilliseconds(10);
  const int after = NowMilliseconds(0);
  EXPECT_EQ((after - before) & 0x7FFFFFFF, 10);
}

TEST_F(TimeTest, WithoutCountersMicrosecondsStepInThousands) {
  SetTimeGetTime(0x80000005);  // the unmasked value is used
  EXPECT_EQ(NowMicroseconds(0), uint64_t{0x80000005} * 1000);
  headless::AdvanceClockMicroseconds(999);
  EXPECT_EQ(NowMicroseconds(1), uint64_t{0x80000005} * 1000) << "no time-stamp counter: precise changes nothing";
}

TEST_F(TimeTest, PerformanceCounterScalesWithoutOverflow) {
  headless::SetPerformanceFrequency(10000000);  // 10 MHz
  DetectPerformanceCounter();
  ASSERT_EQ(usePerformanceCounter, 1);
  ASSERT_EQ(performanceFrequency, 10000000);
  // The counter reads 10^16: times 10^6 is far beyond 64 bits.
  const uint64_t microseconds = 1000000000000000ull;
  headless::SetClockMicroseconds(microseconds);
  EXPECT_EQ(NowMicroseconds(0), microseconds);
  headless::AdvanceClockMicroseconds(7);
  EXPECT_EQ(NowMicroseconds(0), microseconds + 7);
}

TEST_F(TimeTest, PreciseReadingUsesTheTimeStampCounterOnlyWhileTheEngineRuns) {
  headless::SetTimeStampRate(3000000000u);
  headless::SetPerformanceFrequency(1000);  // 1 kHz: millisecond steps
  DetectPerformanceCounter();
  hasTimeStampCounter = 1;
  cyclesPerSecond = 3000000000;
  const uint64_t microseconds = 5000000000123ull;  // the counter reads 1.5 * 10^16
  headless::SetClockMicroseconds(microseconds);

  EXPECT_EQ(NowMicroseconds(1), microseconds / 1000 * 1000) << "not started: the performance counter";
  engineStarted = 1;
  EXPECT_EQ(NowMicroseconds(1), microseconds);
  EXPECT_EQ(NowMicroseconds(0), microseconds / 1000 * 1000);
  cyclesPerSecond = 0;  // never measured: no division by zero
  EXPECT_EQ(NowMicroseconds(1), microseconds / 1000 * 1000);
}

TEST_F(TimeTest, NoPerformanceCounterMeansTheMillisecondSource) {
  headless::SetPerformanceFrequency(0);
  usePerformanceCounter = 1;
  DetectPerformanceCounter();
  EXPECT_EQ(usePerformanceCounter, 0);
}

TEST_F(TimeTest, TimerPeriodIsRequestedAndReleasedAtTheSmallestPeriod) {
  headless::SetTimerCaps(2, 500, port::TIMERR_NOERROR);
  RequestTimerPeriod();
  ReleaseTimerPeriod();
  const std::vector<headless::TimerCall>& calls = headless::TimerCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, headless::TimerCall::GET_DEV_CAPS);
  EXPECT_EQ(calls[0].value, 8u);
  EXPECT_EQ(calls[1].kind, headless::TimerCall::BEGIN_PERIOD);
  EXPECT_EQ(calls[1].value, 2u);
  EXPECT_EQ(calls[2].kind, headless::TimerCall::GET_DEV_CAPS);
  EXPECT_EQ(calls[3].kind, headless::TimerCall::END_PERIOD);
  EXPECT_EQ(calls[3].value, 2u);
  EXPECT_EQ(timerPeriod, 2u);
}

TEST_F(TimeTest, NoPeriodIsRequestedWhenTheCapabilitiesAreUnknown) {
  headless::SetTimerCaps(0, 0, port::TIMERR_NOCANDO);
  RequestTimerPeriod();
  ReleaseTimerPeriod();
  for (const headless::TimerCall& call : headless::TimerCalls())
    EXPECT_EQ(call.kind, headless::TimerCall::GET_DEV_CAPS);
}

TEST_F(TimeTest, WithoutPerformanceCounterNoPrecisionTestIsLogged) {
  LogCapture log;
  SetUpTimerAndTestPrecision();
  EXPECT_EQ(usePerformanceCounter, 0);
  EXPECT_EQ(LogCapture::Debugger(), "");
  ASSERT_EQ(headless::TimerCalls().size(), 2u);
  EXPECT_EQ(headless::TimerCalls()[1].kind, headless::TimerCall::BEGIN_PERIOD);
}

TEST_F(TimeTest, PrecisionTestKeepsAFinerPerformanceCounter) {
  LogCapture log;
  headless::SetPerformanceFrequency(1000000);
  headless::SetClockStepPerRead(100);  // each read moves 0.1 ms: the counter changes every read
  SetUpTimerAndTestPrecision();
  EXPECT_EQ(usePerformanceCounter, 1);
  const std::string text = log.FileText();
  // Two reads per round (counter, then timeGetTime) move the clock 0.2 ms,
  // so timeGetTime changes every fifth round: 12 changes to the counter's 60.
  EXPECT_EQ(text,
            "0:タイマーの精度を検査します\r\n"
            "12:精度結果 更新回数 マルチメディアタイマー：12  パフォーマンスカウンター：60\r\n"
            "12: パフォーマンスカウンターを使用します タイマー精度 : 1000.000000 KHz \r\n"
            "12: ");
}

TEST_F(TimeTest, PrecisionTestFallsBackToACoarserPerformanceCounter) {
  LogCapture log;
  headless::SetPerformanceFrequency(100);  // changes every 10 ms
  headless::SetClockStepPerRead(500);       // timeGetTime changes every round
  SetUpTimerAndTestPrecision();
  EXPECT_EQ(usePerformanceCounter, 0);
  const std::string text = log.FileText();
  EXPECT_NE(text.find("マルチメディアタイマー：60  パフォーマンスカウンター：6\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(": Multi Media Timer を使用します Timer 精度 : 1.00 ms \r\n"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 2), ": ") << "the line is left open";
}

TEST_F(TimeTest, PrecisionTestStopsAfterOneSecond) {
  LogCapture log;
  // The counter runs at 1 Hz and timeGetTime moves 20 ms per round: neither
  // reaches 60 changes before a second has passed.
  headless::SetPerformanceFrequency(1);
  headless::SetClockStepPerRead(10000);
  SetUpTimerAndTestPrecision();
  EXPECT_NE(log.FileText().find("マルチメディアタイマー：50  パフォーマンスカウンター：1\r\n"), std::string::npos)
      << log.FileText();
}

TEST_F(TimeTest, GeneratorIsSeededWithTheMillisecondClock) {
  SetTimeGetTime(5489);  // MT19937's reference seed
  SetUpTimerAndTestPrecision();
  EXPECT_EQ(EngineRandom(), 3499211612u) << "the published first output for seed 5489";
  EXPECT_EQ(EngineRandom(), 581869302u);

  SetTimeGetTime(0x80000000u + 77);  // seeds with the masked reading
  SetUpTimerAndTestPrecision();
  std::mt19937 reference(77);
  EXPECT_EQ(EngineRandom(), reference());
}

TEST_F(TimeTest, TimeStampCounterRateIsMeasuredOver100Milliseconds) {
  LogCapture log;
  headless::SetTimeStampRate(2500000000u);
  headless::SetClockStepPerRead(1000);
  MeasureTimeStampCounter();
  // Counter at 1 ms, the wait from 2 ms until the clock reads 102 ms, the
  // counter again at 103 ms: 102 ms of cycles. The log line's own reading
  // is the 104th.
  EXPECT_EQ(cpuMhz, 2550);
  EXPECT_EQ(cyclesPerSecond, 2550000000);
  EXPECT_EQ(log.FileText(), "104:ＣＰＵ動作速度：大体2.55GHz\r\n");
}

TEST_F(TimeTest, TimeStampMeasurementEndsAcrossTheClockWrap) {
  headless::SetClockMicroseconds(uint64_t{0x7FFFFFFF - 40} * 1000);
  headless::SetClockStepPerRead(1000);
  MeasureTimeStampCounter();
  EXPECT_EQ(cyclesPerSecond, 3000000000 / 1000 * 102 * 10);
}

TEST_F(TimeTest, LocalDateStampCopiesTheCalendarFields) {
  headless::SetLocalTime(port::SystemTime{2024, 2, 4, 29, 23, 59, 58, 999});
  DateStamp stamp{};
  EXPECT_EQ(GetLocalDateStamp(&stamp), 0);
  EXPECT_EQ(stamp.year, 2024);
  EXPECT_EQ(stamp.month, 2);
  EXPECT_EQ(stamp.day, 29);
  EXPECT_EQ(stamp.hour, 23);
  EXPECT_EQ(stamp.minute, 59);
  EXPECT_EQ(stamp.second, 58);
  EXPECT_EQ(GetLocalDateStamp(nullptr), 0);
}

}  // namespace
