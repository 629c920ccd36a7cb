// System services, as the engine logic reaches them: kernel32's run-time
// library loading, system, version and memory information, debugger output
// and process exit, and the processor's identification and time-stamp
// instructions. Names and argument values are the platform's own; the
// records are declared here portably with the platform's layouts.
//
// The win32 adapter forwards to the real calls. The sdl adapter (Linux)
// reports run-time libraries as not available, answers the system questions
// from the host and sends debugger output to stderr only when stderr is not
// a terminal. The headless adapter answers from a script and records what
// was asked (engine/platform/headless/HeadlessSystem.h).
//
// An adapter includes this header before <windows.h>, whose macros carry
// the names of some constants below.
#pragma once

#include <cstddef>
#include <cstdint>

// The calling convention of the platform's functions, for pointers that
// GetProcAddress hands out. Only 32-bit Windows tells them apart.
#if defined(_WIN32) && !defined(_WIN64)
#define PORT_WINAPI __stdcall
#else
#define PORT_WINAPI
#endif

namespace port {

using ModuleHandle = void*;        // HMODULE (the same as HINSTANCE)
using ProcAddress = void (*)();    // FARPROC: cast to the function's own type

// Loads the library or takes another reference to it; null when it cannot
// be loaded. name is code page 932.
ModuleHandle LoadLibraryA(const char* name);
// The module if it is already loaded, else null. A null name gives the
// program's own module.
ModuleHandle GetModuleHandleA(const char* name);
// The function's address, or null when the module has no such function.
ProcAddress GetProcAddress(ModuleHandle module, const char* name);
// Drops one reference; non-zero on success.
int FreeLibrary(ModuleHandle module);

// SYSTEM_INFO.
struct SystemInfo {
  uint16_t wProcessorArchitecture;
  uint16_t wReserved;
  uint32_t dwPageSize;
  void* lpMinimumApplicationAddress;
  void* lpMaximumApplicationAddress;
  uintptr_t dwActiveProcessorMask;
  uint32_t dwNumberOfProcessors;
  uint32_t dwProcessorType;
  uint32_t dwAllocationGranularity;
  uint16_t wProcessorLevel;
  uint16_t wProcessorRevision;
};
void GetSystemInfo(SystemInfo* info);

// OSVERSIONINFOA: 148 bytes; dwOSVersionInfoSize must hold that size.
constexpr uint32_t OSVERSIONINFOA_SIZE = 148;
constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;
struct OsVersionInfoA {
  uint32_t dwOSVersionInfoSize;
  uint32_t dwMajorVersion;
  uint32_t dwMinorVersion;
  uint32_t dwBuildNumber;
  uint32_t dwPlatformId;
  char szCSDVersion[128];  // the service-pack text
};
static_assert(sizeof(OsVersionInfoA) == OSVERSIONINFOA_SIZE, "the platform's layout");
// Non-zero on success. On a host that is not Windows it fails, leaving the
// numbers 0, with a description of the host in szCSDVersion.
int GetVersionExA(OsVersionInfoA* info);

// MEMORYSTATUSEX: 64 bytes; dwLength must hold that size.
constexpr uint32_t MEMORYSTATUSEX_SIZE = 64;
struct MemoryStatusEx {
  uint32_t dwLength;
  uint32_t dwMemoryLoad;
  uint64_t ullTotalPhys;
  uint64_t ullAvailPhys;
  uint64_t ullTotalPageFile;
  uint64_t ullAvailPageFile;
  uint64_t ullTotalVirtual;
  uint64_t ullAvailVirtual;
  uint64_t ullAvailExtendedVirtual;
};
static_assert(sizeof(MemoryStatusEx) == MEMORYSTATUSEX_SIZE, "the platform's layout");
// Non-zero on success.
int GlobalMemoryStatusEx(MemoryStatusEx* status);
// The type of the pointer bound from "Kernel32.dll" by name.
using GlobalMemoryStatusExProc = int(PORT_WINAPI*)(MemoryStatusEx*);

// MEMORYSTATUS: the older call, with sizes of the pointer's width.
struct MemoryStatus {
  uint32_t dwLength;
  uint32_t dwMemoryLoad;
  size_t dwTotalPhys;
  size_t dwAvailPhys;
  size_t dwTotalPageFile;
  size_t dwAvailPageFile;
  size_t dwTotalVirtual;
  size_t dwAvailVirtual;
};
void GlobalMemoryStatus(MemoryStatus* status);

// The system's OEM code page (932 on a Japanese system).
uint32_t GetOEMCP();

// Hands text to the debugger (code page 932).
void OutputDebugStringA(const char* text);

// Ends the process with the code (ExitProcess(-1) passes 0xFFFFFFFF).
[[noreturn]] void ExitProcess(uint32_t exitCode);

// Processor instructions. CpuidAvailable: 1 when the identification bit
// (bit 21) of the flags register can be toggled, so CPUID exists.
int CpuidAvailable();
// CPUID with the leaf in the first register and 0 in the third; the four
// result registers in the order eax, ebx, ecx, edx.
void Cpuid(uint32_t leaf, uint32_t registers[4]);
// RDTSC: the time-stamp counter (0 where the processor has none).
uint64_t ReadTimeStampCounter();
// XGETBV: the extended control register of the index (0: the register
// states the system saves on a task switch; bits 1 and 2 both set mean the
// 256-bit AVX registers survive). Only called when CPUID reports OSXSAVE.
uint64_t Xgetbv(uint32_t index);

}  // namespace port
