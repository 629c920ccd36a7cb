#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "engine/platform/headless/HeadlessClock.h"
#include "engine/platform/headless/HeadlessSystem.h"

namespace {

constexpr uint32_t TSC_BIT = 1u << 4;
constexpr uint32_t MMX_SSE_SSE2_BITS = (1u << 23) | (1u << 25) | (1u << 26);
constexpr uintptr_t FIRST_LIBRARY_HANDLE = 0x7E000000;
constexpr uintptr_t LIBRARY_HANDLE_STRIDE = 0x10000;
// The program's own module, as GetModuleHandleA(null) reports it.
char programModule;

std::string Folded(const char* name) {
  std::string folded = name != nullptr ? name : "";
  std::transform(folded.begin(), folded.end(), folded.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return folded;
}

uint32_t Word(const char* four) {
  uint32_t value = 0;
  std::memcpy(&value, four, 4);
  return value;
}

struct Library {
  bool available = true;
  int references = 0;
  uintptr_t handle = 0;
  std::map<std::string, port::ProcAddress> procedures;
};

struct SystemScript {
  bool librariesAvailable = true;
  std::map<std::string, Library> libraries;  // by folded name
  std::vector<headless::LibraryCall> libraryCalls;
  uintptr_t nextHandle = FIRST_LIBRARY_HANDLE;

  uint32_t processorCount = 4;
  port::OsVersionInfoA version{};
  int versionResult = 1;
  uint64_t totalPhysical = 8ull << 30;
  uint64_t availablePhysical = 4ull << 30;
  int memoryExSucceeds = 1;
  uint32_t oemCodePage = 932;

  bool cpuidAvailable = true;
  std::map<uint32_t, std::vector<uint32_t>> cpuidLeaves;
  uint64_t xcr0 = 0;

  std::string debuggerOutput;
  headless::ExitHandler exitHandler = nullptr;

  SystemScript() {
    version = port::OsVersionInfoA{port::OSVERSIONINFOA_SIZE, 6, 1, 7601, port::VER_PLATFORM_WIN32_NT, {}};
    std::strcpy(version.szCSDVersion, "Service Pack 1");
    SetDefaultProcessor();
  }

  void SetDefaultProcessor() {
    cpuidLeaves.clear();
    cpuidLeaves[0] = {1, Word("Vexl"), Word("tual"), Word("oVir")};
    cpuidLeaves[1] = {0, 0, 0, MMX_SSE_SSE2_BITS};
    cpuidLeaves[0x80000000u] = {0x80000004u, 0, 0, 0};
    char name[48] = "Vexlo Virtual Processor";
    for (uint32_t leaf = 0; leaf < 3; ++leaf) {
      const char* piece = name + 16 * leaf;
      cpuidLeaves[0x80000002u + leaf] = {Word(piece), Word(piece + 4), Word(piece + 8), Word(piece + 12)};
    }
  }

  Library& Find(const char* name) { return libraries[Folded(name)]; }

  Library* FindByHandle(port::ModuleHandle module) {
    for (auto& entry : libraries)
      if (entry.second.handle != 0 && reinterpret_cast<port::ModuleHandle>(entry.second.handle) == module)
        return &entry.second;
    return nullptr;
  }
  const std::string* NameOf(const Library* library) {
    for (auto& entry : libraries)
      if (&entry.second == library) return &entry.first;
    return nullptr;
  }
};

std::mutex scriptLock;

SystemScript& Script() {
  static SystemScript script;
  return script;
}

}  // namespace

namespace headless {

void SetLibrariesAvailable(bool available) {
  std::lock_guard<std::mutex> hold(scriptLock);
  Script().librariesAvailable = available;
  for (auto& entry : Script().libraries) entry.second.available = available;
}

void SetLibraryAvailable(const char* name, bool available) {
  std::lock_guard<std::mutex> hold(scriptLock);
  Script().Find(name).available = available;
}

void ProvideProcedure(const char* library, const char* procedure, port::ProcAddress address) {
  std::lock_guard<std::mutex> hold(scriptLock);
  Script().Find(library).procedures[procedure] = address;
}

const std::vector<LibraryCall>& LibraryCalls() { return Script().libraryCalls; }

int LibraryReferences(const char* name) {
  std::lock_guard<std::mutex> hold(scriptLock);
  auto found = Script().libraries.find(Folded(name));
  return found == Script().libraries.end() ? 0 : found->second.references;
}

void SetProcessorCount(uint32_t count) { Script().processorCount = count; }
void SetVersionInfo(const port::OsVersionInfoA& info, int result) {
  Script().version = info;
  Script().versionResult = result;
}
void SetMemoryStatus(uint64_t totalPhysical, uint64_t availablePhysical, int exSucceeds) {
  Script().totalPhysical = totalPhysical;
  Script().availablePhysical = availablePhysical;
  Script().memoryExSucceeds = exSucceeds;
}
void SetOemCodePage(uint32_t codePage) { Script().oemCodePage = codePage; }

void SetCpuidAvailable(bool available) { Script().cpuidAvailable = available; }
void SetCpuidLeaf(uint32_t leaf, uint32_t eax, uint32_t ebx, uint32_t ecx, uint32_t edx) {
  Script().cpuidLeaves[leaf] = {eax, ebx, ecx, edx};
}
void ClearCpuidLeaves() { Script().cpuidLeaves.clear(); }
void SetXcr0(uint64_t value) { Script().xcr0 = value; }
void SetTimeStampCounterPresent(bool present) {
  std::vector<uint32_t>& leaf1 = Script().cpuidLeaves[1];
  leaf1.resize(4, 0);
  leaf1[3] = present ? (leaf1[3] | TSC_BIT) : (leaf1[3] & ~TSC_BIT);
}

std::string DebuggerOutput() {
  std::lock_guard<std::mutex> hold(scriptLock);
  return Script().debuggerOutput;
}
void ClearDebuggerOutput() {
  std::lock_guard<std::mutex> hold(scriptLock);
  Script().debuggerOutput.clear();
}

void SetExitHandler(ExitHandler handler) { Script().exitHandler = handler; }

void ResetSystem() {
  std::lock_guard<std::mutex> hold(scriptLock);
  Script() = SystemScript{};
}

}  // namespace headless

namespace port {

ModuleHandle LoadLibraryA(const char* name) {
  std::lock_guard<std::mutex> hold(scriptLock);
  SystemScript& script = Script();
  const bool known = script.libraries.count(Folded(name)) != 0;
  Library& library = script.Find(name);
  if (!known) library.available = script.librariesAvailable;
  const bool loads = name != nullptr && library.available;
  script.libraryCalls.push_back({headless::LibraryCall::LOAD, name != nullptr ? name : "", loads});
  if (!loads) return nullptr;
  if (library.handle == 0) {
    library.handle = script.nextHandle;
    script.nextHandle += LIBRARY_HANDLE_STRIDE;
  }
  library.references += 1;
  return reinterpret_cast<ModuleHandle>(library.handle);
}

ModuleHandle GetModuleHandleA(const char* name) {
  if (name == nullptr) return &programModule;
  std::lock_guard<std::mutex> hold(scriptLock);
  auto found = Script().libraries.find(Folded(name));
  if (found == Script().libraries.end() || found->second.references == 0) return nullptr;
  return reinterpret_cast<ModuleHandle>(found->second.handle);
}

ProcAddress GetProcAddress(ModuleHandle module, const char* name) {
  std::lock_guard<std::mutex> hold(scriptLock);
  Library* library = Script().FindByHandle(module);
  if (library == nullptr || library->references == 0 || name == nullptr) return nullptr;
  auto found = library->procedures.find(name);
  return found == library->procedures.end() ? nullptr : found->second;
}

int FreeLibrary(ModuleHandle module) {
  std::lock_guard<std::mutex> hold(scriptLock);
  SystemScript& script = Script();
  Library* library = script.FindByHandle(module);
  const bool frees = library != nullptr && library->references > 0;
  const std::string* name = library != nullptr ? script.NameOf(library) : nullptr;
  script.libraryCalls.push_back({headless::LibraryCall::FREE, name != nullptr ? *name : "", frees});
  if (!frees) return 0;
  library->references -= 1;
  return 1;
}

void GetSystemInfo(SystemInfo* info) {
  if (info == nullptr) return;
  *info = SystemInfo{};
  info->wProcessorArchitecture = 9;  // AMD64
  info->dwPageSize = 4096;
  info->dwNumberOfProcessors = Script().processorCount;
  info->dwActiveProcessorMask =
      Script().processorCount >= 8 * sizeof(uintptr_t) ? ~uintptr_t{0} : (uintptr_t{1} << Script().processorCount) - 1;
  info->dwProcessorType = 8664;
  info->dwAllocationGranularity = 65536;
}

int GetVersionExA(OsVersionInfoA* info) {
  if (info == nullptr || info->dwOSVersionInfoSize != OSVERSIONINFOA_SIZE) return 0;
  *info = Script().version;
  info->dwOSVersionInfoSize = OSVERSIONINFOA_SIZE;
  return Script().versionResult;
}

int GlobalMemoryStatusEx(MemoryStatusEx* status) {
  if (status == nullptr || status->dwLength != MEMORYSTATUSEX_SIZE || !Script().memoryExSucceeds) return 0;
  *status = MemoryStatusEx{MEMORYSTATUSEX_SIZE, 50, Script().totalPhysical, Script().availablePhysical,
                           Script().totalPhysical * 2, Script().availablePhysical * 2,
                           128ull << 40, 127ull << 40, 0};
  return 1;
}

void GlobalMemoryStatus(MemoryStatus* status) {
  if (status == nullptr) return;
  *status = MemoryStatus{sizeof(MemoryStatus), 50, static_cast<size_t>(Script().totalPhysical),
                         static_cast<size_t>(Script().availablePhysical),
                         static_cast<size_t>(Script().totalPhysical * 2),
                         static_cast<size_t>(Script().availablePhysical * 2), 0, 0};
}

uint32_t GetOEMCP() { return Script().oemCodePage; }

void OutputDebugStringA(const char* text) {
  if (text == nullptr) return;
  std::lock_guard<std::mutex> hold(scriptLock);
  Script().debuggerOutput += text;
}

void ExitProcess(uint32_t exitCode) {
  if (Script().exitHandler != nullptr) Script().exitHandler(exitCode);
  std::_Exit(static_cast<int>(exitCode));
}

int CpuidAvailable() { return Script().cpuidAvailable ? 1 : 0; }

void Cpuid(uint32_t leaf, uint32_t registers[4]) {
  auto found = Script().cpuidLeaves.find(leaf);
  for (int i = 0; i < 4; ++i) {
    registers[i] = found != Script().cpuidLeaves.end() && found->second.size() > size_t(i) ? found->second[i] : 0;
  }
}

uint64_t ReadTimeStampCounter() { return headless::TimeStampCounterNow(); }

uint64_t Xgetbv(uint32_t index) { return index == 0 ? Script().xcr0 : 0; }

}  // namespace port
