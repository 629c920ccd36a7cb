// The files port on Linux: file handles over POSIX descriptors, behind the
// Windows-style path view of FilesPathView. Sharing modes are not enforced
// (Linux has no mandatory sharing); everything else keeps the Win32
// contract the logic relies on.
#include "engine/platform/FilesPort.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#include "engine/platform/posix/FilesPathView.h"

// The fault sweeps link a copy of this port built with this switch, whose
// reads pass the file-read fault point; the programs' own build has none.
#if VEXLO_FAULT_POINTS
#include "engine/platform/faults/FaultPoints.h"
#endif

namespace port {
namespace {

struct PosixFile {
  int descriptor;
};

PosixFile* FileOf(HostHandle handle) {
  if (!handle || handle == INVALID_HANDLE_VALUE) return nullptr;
  return static_cast<PosixFile*>(handle);
}

int OpenFlagsFor(uint32_t desiredAccess, uint32_t creationDisposition, bool* valid) {
  *valid = true;
  int flags = O_CLOEXEC;
  bool reads = (desiredAccess & GENERIC_READ) != 0;
  bool writes = (desiredAccess & GENERIC_WRITE) != 0;
  flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
  switch (creationDisposition) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_EXISTING: return flags;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    default: *valid = false; return 0;
  }
}

}  // namespace

HostHandle CreateFileA(const char* path, uint32_t desiredAccess, uint32_t /*shareMode*/,
                       void* /*security*/, uint32_t creationDisposition,
                       uint32_t flagsAndAttributes, HostHandle /*templateFile*/) {
  bool valid = false;
  int flags = OpenFlagsFor(desiredAccess, creationDisposition, &valid);
  if (!valid) return INVALID_HANDLE_VALUE;
  bool mayCreate = (flags & O_CREAT) != 0;
  std::string hostPath;
  if (!filesview::HostPathOf(path, mayCreate, &hostPath)) return INVALID_HANDLE_VALUE;
  mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
  int descriptor = open(hostPath.c_str(), flags, mode);
  if (descriptor < 0) return INVALID_HANDLE_VALUE;
  struct stat info;
  // Windows refuses to open a directory as a file.
  if (fstat(descriptor, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(descriptor);
    return INVALID_HANDLE_VALUE;
  }
  return new PosixFile{descriptor};
}

int ReadFile(HostHandle file, void* buffer, uint32_t toRead, uint32_t* bytesRead,
             void* /*overlapped*/) {
  if (bytesRead) *bytesRead = 0;
  PosixFile* host = FileOf(file);
  if (!host || (!buffer && toRead > 0)) return 0;
#if VEXLO_FAULT_POINTS
  if (faults::Fails(faults::FILE_READ)) {
    if (faults::ReadFaultInForce() == faults::ReadFault::FAIL) return 0;
    toRead /= 2;
  }
#endif
  uint32_t done = 0;
  while (done < toRead) {
    ssize_t got = read(host->descriptor, static_cast<char*>(buffer) + done, toRead - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (bytesRead) *bytesRead = done;
      return 0;
    }
    if (got == 0) break;
    done += static_cast<uint32_t>(got);
  }
  if (bytesRead) *bytesRead = done;
  return 1;
}

int WriteFile(HostHandle file, const void* buffer, uint32_t toWrite, uint32_t* bytesWritten,
              void* /*overlapped*/) {
  if (bytesWritten) *bytesWritten = 0;
  PosixFile* host = FileOf(file);
  if (!host || (!buffer && toWrite > 0)) return 0;
  uint32_t done = 0;
  while (done < toWrite) {
    ssize_t put = write(host->descriptor, static_cast<const char*>(buffer) + done, toWrite - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      if (bytesWritten) *bytesWritten = done;
      return 0;
    }
    done += static_cast<uint32_t>(put);
  }
  if (bytesWritten) *bytesWritten = done;
  return 1;
}

uint32_t SetFilePointer(HostHandle file, int32_t distance, int32_t* distanceHigh,
                        uint32_t moveMethod) {
  PosixFile* host = FileOf(file);
  if (!host) return INVALID_SET_FILE_POINTER;
  int64_t offset = distance;
  if (distanceHigh)
    offset = static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*distanceHigh)) << 32) |
                                  static_cast<uint32_t>(distance));
  int whence = moveMethod == FILE_BEGIN ? SEEK_SET
               : moveMethod == FILE_CURRENT ? SEEK_CUR
               : moveMethod == FILE_END ? SEEK_END
                                        : -1;
  if (whence < 0) return INVALID_SET_FILE_POINTER;
  off_t current = lseek(host->descriptor, 0, SEEK_CUR);
  off_t end = whence == SEEK_END ? lseek(host->descriptor, 0, SEEK_END) : 0;
  if (current < 0 || end < 0) return INVALID_SET_FILE_POINTER;
  int64_t target = offset + (whence == SEEK_CUR ? current : whence == SEEK_END ? end : 0);
  // A negative position is an error; without a high part the position must
  // fit 32 bits, as on Windows.
  if (target < 0 || (!distanceHigh && target > 0xFFFFFFFELL)) {
    lseek(host->descriptor, current, SEEK_SET);
    return INVALID_SET_FILE_POINTER;
  }
  if (lseek(host->descriptor, static_cast<off_t>(target), SEEK_SET) < 0) return INVALID_SET_FILE_POINTER;
  if (distanceHigh) *distanceHigh = static_cast<int32_t>(static_cast<uint64_t>(target) >> 32);
  return static_cast<uint32_t>(target);
}

uint32_t GetFileSize(HostHandle file, uint32_t* sizeHigh) {
  PosixFile* host = FileOf(file);
  struct stat info;
  if (!host || fstat(host->descriptor, &info) != 0) return INVALID_FILE_SIZE;
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (sizeHigh) *sizeHigh = static_cast<uint32_t>(size >> 32);
  return static_cast<uint32_t>(size);
}

int CloseHandle(HostHandle file) {
  PosixFile* host = FileOf(file);
  if (!host) return 0;
  int result = close(host->descriptor);
  delete host;
  return result == 0 ? 1 : 0;
}

int DeleteFileA(const char* path) {
  std::string hostPath;
  if (!filesview::HostPathOf(path, false, &hostPath)) return 0;
  struct stat info;
  if (lstat(hostPath.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return 0;
  return unlink(hostPath.c_str()) == 0 ? 1 : 0;
}

uint32_t GetCurrentDirectoryA(uint32_t bufferLength, char* buffer) {
  char host[PATH_MAX];
  if (!getcwd(host, sizeof host)) return 0;
  std::string windowsPath;
  if (!filesview::WindowsPathOf(host, &windowsPath)) return 0;
  uint32_t length = static_cast<uint32_t>(windowsPath.size());
  if (!buffer || bufferLength <= length) return length + 1;
  std::memcpy(buffer, windowsPath.c_str(), length + 1);
  return length;
}

int SetCurrentDirectoryA(const char* path) {
  std::string hostPath;
  if (!filesview::HostPathOf(path, false, &hostPath)) return 0;
  return chdir(hostPath.c_str()) == 0 ? 1 : 0;
}

}  // namespace port
