// The system port on Windows: kernel32's library loading, system, version
// and memory information, debugger output and exit (the processor's
// instructions are in engine/platform/x86/). Texts go to the platform as UTF-16 converted from code page
// 932, so they read right whatever the system's ANSI code page.
//
// The port header comes before <windows.h>, whose macros carry the names of
// the port's constants.
#include "engine/platform/SystemPort.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr UINT CODE_PAGE = 932;

// The code page 932 text as UTF-16; empty (just the terminator) when it
// does not convert.
std::vector<wchar_t> Wide(const char* text) {
  std::vector<wchar_t> wide(1, L'\0');
  const int length = MultiByteToWideChar(CODE_PAGE, 0, text, -1, nullptr, 0);
  if (length <= 0) return wide;
  wide.assign(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(CODE_PAGE, 0, text, -1, wide.data(), length) != length) wide.assign(1, L'\0');
  return wide;
}

}  // namespace

namespace port {

static_assert(sizeof(OSVERSIONINFOA) == OSVERSIONINFOA_SIZE, "OSVERSIONINFOA is 148 bytes");
static_assert(sizeof(MEMORYSTATUSEX) == MEMORYSTATUSEX_SIZE, "MEMORYSTATUSEX is 64 bytes");
static_assert(sizeof(MEMORYSTATUS) == sizeof(MemoryStatus), "MEMORYSTATUS has pointer-wide sizes");

ModuleHandle LoadLibraryA(const char* name) {
  if (name == nullptr) return nullptr;
  return ::LoadLibraryW(Wide(name).data());
}

ModuleHandle GetModuleHandleA(const char* name) {
  if (name == nullptr) return ::GetModuleHandleW(nullptr);
  return ::GetModuleHandleW(Wide(name).data());
}

ProcAddress GetProcAddress(ModuleHandle module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<ProcAddress>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

int FreeLibrary(ModuleHandle module) {
  if (module == nullptr) return 0;
  return ::FreeLibrary(static_cast<HMODULE>(module)) ? 1 : 0;
}

void GetSystemInfo(SystemInfo* info) {
  if (info == nullptr) return;
  SYSTEM_INFO platform{};
  ::GetSystemInfo(&platform);
  info->wProcessorArchitecture = platform.wProcessorArchitecture;
  info->wReserved = platform.wReserved;
  info->dwPageSize = platform.dwPageSize;
  info->lpMinimumApplicationAddress = platform.lpMinimumApplicationAddress;
  info->lpMaximumApplicationAddress = platform.lpMaximumApplicationAddress;
  info->dwActiveProcessorMask = platform.dwActiveProcessorMask;
  info->dwNumberOfProcessors = platform.dwNumberOfProcessors;
  info->dwProcessorType = platform.dwProcessorType;
  info->dwAllocationGranularity = platform.dwAllocationGranularity;
  info->wProcessorLevel = platform.wProcessorLevel;
  info->wProcessorRevision = platform.wProcessorRevision;
}

int GetVersionExA(OsVersionInfoA* info) {
  if (info == nullptr) return 0;
  OSVERSIONINFOA platform{};
  platform.dwOSVersionInfoSize = info->dwOSVersionInfoSize;
  if (!::GetVersionExA(&platform)) return 0;
  info->dwMajorVersion = platform.dwMajorVersion;
  info->dwMinorVersion = platform.dwMinorVersion;
  info->dwBuildNumber = platform.dwBuildNumber;
  info->dwPlatformId = platform.dwPlatformId;
  std::memcpy(info->szCSDVersion, platform.szCSDVersion, sizeof info->szCSDVersion);
  info->szCSDVersion[sizeof info->szCSDVersion - 1] = '\0';
  return 1;
}

int GlobalMemoryStatusEx(MemoryStatusEx* status) {
  if (status == nullptr) return 0;
  MEMORYSTATUSEX platform{};
  platform.dwLength = status->dwLength;
  if (!::GlobalMemoryStatusEx(&platform)) return 0;
  *status = MemoryStatusEx{platform.dwLength,        platform.dwMemoryLoad,    platform.ullTotalPhys,
                           platform.ullAvailPhys,    platform.ullTotalPageFile, platform.ullAvailPageFile,
                           platform.ullTotalVirtual, platform.ullAvailVirtual,  platform.ullAvailExtendedVirtual};
  return 1;
}

void GlobalMemoryStatus(MemoryStatus* status) {
  if (status == nullptr) return;
  MEMORYSTATUS platform{};
  platform.dwLength = sizeof platform;
  ::GlobalMemoryStatus(&platform);
  *status = MemoryStatus{platform.dwLength,       platform.dwMemoryLoad,    platform.dwTotalPhys,
                         platform.dwAvailPhys,    platform.dwTotalPageFile, platform.dwAvailPageFile,
                         platform.dwTotalVirtual, platform.dwAvailVirtual};
}

uint32_t GetOEMCP() { return ::GetOEMCP(); }

void OutputDebugStringA(const char* text) {
  if (text == nullptr) return;
  ::OutputDebugStringW(Wide(text).data());
}

void ExitProcess(uint32_t exitCode) { ::ExitProcess(exitCode); }

}  // namespace port
