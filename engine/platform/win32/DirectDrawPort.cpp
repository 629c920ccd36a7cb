// DirectDraw 7 forwarded to the real ddraw.dll through COM.
//
// The port header comes first: ddraw.h defines macros with the names of the
// port's constants and of its functions (IDirectDraw7_Initialize ...), so the
// definitions below put each function name in parentheses, which a
// function-like macro does not expand.
#include "engine/platform/DirectDrawPort.h"

#include <windows.h>
#include <ddraw.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

IDirectDraw7* Object(port::DirectDraw7Handle handle) {
  return reinterpret_cast<IDirectDraw7*>(handle);
}

static_assert(sizeof(GUID) == sizeof(port::ComGuid), "GUID layout");

bool SameGuid(const port::ComGuid& portGuid, const GUID& guid) {
  return std::memcmp(&portGuid, &guid, sizeof guid) == 0;
}

using SteadyClock = std::chrono::steady_clock;

// One refresh of the display's current mode (60 Hz when it does not say).
SteadyClock::duration RefreshPeriod() {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  int hertz = 60;
  if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
    hertz = static_cast<int>(mode.dmDisplayFrequency);
  return std::chrono::duration_cast<SteadyClock::duration>(std::chrono::seconds(1)) / hertz;
}

// Sleeps to the next multiple of the refresh period since the clock's
// epoch, so that consecutive waits keep a steady rhythm.
void SleepToNextRefresh() {
  static const SteadyClock::duration period = RefreshPeriod();
  const auto now = SteadyClock::now().time_since_epoch();
  std::this_thread::sleep_until(SteadyClock::time_point((now / period + 1) * period));
}

// Some DirectDraw implementations (Wine's, for one) return from
// WaitForVerticalBlank at once instead of waiting for the display, which
// would leave the frames unpaced. A real wait for the beginning of the next
// blank practically never returns within a fraction of a millisecond several
// times in a row; once that happened, the wait keeps the display's pace by
// sleeping to its next refresh instead.
struct BlankWaitWatch {
  int immediateReturns = 0;
  bool keepsPaceItself = false;
};
BlankWaitWatch blankWaitWatch;
constexpr int IMMEDIATE_RETURNS_BEFORE_PACING = 8;
constexpr auto IMMEDIATE_RETURN = std::chrono::microseconds(200);

}  // namespace

namespace port {

int DirectDrawAvailable() { return 1; }

HResult CoCreateDirectDraw7(CoCreateInstanceFunction coCreateInstance, uint32_t context,
                            DirectDraw7Handle* object) {
  *object = nullptr;
  if (coCreateInstance == nullptr) return E_NOTIMPL;
  if (!SameGuid(CLSID_DirectDraw7, ::CLSID_DirectDraw7) ||
      !SameGuid(IID_IDirectDraw7, ::IID_IDirectDraw7))
    return E_FAIL;
  void* created = nullptr;
  HResult result = coCreateInstance(&::CLSID_DirectDraw7, nullptr, context,
                                    &::IID_IDirectDraw7, &created);
  if (SUCCEEDED(result)) *object = static_cast<DirectDraw7Handle>(created);
  return result;
}

HResult(IDirectDraw7_Initialize)(DirectDraw7Handle object, const ComGuid* driver) {
  return Object(object)->Initialize(reinterpret_cast<GUID*>(const_cast<ComGuid*>(driver)));
}

HResult(IDirectDraw7_SetCooperativeLevel)(DirectDraw7Handle object, WindowHandle window,
                                          uint32_t flags) {
  return Object(object)->SetCooperativeLevel(static_cast<HWND>(window), flags);
}

HResult(IDirectDraw7_WaitForVerticalBlank)(DirectDraw7Handle object, uint32_t flags,
                                           void* event) {
  BlankWaitWatch& watch = blankWaitWatch;
  if (watch.keepsPaceItself) {
    SleepToNextRefresh();
    return DD_OK;
  }
  const auto start = SteadyClock::now();
  const HResult result = Object(object)->WaitForVerticalBlank(flags, static_cast<HANDLE>(event));
  const bool immediate = SUCCEEDED(result) && SteadyClock::now() - start < IMMEDIATE_RETURN;
  watch.immediateReturns = immediate ? watch.immediateReturns + 1 : 0;
  if (watch.immediateReturns >= IMMEDIATE_RETURNS_BEFORE_PACING) watch.keepsPaceItself = true;
  return result;
}

uint32_t(IDirectDraw7_Release)(DirectDraw7Handle object) { return Object(object)->Release(); }

// DirectDraw is always there on Windows; this serves only the adapters
// without it, but keeps its meaning here: one refresh of the display.
void WaitForDisplayRefresh() { SleepToNextRefresh(); }

}  // namespace port
