// Linux has no DirectDraw: the display set-up goes without the object, and
// the frame pacing waits for the display's refresh on a steady clock whose
// period is the current display mode's refresh rate (60 Hz when SDL does not
// say).
#include <SDL.h>

#include <chrono>
#include <thread>

#include "engine/platform/DirectDrawPort.h"

namespace {

std::chrono::nanoseconds RefreshPeriod() {
  SDL_DisplayMode mode;
  int hertz = 60;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetCurrentDisplayMode(0, &mode) == 0 &&
      mode.refresh_rate > 0)
    hertz = mode.refresh_rate;
  return std::chrono::nanoseconds(1000000000LL / hertz);
}

}  // namespace

namespace port {

int DirectDrawAvailable() { return 0; }

HResult CoCreateDirectDraw7(CoCreateInstanceFunction, uint32_t, DirectDraw7Handle* object) {
  *object = nullptr;
  return int32_t(0x80040154u);  // REGDB_E_CLASSNOTREG
}

HResult IDirectDraw7_Initialize(DirectDraw7Handle, const ComGuid*) { return int32_t(0x80004001u); }
HResult IDirectDraw7_SetCooperativeLevel(DirectDraw7Handle, WindowHandle, uint32_t) {
  return int32_t(0x80004001u);  // E_NOTIMPL
}
HResult IDirectDraw7_WaitForVerticalBlank(DirectDraw7Handle, uint32_t, void*) {
  return int32_t(0x80004001u);
}
uint32_t IDirectDraw7_Release(DirectDraw7Handle) { return 0; }

// Sleeps to the next multiple of the refresh period since the clock's epoch,
// so that consecutive waits keep a steady rhythm.
void WaitForDisplayRefresh() {
  using Clock = std::chrono::steady_clock;
  auto period = RefreshPeriod();
  auto now = Clock::now().time_since_epoch();
  auto next = (now / period + 1) * period;
  std::this_thread::sleep_until(Clock::time_point(std::chrono::duration_cast<Clock::duration>(next)));
}

}  // namespace port
