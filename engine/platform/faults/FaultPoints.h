// The fault points of the test builds: the boundaries at which a fault
// sweep makes one call fail. Each boundary counts its calls; armed with n,
// its nth call from then on fails, once.
//
// Only test builds reach them: the headless Direct3D 9 and DirectInput
// fakes, and the copies of the tracked allocator and of the host's files
// port that the sweeps link (compiled with VEXLO_FAULT_POINTS=1). The
// shipped programs link neither, so they carry no injection code.
//
// Any thread may pass a fault point (the disk reader threads read files).
#pragma once

#include <cstdint>

namespace faults {

enum Boundary {
  ALLOCATION,   // MemAlloc, MemCalloc and MemRealloc asking the heap
  FILE_READ,    // the files port's ReadFile
  DIRECT3D9,    // every call of the Direct3D 9 fake that has a failure result
  DIRECTINPUT,  // every call of the DirectInput fake that has a failure result
  BOUNDARY_COUNT
};

// What the failing read does: ReadFile reports failure, or it succeeds with
// only half of the bytes asked for (short data, as from a file cut short
// while it was read).
enum class ReadFault { FAIL, SHORT };

// Passes one call through the boundary: counts it (while counting is on)
// and tells whether it is the armed one.
bool Fails(Boundary boundary);

// The boundary's nth call from now on fails (1: the next one); 0 disarms.
// The count starts again at 0.
void Arm(Boundary boundary, uint64_t nth);
// Calls counted at the boundary since it was last armed or reset.
uint64_t Calls(Boundary boundary);
// Whether the armed call has come (and failed).
bool Fired(Boundary boundary);

// Counting is on by default; a scenario that sweeps only a stretch of its
// run turns it off before and after that stretch. While off, nothing
// counts and nothing fails.
void SetCounting(bool on);

// Called on the thread of the failing call, right when it fails (null:
// nothing), so that a sweep can note where it failed.
using FiredHook = void (*)(Boundary boundary);
void SetFiredHook(FiredHook hook);

// The boundary's own name for the call that failed ("IDirect3DDevice9_Clear",
// "keyboard.Acquire"), as the fakes note it; empty for the others.
void NameFailedCall(const char* name);
const char* FailedCallName();

void SetReadFault(ReadFault fault);
ReadFault ReadFaultInForce();

// Every boundary disarmed and at 0, counting on, reads failing outright,
// no hook, no name.
void Reset();

}  // namespace faults
