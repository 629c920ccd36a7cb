// The files port on Windows: the real kernel32 calls. Paths and names are
// code page 932 in the engine; they are converted to and from UTF-16
// explicitly and the wide-character functions are called, so that the
// engine's paths are right whatever the system's ANSI code page is.
//
// FilesPort.h comes before <windows.h>: windows.h defines macros with the
// names of the port's constants, so below only the platform's own names are
// used for them (INVALID_HANDLE_VALUE and MAX_PATH below are windows.h's,
// with the same values as the port's).
#include "engine/platform/FilesPort.h"

#include <windows.h>

#include <cstring>
#include <string>

static_assert(sizeof(port::FileTime) == sizeof(FILETIME), "FILETIME layout");
static_assert(sizeof(port::SystemTime) == sizeof(SYSTEMTIME), "SYSTEMTIME layout");

namespace port {
namespace {

constexpr UINT CODE_PAGE = 932;

bool WideOf(const char* text, std::wstring* wide) {
  if (!text) return false;
  if (!*text) {
    wide->clear();
    return true;
  }
  int length = MultiByteToWideChar(CODE_PAGE, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (length <= 0) return false;
  wide->assign(static_cast<size_t>(length), L'\0');
  if (MultiByteToWideChar(CODE_PAGE, MB_ERR_INVALID_CHARS, text, -1, wide->data(), length) != length)
    return false;
  wide->resize(static_cast<size_t>(length - 1));
  return true;
}

bool NarrowOf(const wchar_t* wide, std::string* text) {
  int length = WideCharToMultiByte(CODE_PAGE, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return false;
  text->assign(static_cast<size_t>(length), '\0');
  BOOL lossy = FALSE;
  if (WideCharToMultiByte(CODE_PAGE, 0, wide, -1, text->data(), length, nullptr, &lossy) != length)
    return false;
  text->resize(static_cast<size_t>(length - 1));
  return !lossy;
}

FileTime PortTime(const FILETIME& time) { return FileTime{time.dwLowDateTime, time.dwHighDateTime}; }

// A found entry in the port's record; false when its name has no code page
// 932 form (such a name could never be opened through the engine's paths).
bool PortFindData(const WIN32_FIND_DATAW& wide, FindData* data) {
  std::string name, alternate;
  if (!NarrowOf(wide.cFileName, &name) || name.size() >= MAX_PATH) return false;
  if (!NarrowOf(wide.cAlternateFileName, &alternate) || alternate.size() >= 14) alternate.clear();
  if (!data) return true;
  data->dwFileAttributes = wide.dwFileAttributes;
  data->ftCreationTime = PortTime(wide.ftCreationTime);
  data->ftLastAccessTime = PortTime(wide.ftLastAccessTime);
  data->ftLastWriteTime = PortTime(wide.ftLastWriteTime);
  data->nFileSizeHigh = wide.nFileSizeHigh;
  data->nFileSizeLow = wide.nFileSizeLow;
  std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
  std::memcpy(data->cAlternateFileName, alternate.c_str(), alternate.size() + 1);
  return true;
}

bool NextConvertible(HANDLE find, FindData* data) {
  WIN32_FIND_DATAW wide;
  while (FindNextFileW(find, &wide))
    if (PortFindData(wide, data)) return true;
  return false;
}

}  // namespace

HostHandle CreateFileA(const char* path, uint32_t desiredAccess, uint32_t shareMode, void* security,
                       uint32_t creationDisposition, uint32_t flagsAndAttributes,
                       HostHandle templateFile) {
  std::wstring wide;
  if (!WideOf(path, &wide)) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileW(wide.c_str(), desiredAccess, shareMode,
                            static_cast<LPSECURITY_ATTRIBUTES>(security), creationDisposition,
                            flagsAndAttributes, static_cast<HANDLE>(templateFile));
  return file == INVALID_HANDLE_VALUE ? INVALID_HANDLE_VALUE : static_cast<HostHandle>(file);
}

int ReadFile(HostHandle file, void* buffer, uint32_t toRead, uint32_t* bytesRead, void* overlapped) {
  DWORD done = 0;
  BOOL ok = ::ReadFile(static_cast<HANDLE>(file), buffer, toRead, &done,
                       static_cast<LPOVERLAPPED>(overlapped));
  if (bytesRead) *bytesRead = done;
  return ok ? 1 : 0;
}

int WriteFile(HostHandle file, const void* buffer, uint32_t toWrite, uint32_t* bytesWritten,
              void* overlapped) {
  DWORD done = 0;
  BOOL ok = ::WriteFile(static_cast<HANDLE>(file), buffer, toWrite, &done,
                        static_cast<LPOVERLAPPED>(overlapped));
  if (bytesWritten) *bytesWritten = done;
  return ok ? 1 : 0;
}

uint32_t SetFilePointer(HostHandle file, int32_t distance, int32_t* distanceHigh, uint32_t moveMethod) {
  LONG high = distanceHigh ? *distanceHigh : 0;
  DWORD low = ::SetFilePointer(static_cast<HANDLE>(file), distance, distanceHigh ? &high : nullptr,
                               moveMethod);
  if (distanceHigh) *distanceHigh = high;
  return low;
}

uint32_t GetFileSize(HostHandle file, uint32_t* sizeHigh) {
  DWORD high = 0;
  DWORD low = ::GetFileSize(static_cast<HANDLE>(file), &high);
  if (sizeHigh) *sizeHigh = high;
  return low;
}

int CloseHandle(HostHandle file) { return ::CloseHandle(static_cast<HANDLE>(file)) ? 1 : 0; }

int DeleteFileA(const char* path) {
  std::wstring wide;
  return WideOf(path, &wide) && DeleteFileW(wide.c_str()) ? 1 : 0;
}

HostHandle FindFirstFileA(const char* pattern, FindData* data) {
  std::wstring wide;
  if (!WideOf(pattern, &wide)) return INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(wide.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  if (!PortFindData(found, data) && !NextConvertible(find, data)) {
    ::FindClose(find);
    return INVALID_HANDLE_VALUE;
  }
  return static_cast<HostHandle>(find);
}

int FindNextFileA(HostHandle find, FindData* data) {
  return NextConvertible(static_cast<HANDLE>(find), data) ? 1 : 0;
}

int FindClose(HostHandle find) { return ::FindClose(static_cast<HANDLE>(find)) ? 1 : 0; }

uint32_t GetCurrentDirectoryA(uint32_t bufferLength, char* buffer) {
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return 0;
  std::wstring wide(needed, L'\0');
  DWORD length = GetCurrentDirectoryW(needed, wide.data());
  if (length == 0 || length >= needed) return 0;
  wide.resize(length);
  std::string text;
  if (!NarrowOf(wide.c_str(), &text)) return 0;
  uint32_t size = static_cast<uint32_t>(text.size());
  if (!buffer || bufferLength <= size) return size + 1;
  std::memcpy(buffer, text.c_str(), size + 1);
  return size;
}

int SetCurrentDirectoryA(const char* path) {
  std::wstring wide;
  return WideOf(path, &wide) && SetCurrentDirectoryW(wide.c_str()) ? 1 : 0;
}

int FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime) {
  return ::FileTimeToLocalFileTime(reinterpret_cast<const FILETIME*>(fileTime),
                                   reinterpret_cast<FILETIME*>(localFileTime))
             ? 1
             : 0;
}

int FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime) {
  return ::FileTimeToSystemTime(reinterpret_cast<const FILETIME*>(fileTime),
                                reinterpret_cast<SYSTEMTIME*>(systemTime))
             ? 1
             : 0;
}

}  // namespace port
