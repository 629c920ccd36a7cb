// The DirectDraw port of the headless platform with the system's Direct3D:
// there is no DirectDraw, and the display refreshes on the virtual clock.
// The engine waits for the refresh after a present that did not wait
// itself, which on a clock that only moves when told is every present: the
// wait is where a frame's time passes, and where the frame just presented
// can be read back.
#include "engine/platform/DirectDrawPort.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/win32/scripted/ScriptedRefresh.h"

namespace {

uint64_t period = 16667;
scripted_refresh::RefreshHook hook = nullptr;

}  // namespace

namespace scripted_refresh {

void SetPeriodMicroseconds(uint64_t microseconds) { period = microseconds; }
void SetHook(RefreshHook newHook) { hook = newHook; }

}  // namespace scripted_refresh

namespace port {

int DirectDrawAvailable() { return 0; }

HResult CoCreateDirectDraw7(CoCreateInstanceFunction, uint32_t, DirectDraw7Handle* object) {
  *object = nullptr;
  return int32_t(0x80040154u);  // REGDB_E_CLASSNOTREG
}

// Never reached without an object; present for the linker.
HResult IDirectDraw7_Initialize(DirectDraw7Handle, const ComGuid*) { return int32_t(0x80004005u); }
HResult IDirectDraw7_SetCooperativeLevel(DirectDraw7Handle, WindowHandle, uint32_t) {
  return int32_t(0x80004005u);
}
HResult IDirectDraw7_WaitForVerticalBlank(DirectDraw7Handle, uint32_t, void*) {
  return int32_t(0x80004005u);
}
uint32_t IDirectDraw7_Release(DirectDraw7Handle) { return 0; }

void WaitForDisplayRefresh() {
  const uint64_t now = headless::ClockMicroseconds();
  headless::SetClockMicroseconds((now / period + 1) * period);
  if (hook) hook();
}

}  // namespace port
