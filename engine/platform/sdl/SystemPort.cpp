// The system port on Linux. There are no Windows libraries to bind, so
// LoadLibraryA reports every library as not available and the engine's
// features that need one stay off. System answers come from the host.
//
// Debugger output: Linux has no debugger channel, so the texts go to stderr,
// but only when stderr is not a terminal. A player who starts the game from
// a terminal sees nothing; a developer gets the texts by redirecting stderr
// (`honomikasa 2>debug.txt`), and a desktop launcher's session log keeps
// them. The choice needs no environment variable or setting.
//
// The processor instructions are in engine/platform/x86/.
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "engine/platform/SystemPort.h"

namespace {

// The program's own module, as GetModuleHandleA(null) reports it.
char programModule;

constexpr uint32_t SHIFT_JIS_CODE_PAGE = 932;

// Asked at every text: stderr may be redirected while the program runs, and
// debugger texts are few.
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

uint64_t PagesToBytes(long pages) {
  const long pageSize = sysconf(_SC_PAGESIZE);
  return pages > 0 && pageSize > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize) : 0;
}

}  // namespace

namespace port {

ModuleHandle LoadLibraryA(const char*) { return nullptr; }

ModuleHandle GetModuleHandleA(const char* name) { return name == nullptr ? &programModule : nullptr; }

ProcAddress GetProcAddress(ModuleHandle, const char*) { return nullptr; }

int FreeLibrary(ModuleHandle) { return 0; }

void GetSystemInfo(SystemInfo* info) {
  if (info == nullptr) return;
  *info = SystemInfo{};
  const long processors = sysconf(_SC_NPROCESSORS_ONLN);
  const long pageSize = sysconf(_SC_PAGESIZE);
  info->wProcessorArchitecture = 9;  // AMD64
  info->dwPageSize = pageSize > 0 ? static_cast<uint32_t>(pageSize) : 4096;
  info->dwNumberOfProcessors = processors > 0 ? static_cast<uint32_t>(processors) : 1;
  info->dwProcessorType = 8664;
  info->dwAllocationGranularity = info->dwPageSize;
}

int GetVersionExA(OsVersionInfoA* info) {
  if (info == nullptr) return 0;
  const uint32_t size = info->dwOSVersionInfoSize;
  *info = OsVersionInfoA{};
  info->dwOSVersionInfoSize = size;
  utsname host{};
  if (uname(&host) == 0) {
    std::snprintf(info->szCSDVersion, sizeof(info->szCSDVersion), "%.40s %.80s", host.sysname, host.release);
  }
  return 0;
}

int GlobalMemoryStatusEx(MemoryStatusEx* status) {
  if (status == nullptr || status->dwLength != MEMORYSTATUSEX_SIZE) return 0;
  const uint64_t total = PagesToBytes(sysconf(_SC_PHYS_PAGES));
  const uint64_t available = PagesToBytes(sysconf(_SC_AVPHYS_PAGES));
  *status = MemoryStatusEx{MEMORYSTATUSEX_SIZE, 0, total, available, total, available, 0, 0, 0};
  if (total != 0) status->dwMemoryLoad = static_cast<uint32_t>(100 - available * 100 / total);
  return total != 0 ? 1 : 0;
}

void GlobalMemoryStatus(MemoryStatus* status) {
  if (status == nullptr) return;
  MemoryStatusEx wide{MEMORYSTATUSEX_SIZE};
  GlobalMemoryStatusEx(&wide);
  *status = MemoryStatus{sizeof(MemoryStatus), wide.dwMemoryLoad, wide.ullTotalPhys, wide.ullAvailPhys,
                         wide.ullTotalPageFile, wide.ullAvailPageFile, 0, 0};
}

// The engine's texts are code page 932 on every build.
uint32_t GetOEMCP() { return SHIFT_JIS_CODE_PAGE; }

void OutputDebugStringA(const char* text) {
  if (text == nullptr || StderrIsTerminal()) return;
  size_t left = std::strlen(text);
  while (left > 0) {
    const ssize_t written = write(STDERR_FILENO, text, left);
    if (written <= 0) return;
    text += written;
    left -= static_cast<size_t>(written);
  }
}

void ExitProcess(uint32_t exitCode) {
  std::fflush(nullptr);
  _exit(static_cast<int>(exitCode));
}

}  // namespace port
