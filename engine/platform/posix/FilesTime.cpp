// File-time conversions for the Linux files port: the FILETIME arithmetic of
// Win32, with the local time offset taken from the C library's time zone.
#include <ctime>

#include "engine/platform/FilesPort.h"

namespace port {
namespace {

constexpr int64_t TICKS_PER_SECOND = 10000000;
constexpr int64_t SECONDS_1601_TO_1970 = 11644473600LL;

uint64_t TicksOf(const FileTime& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FileTime FileTimeOfTicks(uint64_t ticks) {
  return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
}

}  // namespace

int FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) {
  if (!fileTime || !localFileTime) return 0;
  uint64_t ticks = TicksOf(*fileTime);
  time_t seconds = static_cast<time_t>(static_cast<int64_t>(ticks / TICKS_PER_SECOND) - SECONDS_1601_TO_1970);
  struct tm local;
  if (!localtime_r(&seconds, &local)) return 0;
  int64_t shifted = static_cast<int64_t>(ticks) + static_cast<int64_t>(local.tm_gmtoff) * TICKS_PER_SECOND;
  if (shifted < 0) return 0;
  *localFileTime = FileTimeOfTicks(static_cast<uint64_t>(shifted));
  return 1;
}

int FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) {
  if (!fileTime || !systemTime) return 0;
  uint64_t ticks = TicksOf(*fileTime);
  if (ticks > 0x7FFFFFFFFFFFFFFFULL) return 0;
  time_t seconds = static_cast<time_t>(static_cast<int64_t>(ticks / TICKS_PER_SECOND) - SECONDS_1601_TO_1970);
  struct tm split;
  if (!gmtime_r(&seconds, &split)) return 0;
  systemTime->wYear = static_cast<uint16_t>(split.tm_year + 1900);
  systemTime->wMonth = static_cast<uint16_t>(split.tm_mon + 1);
  systemTime->wDayOfWeek = static_cast<uint16_t>(split.tm_wday);
  systemTime->wDay = static_cast<uint16_t>(split.tm_mday);
  systemTime->wHour = static_cast<uint16_t>(split.tm_hour);
  systemTime->wMinute = static_cast<uint16_t>(split.tm_min);
  systemTime->wSecond = static_cast<uint16_t>(split.tm_sec);
  systemTime->wMilliseconds = static_cast<uint16_t>((ticks / 10000) % 1000);
  return 1;
}

}  // namespace port
