// The display's refresh on the virtual clock, for a program on the headless
// platform that presents through the system's Direct3D 9: every wait for
// the next refresh moves the virtual clock to the start of the next
// refresh period (default 16 667 µs), then calls the hook.
#pragma once

#include <cstdint>

namespace scripted_refresh {

void SetPeriodMicroseconds(uint64_t period);
// Called after every wait (null: none).
using RefreshHook = void (*)();
void SetHook(RefreshHook hook);

}  // namespace scripted_refresh
