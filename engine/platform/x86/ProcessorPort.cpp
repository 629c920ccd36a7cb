// The processor instructions of the system port on the x86-64 adapters
// that run on the real processor (sdl and win32): compiler intrinsics
// only, so one file serves every host system.
#include <cpuid.h>
#include <x86intrin.h>

#include "engine/platform/SystemPort.h"

namespace port {

// __get_cpuid_max toggles the identification flag where that can fail (a
// 32-bit build) and answers 0 without CPUID; on x86-64 CPUID always exists.
int CpuidAvailable() { return __get_cpuid_max(0, nullptr) != 0 ? 1 : 0; }

void Cpuid(uint32_t leaf, uint32_t registers[4]) {
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid_count(leaf, 0, eax, ebx, ecx, edx);
  registers[0] = eax;
  registers[1] = ebx;
  registers[2] = ecx;
  registers[3] = edx;
}

uint64_t ReadTimeStampCounter() { return __rdtsc(); }

// The instruction itself rather than _xgetbv, which needs the whole file
// built for processors with XSAVE.
uint64_t Xgetbv(uint32_t index) {
  uint32_t eax = 0, edx = 0;
  __asm__ volatile("xgetbv" : "=a"(eax), "=d"(edx) : "c"(index));
  return static_cast<uint64_t>(edx) << 32 | eax;
}

}  // namespace port
