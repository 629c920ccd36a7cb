// Frame pacing to the display's vertical blank: the thread sleeps through
// most of the frame and waits for the blank itself only in the last 3 ms.
#pragma once

#include <cstdint>

#include "engine/platform/DirectDrawPort.h"

// The DirectDraw object the waits use (null: the platform's own refresh
// wait serves instead).
extern port::DirectDraw7Handle directDraw;

// The measured refresh interval in microseconds, -1 while not measured; and
// the microsecond clock at the last wait.
extern int64_t refreshIntervalMicroseconds;
extern uint64_t lastVerticalBlankWait;

// Up to 60 waits for the blank until ten intervals in a row agree within
// 999 microseconds; their mean becomes the interval. Then one paced wait.
// Without a DirectDraw object the interval stays unmeasured.
void MeasureRefreshInterval();

// Sleeps until 3 ms before the expected blank (4 ms after the last wait
// while unmeasured), then waits for the blank.
void WaitForVerticalBlankPaced();

// The margin before the expected blank, and the pause used when the
// interval is unknown.
constexpr int64_t VERTICAL_BLANK_MARGIN_MICROSECONDS = 3000;
constexpr int64_t UNMEASURED_WAIT_MICROSECONDS = 4000;
