// The headless DirectDraw port: unavailable unless a test offers it; every
// wait returns at once and is counted.
#include "engine/platform/DirectDrawPort.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"

namespace {

headless::DirectDrawScript script;
headless::DirectDrawRecord record;

// The virtual clock moves on to the start of the next refresh.
void WaitForNextRefresh() {
  uint64_t period = script.refreshPeriodMicroseconds;
  if (period == 0) return;
  uint64_t now = headless::ClockMicroseconds();
  headless::SetClockMicroseconds((now / period + 1) * period);
}

}  // namespace

namespace port {

struct DirectDraw7Object {
  uint32_t references = 1;
};

}  // namespace port

namespace headless {

void ScriptDirectDraw(const DirectDrawScript& newScript) { script = newScript; }
const DirectDrawRecord& DirectDrawCalls() { return record; }

void ResetDirect3D9Script() {
  ScriptDirect3D9(Direct3D9Script());
  const_cast<Direct3D9Record&>(Direct3D9Calls()) = Direct3D9Record();
  script = DirectDrawScript();
  record = DirectDrawRecord();
}

}  // namespace headless

namespace port {

int DirectDrawAvailable() { return script.available; }

// The COM binding of the caller is not used: headless has no COM.
HResult CoCreateDirectDraw7(CoCreateInstanceFunction, uint32_t, DirectDraw7Handle* object) {
  *object = nullptr;
  if (!script.available || !script.createSucceeds) return int32_t(0x80040154u);  // REGDB_E_CLASSNOTREG
  *object = new DirectDraw7Object;
  record.objectsCreated += 1;
  record.liveObjects += 1;
  return 0;
}

HResult IDirectDraw7_Initialize(DirectDraw7Handle, const ComGuid*) {
  return script.initializeSucceeds ? 0 : int32_t(0x80004005u);  // E_FAIL
}

HResult IDirectDraw7_SetCooperativeLevel(DirectDraw7Handle, WindowHandle, uint32_t flags) {
  record.cooperativeFlags = flags;
  return 0;
}

HResult IDirectDraw7_WaitForVerticalBlank(DirectDraw7Handle, uint32_t, void*) {
  record.verticalBlankWaits += 1;
  WaitForNextRefresh();
  return 0;
}

uint32_t IDirectDraw7_Release(DirectDraw7Handle object) {
  uint32_t left = --object->references;
  if (left == 0) {
    delete object;
    record.liveObjects -= 1;
  }
  return left;
}

void WaitForDisplayRefresh() {
  record.refreshWaits += 1;
  WaitForNextRefresh();
}

}  // namespace port
