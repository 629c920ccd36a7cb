#include "engine/graphics/display/VerticalBlank.h"

#include <chrono>
#include <thread>

#include "engine/core/Time.h"

port::DirectDraw7Handle directDraw = nullptr;
int64_t refreshIntervalMicroseconds = -1;
uint64_t lastVerticalBlankWait = 0;

namespace {

void SleepMilliseconds(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t Clock() { return NowMicroseconds(1); }

void WaitForBlank() {
  if (directDraw != nullptr)
    port::IDirectDraw7_WaitForVerticalBlank(directDraw, port::DDWAITVB_BLOCKBEGIN, nullptr);
  else
    port::WaitForDisplayRefresh();
}

}  // namespace

void MeasureRefreshInterval() {
  refreshIntervalMicroseconds = -1;
  if (directDraw == nullptr) return;
  WaitForBlank();
  uint64_t t = Clock();
  int64_t previous = -1;
  int64_t sum = 0;
  int count = 0;
  for (int attempt = 0; attempt < 60 && count < 10; ++attempt) {
    WaitForBlank();
    uint64_t now = Clock();
    int64_t d = int64_t(now - t);
    t = now;
    if (previous < 0 || d - previous > 999 || previous - d > 999) {
      count = 0;
      sum = 0;
    } else {
      count += 1;
      sum += d;
    }
    previous = d;
    if (count == 10) refreshIntervalMicroseconds = sum / count;
    SleepMilliseconds(5);
  }
  WaitForVerticalBlankPaced();
}

void WaitForVerticalBlankPaced() {
  int64_t target = refreshIntervalMicroseconds >= 0
                       ? refreshIntervalMicroseconds - VERTICAL_BLANK_MARGIN_MICROSECONDS
                       : UNMEASURED_WAIT_MICROSECONDS;
  if (int64_t(Clock() - lastVerticalBlankWait) >= target) {
    WaitForBlank();
    lastVerticalBlankWait = Clock();
    SleepMilliseconds(0);
    return;
  }
  SleepMilliseconds(0);
  // A clock that does not move while the thread sleeps (a virtual one) must
  // not hold the frame forever: never more 1 ms sleeps than the target has
  // milliseconds.
  for (int64_t sleeps = 0; int64_t(Clock() - lastVerticalBlankWait) < target &&
                           sleeps <= target / 1000 + 1;
       ++sleeps)
    SleepMilliseconds(1);
  WaitForBlank();
  lastVerticalBlankWait = Clock();
}
