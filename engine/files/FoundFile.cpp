#include "engine/files/FoundFile.h"

DateStamp DateStampOfFileTime(const port::FileTime& time) {
  port::FileTime local;
  port::SystemTime split;
  if (!port::FileTimeToLocalFileTime(&time, &local) || !port::FileTimeToSystemTime(&local, &split))
    return DateStamp{};
  return DateStamp{split.wYear, split.wMonth, split.wDay, split.wHour, split.wMinute, split.wSecond};
}

DateStamp DateStampOfFileTime(uint64_t time) {
  return DateStampOfFileTime(port::FileTime{static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32)});
}
