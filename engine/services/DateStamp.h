// A calendar time in local time, as the log header and file listings show
// it: six 32-bit fields.
#pragma once

#include <cstdint>

struct DateStamp {
  int32_t year;
  int32_t month;
  int32_t day;
  int32_t hour;
  int32_t minute;
  int32_t second;
};
