// The sdl adapter's clock and system ports over the real Linux host.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>

#include "engine/core/Engine.h"
#include "engine/core/Time.h"
#include "engine/platform/ClockPort.h"
#include "engine/platform/SystemPort.h"

namespace {

using namespace std::chrono_literals;

TEST(LinuxClockPortTest, MillisecondClockFollowsRealTime) {
  const int before = NowMilliseconds(0);
  std::this_thread::sleep_for(30ms);
  const int elapsed = (NowMilliseconds(0) - before) & 0x7FFFFFFF;
  EXPECT_GE(elapsed, 30);
  EXPECT_LT(elapsed, 5000);
}

TEST(LinuxClockPortTest, PerformanceCounterCountsNanoseconds) {
  int64_t frequency = 0;
  ASSERT_NE(port::QueryPerformanceFrequency(&frequency), 0);
  EXPECT_EQ(frequency, 1000000000);
  int64_t first = 0;
  int64_t second = 0;
  port::QueryPerformanceCounter(&first);
  std::this_thread::sleep_for(2ms);
  port::QueryPerformanceCounter(&second);
  EXPECT_GE(second - first, 2000000);

  DetectPerformanceCounter();
  EXPECT_EQ(usePerformanceCounter, 1);
  const uint64_t earlier = NowMicroseconds(0);
  std::this_thread::sleep_for(2ms);
  EXPECT_GE(NowMicroseconds(0) - earlier, 2000u);
  usePerformanceCounter = 0;
  performanceFrequency = 0;
}

TEST(LinuxClockPortTest, TimerPeriodIsAccepted) {
  port::TimeCaps caps{};
  ASSERT_EQ(port::timeGetDevCaps(&caps, port::TIMECAPS_SIZE), port::TIMERR_NOERROR);
  EXPECT_EQ(caps.wPeriodMin, 1u);
  EXPECT_EQ(port::timeBeginPeriod(caps.wPeriodMin), port::TIMERR_NOERROR);
  EXPECT_EQ(port::timeEndPeriod(caps.wPeriodMin), port::TIMERR_NOERROR);
  EXPECT_EQ(port::timeGetDevCaps(&caps, 4), port::TIMERR_NOCANDO);
}

TEST(LinuxClockPortTest, LocalTimeIsTheHostsLocalTime) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  DateStamp stamp{};
  GetLocalDateStamp(&stamp);
  EXPECT_EQ(stamp.year, local.tm_year + 1900);
  EXPECT_EQ(stamp.month, local.tm_mon + 1);
  EXPECT_GE(stamp.day, 1);
  EXPECT_LE(stamp.day, 31);
}

TEST(LinuxSystemPortTest, NoWindowsLibraryIsAvailable) {
  EXPECT_EQ(port::LoadLibraryA("winmm.dll"), nullptr);
  EXPECT_EQ(port::GetModuleHandleA("Kernel32.dll"), nullptr);
  EXPECT_NE(port::GetModuleHandleA(nullptr), nullptr) << "the program's own module";
  EXPECT_EQ(port::GetProcAddress(port::GetModuleHandleA(nullptr), "timeGetTime"), nullptr);
  EXPECT_EQ(port::FreeLibrary(nullptr), 0);
}

TEST(LinuxSystemPortTest, SystemAnswersComeFromTheHost) {
  port::SystemInfo info{};
  port::GetSystemInfo(&info);
  EXPECT_EQ(info.dwNumberOfProcessors, static_cast<uint32_t>(sysconf(_SC_NPROCESSORS_ONLN)));

  port::OsVersionInfoA version{};
  version.dwOSVersionInfoSize = port::OSVERSIONINFOA_SIZE;
  EXPECT_EQ(port::GetVersionExA(&version), 0) << "not a Windows version";
  EXPECT_EQ(version.dwPlatformId, 0u);
  EXPECT_EQ(std::string(version.szCSDVersion).rfind("Linux ", 0), 0u) << version.szCSDVersion;

  port::MemoryStatusEx memory{port::MEMORYSTATUSEX_SIZE};
  ASSERT_NE(port::GlobalMemoryStatusEx(&memory), 0);
  EXPECT_GT(memory.ullTotalPhys, 0u);
  EXPECT_LE(memory.ullAvailPhys, memory.ullTotalPhys);
  EXPECT_EQ(port::GetOEMCP(), 932u);
}

TEST(LinuxSystemPortTest, ProcessorReportsAVendorAndACounter) {
  ASSERT_EQ(port::CpuidAvailable(), 1);
  uint32_t registers[4] = {};
  port::Cpuid(0, registers);
  EXPECT_GE(registers[0], 1u);
  char vendor[13] = {};
  std::memcpy(vendor, &registers[1], 4);
  std::memcpy(vendor + 4, &registers[3], 4);
  std::memcpy(vendor + 8, &registers[2], 4);
  EXPECT_EQ(std::strlen(vendor), 12u) << vendor;
  const uint64_t first = port::ReadTimeStampCounter();
  EXPECT_GT(port::ReadTimeStampCounter(), first);
}

TEST(LinuxSystemPortTest, DebuggerTextsGoToStderrWhenItIsNoTerminal) {
  char path[] = "/tmp/vexlo-debugger-XXXXXX";
  const int file = mkstemp(path);
  ASSERT_GE(file, 0);
  std::fflush(stderr);
  const int savedStderr = dup(STDERR_FILENO);
  dup2(file, STDERR_FILENO);
  port::OutputDebugStringA("12:テキスト\r\n");
  dup2(savedStderr, STDERR_FILENO);
  close(savedStderr);

  char text[64] = {};
  const ssize_t length = pread(file, text, sizeof text - 1, 0);
  close(file);
  unlink(path);
  EXPECT_EQ(std::string(text, length > 0 ? static_cast<size_t>(length) : 0), "12:テキスト\r\n");
}

}  // namespace
