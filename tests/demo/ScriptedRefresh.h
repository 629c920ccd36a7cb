// The display's refresh on the virtual clock, for a program that presents
// through the system's Direct3D 9 while its clock stays scripted: there is
// no DirectDraw, and every wait for the next refresh moves the virtual clock
// to the start of the next refresh period, then calls the hook.
#pragma once

#include <cstdint>

namespace scripted_refresh {

void SetPeriodMicroseconds(uint64_t period);
// Called after every wait (null: none).
using RefreshHook = void (*)();
void SetHook(RefreshHook hook);

}  // namespace scripted_refresh
