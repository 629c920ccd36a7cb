#include "engine/core/SystemInfo.h"

#include <cstdio>
#include <cstring>

#include "engine/core/Time.h"
#include "engine/platform/SystemPort.h"
#include "engine/services/Log.h"

int windowsVersionCode = 0;
int processorCount = 0;
int cpuFeatureLevel = 0;
int cpuHasMmx = 0;
int cpuHasSse = 0;
int cpuHasSse2 = 0;
int cpuHasSse41 = 0;
int cpuHasAvx2 = 0;
int hasTimeStampCounter = 0;
int cpuMhz = 0;
int64_t cyclesPerSecond = 0;
char osDescription[OS_DESCRIPTION_SIZE];
char cpuName[CPU_NAME_SIZE];

namespace {

// Set for an NT version newer than the last row of the table.
bool windowsNtAfterTable = false;

constexpr const char* ENGINE_VERSION = "3.05";

struct VersionRow {
  uint32_t platform;
  int major;  // -1: any
  int minor;  // -1: any
  const char* suffix;
  int code;
};

// Platform id 1 is the Windows 95 family (told apart by the minor
// version), 2 the NT family (major and minor version).
constexpr VersionRow VERSION_TABLE[] = {
    {port::VER_PLATFORM_WIN32s, -1, -1, "3.1", 0},
    {port::VER_PLATFORM_WIN32_WINDOWS, -1, 0, "95", 1},
    {port::VER_PLATFORM_WIN32_WINDOWS, -1, 10, "98", 2},
    {port::VER_PLATFORM_WIN32_WINDOWS, -1, 90, "Me", 3},
    {port::VER_PLATFORM_WIN32_NT, 3, -1, "NT 3.51", 260},
    {port::VER_PLATFORM_WIN32_NT, 4, -1, "4.0", 261},
    {port::VER_PLATFORM_WIN32_NT, 5, 0, "2000", 262},
    {port::VER_PLATFORM_WIN32_NT, 5, 1, "XP", 263},
    {port::VER_PLATFORM_WIN32_NT, 6, 0, "Vista", 264},
    {port::VER_PLATFORM_WIN32_NT, 6, 1, "7", 265},
};

const VersionRow* FindVersion(const port::OsVersionInfoA& info) {
  for (const VersionRow& row : VERSION_TABLE) {
    if (row.platform != info.dwPlatformId) continue;
    if (row.major != -1 && static_cast<uint32_t>(row.major) != info.dwMajorVersion) continue;
    if (row.minor != -1 && static_cast<uint32_t>(row.minor) != info.dwMinorVersion) continue;
    return &row;
  }
  return nullptr;
}

void DescribeOperatingSystem() {
  windowsNtAfterTable = false;
  WriteLog("ＯＳ  ");
  port::OsVersionInfoA info{};
  info.dwOSVersionInfoSize = port::OSVERSIONINFOA_SIZE;
  if (!port::GetVersionExA(&info)) {
    // Not Windows: the host describes itself in the service-pack text.
    info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
    std::snprintf(osDescription, sizeof osDescription, "%s", info.szCSDVersion);
    LogPrintf("%s", osDescription);
    return;
  }
  info.szCSDVersion[sizeof info.szCSDVersion - 1] = '\0';
  char name[32] = "Windows";
  if (const VersionRow* row = FindVersion(info)) {
    std::strcat(name, row->suffix);
    if (row->code == 1 && info.szCSDVersion[0] == 'C') std::strcat(name, "OSR2");
    if (row->code == 2 && info.szCSDVersion[0] == 'A') std::strcat(name, "SE");
    windowsVersionCode = row->code;
  }
  windowsNtAfterTable = info.dwPlatformId == port::VER_PLATFORM_WIN32_NT &&
                        (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2));
  std::snprintf(osDescription, sizeof osDescription, "%s ( Build %d %s )", name,
                static_cast<int>(info.dwBuildNumber), info.szCSDVersion);
  LogPrintf("%s", osDescription);
}

}  // namespace

bool WindowsVersionAtLeast(int code) {
  if (windowsNtAfterTable) return true;
  return windowsVersionCode >= code;
}

