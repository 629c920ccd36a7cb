// Files and directories, as the engine logic reaches them: kernel32's file
// handles, directory enumeration, current directory and file times.
//
// Names, argument orders and values are the platform's own, so the logic
// reads like a Win32 program and a test can check the exact values passed.
// Paths are code page 932 byte strings in the Windows form ("C:\DIR\FILE",
// either separator). On Linux the host adapter shows the file system in that
// form: drive Z: is "/", both separators are accepted and each component is
// matched without regard to case.
//
// The win32 adapter includes this header before <windows.h>, whose macros
// carry the same names as the constants below.
#pragma once

#include <cstdint>

namespace port {

// A file or find handle (HANDLE). INVALID_HANDLE_VALUE marks a failure.
using HostHandle = void*;
inline HostHandle const INVALID_HANDLE_VALUE = reinterpret_cast<HostHandle>(~uintptr_t(0));

constexpr uint32_t MAX_PATH = 260;

// CreateFileA access rights.
constexpr uint32_t GENERIC_READ = 0x80000000u;
constexpr uint32_t GENERIC_WRITE = 0x40000000u;
// CreateFileA sharing modes.
constexpr uint32_t FILE_SHARE_READ = 0x00000001u;
constexpr uint32_t FILE_SHARE_WRITE = 0x00000002u;
// CreateFileA creation dispositions.
constexpr uint32_t CREATE_NEW = 1;
constexpr uint32_t CREATE_ALWAYS = 2;
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t OPEN_ALWAYS = 4;
constexpr uint32_t TRUNCATE_EXISTING = 5;
// File attribute bits.
constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x00000001u;
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x00000010u;
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x00000080u;
// SetFilePointer move methods.
constexpr uint32_t FILE_BEGIN = 0;
constexpr uint32_t FILE_CURRENT = 1;
constexpr uint32_t FILE_END = 2;
constexpr uint32_t INVALID_SET_FILE_POINTER = 0xFFFFFFFFu;
constexpr uint32_t INVALID_FILE_SIZE = 0xFFFFFFFFu;

// FILETIME: 100-nanosecond intervals since 1601-01-01 00:00 UTC.
struct FileTime {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

// SYSTEMTIME.
struct SystemTime {
  uint16_t wYear;
  uint16_t wMonth;
  uint16_t wDayOfWeek;
  uint16_t wDay;
  uint16_t wHour;
  uint16_t wMinute;
  uint16_t wSecond;
  uint16_t wMilliseconds;
};

// WIN32_FIND_DATAA; cFileName is code page 932.
struct FindData {
  uint32_t dwFileAttributes;
  FileTime ftCreationTime;
  FileTime ftLastAccessTime;
  FileTime ftLastWriteTime;
  uint32_t nFileSizeHigh;
  uint32_t nFileSizeLow;
  char cFileName[MAX_PATH];
  char cAlternateFileName[14];
};

// Opens or creates a file. security and templateFile are always null here.
// INVALID_HANDLE_VALUE on failure.
HostHandle CreateFileA(const char* path, uint32_t desiredAccess, uint32_t shareMode, void* security,
                       uint32_t creationDisposition, uint32_t flagsAndAttributes,
                       HostHandle templateFile);
// Reads up to toRead bytes at the file pointer; non-zero on success (also at
// the end of the file, with *bytesRead 0). overlapped is always null.
int ReadFile(HostHandle file, void* buffer, uint32_t toRead, uint32_t* bytesRead, void* overlapped);
// Writes at the file pointer; non-zero on success.
int WriteFile(HostHandle file, const void* buffer, uint32_t toWrite, uint32_t* bytesWritten,
              void* overlapped);
// Moves the file pointer; the new low 32 bits, or INVALID_SET_FILE_POINTER.
// distanceHigh may be null (32-bit signed distance).
uint32_t SetFilePointer(HostHandle file, int32_t distance, int32_t* distanceHigh, uint32_t moveMethod);
// The size's low 32 bits (high bits through sizeHigh when not null), or
// INVALID_FILE_SIZE.
uint32_t GetFileSize(HostHandle file, uint32_t* sizeHigh);
// Closes a file handle; non-zero on success.
int CloseHandle(HostHandle file);
// Deletes a file; non-zero on success.
int DeleteFileA(const char* path);

// Starts listing the entries matching pattern (wildcards * and ? in the last
// component); fills data with the first. INVALID_HANDLE_VALUE when nothing
// matches or the directory does not exist.
HostHandle FindFirstFileA(const char* pattern, FindData* data);
// The next matching entry; 0 when there is none.
int FindNextFileA(HostHandle find, FindData* data);
// Ends a listing; non-zero on success.
int FindClose(HostHandle find);

// Copies the current directory (no trailing separator except at a root) into
// buffer and returns its length; when bufferLength is too small, returns the
// length needed including the terminator and leaves buffer alone. 0 on failure.
uint32_t GetCurrentDirectoryA(uint32_t bufferLength, char* buffer);
// Non-zero on success.
int SetCurrentDirectoryA(const char* path);

// Converts a UTC file time to local time; non-zero on success.
int FileTimeToLocalFileTime(const FileTime* fileTime, FileTime* localFileTime);
// Splits a file time into calendar fields; non-zero on success.
int FileTimeToSystemTime(const FileTime* fileTime, SystemTime* systemTime);

}  // namespace port
