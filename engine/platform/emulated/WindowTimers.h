// The emulated window timers: a timer of a window becomes due every
// interval; PeekMessageA then finds a WM_TIMER for it (after the queued
// messages) and, when it removes the message, schedules the next one.
#pragma once

#include <cstdint>

#include "engine/platform/WindowPort.h"

namespace emulated {

// Starts (or restarts) the window's timer id: due interval milliseconds
// from now. Returns id.
uintptr_t StartWindowTimer(port::WindowHandle window, uintptr_t id, uint32_t milliseconds,
                           port::TimerProcedure procedure);
// Stops the window's timer id; false when it was not running.
bool StopWindowTimer(port::WindowHandle window, uintptr_t id);
// Stops every timer of the window (the window is being destroyed).
void StopTimersOf(port::WindowHandle window);

// The WM_TIMER of the first due timer of a window the calling thread owns
// that the filter admits (none for THREAD_MESSAGES_ONLY). With remove the
// timer becomes due again an interval from now.
bool TakeDueTimerMessage(port::WindowHandle filter, bool remove, port::WindowMessage* message);

// Forgets every timer.
void ResetWindowTimers();

}  // namespace emulated