namespace {

// SSE4.1 is CPUID leaf 1's ECX bit 19. AVX2 is leaf 7's EBX bit 5, usable
// only when the system saves the YMM registers: OSXSAVE (ECX bit 27) and
// AVX (bit 28) set, and XCR0 holding the SSE and AVX states (bits 1, 2).
void IdentifyVectorExtensions(uint32_t maxLeaf, uint32_t leaf1Ecx) {
  cpuHasSse41 = cpuHasSse2 && ((leaf1Ecx >> 19) & 1) != 0;
  cpuHasAvx2 = 0;
  const bool osSavesYmm = ((leaf1Ecx >> 27) & 1) != 0 && ((leaf1Ecx >> 28) & 1) != 0 &&
                          (port::Xgetbv(0) & 6) == 6;
  if (!cpuHasSse41 || !osSavesYmm || maxLeaf < 7) return;
  uint32_t r[4];
  port::Cpuid(7, r);
  cpuHasAvx2 = ((r[1] >> 5) & 1) != 0;
}

// CPUID: the feature level, the vendor's three 4-character pieces, the
// time-stamp counter flag and the 48-character name.
void IdentifyProcessor(char vendor[3][5]) {
  std::memset(vendor, 0, 3 * 5);
  cpuName[0] = '\0';
  cpuFeatureLevel = 0;
  cpuHasSse41 = cpuHasAvx2 = 0;
  hasTimeStampCounter = 0;
  if (!port::CpuidAvailable()) return;

  uint32_t r[4];
  port::Cpuid(0, r);
  const uint32_t maxLeaf = r[0];
  std::memcpy(vendor[0], &r[1], 4);
  std::memcpy(vendor[1], &r[3], 4);
  std::memcpy(vendor[2], &r[2], 4);

  port::Cpuid(1, r);
  const uint32_t features = r[3];
  const uint32_t moreFeatures = r[2];
  hasTimeStampCounter = (features >> 4) & 1;

  port::Cpuid(0x80000000u, r);
  if (r[0] >= 0x80000004u) {
    char name[49] = {};
    for (uint32_t leaf = 0; leaf < 3; ++leaf) {
      port::Cpuid(0x80000002u + leaf, r);
      std::memcpy(name + 16 * leaf, r, 16);
    }
    std::snprintf(cpuName, sizeof cpuName, "%s", name);
  }

  cpuFeatureLevel = 1;
  if ((features >> 23) & 1) {
    cpuFeatureLevel = 3;
    if ((features >> 25) & 1) {
      cpuFeatureLevel = 4;
      if ((features >> 26) & 1) cpuFeatureLevel = 5;
    }
  }
  cpuHasMmx = cpuFeatureLevel >= 3;
  cpuHasSse = cpuFeatureLevel >= 4;
  cpuHasSse2 = cpuFeatureLevel >= 5;
  IdentifyVectorExtensions(maxLeaf, moreFeatures);
}

void LogFeatureLevel() {
  switch (cpuFeatureLevel) {
    case 0: WriteLog("ＣＰＵＩＤ命令は使えません\n"); break;
    case 1: WriteLog("ＭＭＸは使えません\n"); break;
    default:
      WriteLog("ＭＭＸ命令を使用します\n");
      if (cpuFeatureLevel >= 4) WriteLog("ＳＳＥ命令が使用可能です\n");
      if (cpuFeatureLevel >= 5) WriteLog("ＳＳＥ２命令が使用可能です\n");
      break;
  }
}

}  // namespace

void LogSystemInfo() {
  WriteLog("システムの情報を出力します\n");
  LogIndentIn();

  char line[64];
  std::snprintf(line, sizeof line, "Ｖｅｘｌｏ Ver%s\n", ENGINE_VERSION);
  WriteLog(line);

  port::SystemInfo system{};
  port::GetSystemInfo(&system);
  processorCount = static_cast<int>(system.dwNumberOfProcessors);
  LogPrintf("論理プロセッサの数 : %d", processorCount);

  DescribeOperatingSystem();
  RequestTimerPeriod();

  char vendor[3][5];
  IdentifyProcessor(vendor);
  if (hasTimeStampCounter) MeasureTimeStampCounter();
  LogFeatureLevel();
  if (cpuFeatureLevel > 0) {
    WriteLog("ＣＰＵベンダ：");
    for (const char* piece : vendor) WriteLog(piece);
    WriteLog("\n");
    if (cpuName[0] != '\0') LogPrintf("ＣＰＵ名：%s", cpuName);
  }

  LogIndentOut();
}
