// Script and record of the headless system port: which run-time libraries
// load and which functions they offer, the system, version and memory
// answers, the processor's CPUID answers, the debugger output and the
// process exit.
//
// Defaults: every library loads (one reference-counted handle per name,
// compared without regard to case) but offers no function unless a test
// provides one; 4 processors; Windows NT 6.1 build 7601 "Service Pack 1";
// 8 GiB of memory with 4 GiB free; OEM code page 932; a processor with
// CPUID, vendor "VexloVirtual", name "Vexlo Virtual Processor", MMX, SSE and
// SSE2 and no time-stamp counter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/SystemPort.h"

namespace headless {

// Run-time libraries.
void SetLibrariesAvailable(bool available);               // all of them
void SetLibraryAvailable(const char* name, bool available);  // one of them
void ProvideProcedure(const char* library, const char* procedure, port::ProcAddress address);
struct LibraryCall {
  enum Kind { LOAD, FREE } kind;
  std::string name;
  bool succeeded;
};
const std::vector<LibraryCall>& LibraryCalls();
// References LoadLibraryA has given out and FreeLibrary not taken back.
int LibraryReferences(const char* name);

// System answers.
void SetProcessorCount(uint32_t count);
void SetVersionInfo(const port::OsVersionInfoA& info, int result);
void SetMemoryStatus(uint64_t totalPhysical, uint64_t availablePhysical, int exSucceeds);
void SetOemCodePage(uint32_t codePage);

// CPUID: whether the identification flag toggles, and the answer of each
// leaf (a leaf never set answers zeros).
void SetCpuidAvailable(bool available);
void SetCpuidLeaf(uint32_t leaf, uint32_t eax, uint32_t ebx, uint32_t ecx, uint32_t edx);
void ClearCpuidLeaves();
// What XGETBV(0) answers (0 unless set: no AVX state saved).
void SetXcr0(uint64_t value);
// Sets leaf 1's fourth register bit 4 (time-stamp counter) on or off.
void SetTimeStampCounterPresent(bool present);

// Everything handed to OutputDebugStringA since the last clear.
std::string DebuggerOutput();
void ClearDebuggerOutput();

// ExitProcess calls the handler (default: ends the process with the code);
// if the handler returns, the process ends anyway. A test can throw from it.
using ExitHandler = void (*)(uint32_t exitCode);
void SetExitHandler(ExitHandler handler);

// Back to the defaults, records emptied.
void ResetSystem();

}  // namespace headless
