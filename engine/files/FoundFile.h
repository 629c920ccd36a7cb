// One directory entry as the stream functions' enumeration reports it, from
// the disk or from inside an archive.
#pragma once

#include <cstdint>

#include "engine/platform/FilesPort.h"
#include "engine/services/DateStamp.h"

struct FoundFile {
  char name[260];     // as stored, no directory part
  int isDirectory;    // 1 for a directory (attribute bit 0x10)
  uint32_t sizeLow;
  uint32_t sizeHigh;  // always 0 inside an archive
  DateStamp creation;
  DateStamp lastWrite;
};

// A platform FILETIME (UTC) as a local-time DateStamp, through
// FileTimeToLocalFileTime and FileTimeToSystemTime; all zero when the time
// cannot be converted.
DateStamp DateStampOfFileTime(const port::FileTime& time);
DateStamp DateStampOfFileTime(uint64_t time);
