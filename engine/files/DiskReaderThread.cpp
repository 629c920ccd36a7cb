// The reader thread of a threaded DiskFile: serves one command at a time and,
// with a cache, reads ahead after DISK_CACHE_IDLE_MS without a request.
#include <algorithm>
#include <cstring>

#include "engine/files/DiskFile.h"

namespace {

bool SeekThreadFile(DiskFile* file, int32_t offset) {
  return port::SetFilePointer(file->threadFile, offset, nullptr, port::FILE_BEGIN) !=
         port::INVALID_SET_FILE_POINTER;
}

uint32_t ReadThreadFile(DiskFile* file, void* destination, int32_t count) {
  uint32_t got = 0;
  if (count <= 0) return 0;
  if (!port::ReadFile(file->threadFile, destination, static_cast<uint32_t>(count), &got, nullptr))
    return 0;
  return got;
}

void ReadAhead(DiskFile* file) {
  if (!file->threadFile || file->cacheFill >= DISK_CACHE_SIZE) return;
  if (!SeekThreadFile(file, file->cacheOffset + file->cacheFill)) return;
  uint32_t got = ReadThreadFile(file, file->cache + file->cacheFill, DISK_CACHE_SIZE - file->cacheFill);
  file->cacheFill += static_cast<int32_t>(got);
}

void ServeRead(DiskFile* file) {
  auto* destination = static_cast<uint8_t*>(file->readDestination);
  int32_t offset = file->readOffset;
  int32_t remaining = file->readCount;
  int32_t delivered = 0;
  if (file->cache && file->cacheOffset == offset && file->cacheFill > 0) {
    int32_t n = std::min(remaining, file->cacheFill);
    std::memcpy(destination, file->cache, static_cast<size_t>(n));
    destination += n;
    offset += n;
    remaining -= n;
    delivered += n;
    file->cacheOffset += n;
    file->cacheFill -= n;
    std::memmove(file->cache, file->cache + n, static_cast<size_t>(file->cacheFill));
  }
  if (remaining > 0) {
    uint32_t got = SeekThreadFile(file, offset) ? ReadThreadFile(file, destination, remaining) : 0;
    delivered += static_cast<int32_t>(got);
    if (file->cache) {
      file->cacheOffset = offset + static_cast<int32_t>(got);
      file->cacheFill = 0;
    }
  }
  file->readCount = delivered;
}

}  // namespace

void RunDiskReaderThread(DiskFile* file) {
  for (;;) {
    if (file->cache) {
      if (!file->requestEvent.WaitFor(DISK_CACHE_IDLE_MS)) {
        ReadAhead(file);
        continue;
      }
    } else {
      file->requestEvent.Wait();
    }
    file->requestEvent.Reset();
    file->doneEvent.Reset();
    switch (file->command) {
      case DISK_COMMAND_OPEN:
        // Shared for reading, so that the same file can be open twice (an
        // image loaded twice, a member and its archive probed together).
        file->threadFile = port::CreateFileA(file->path, port::GENERIC_READ, port::FILE_SHARE_READ, nullptr,
                                             port::OPEN_EXISTING, port::FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file->threadFile == port::INVALID_HANDLE_VALUE) {
          file->threadFile = nullptr;
          file->openFailed = 1;
          file->threadEnded = 1;
          file->doneEvent.Set();
          return;
        }
        break;
      case DISK_COMMAND_READ:
        ServeRead(file);
        break;
      case DISK_COMMAND_SEEK:
        SeekThreadFile(file, file->seekOffset);
        if (file->cache) {
          file->cacheOffset = file->seekOffset;
          file->cacheFill = 0;
        }
        break;
      case DISK_COMMAND_QUIT:
        port::CloseHandle(file->threadFile);
        file->threadFile = nullptr;
        file->threadEnded = 1;
        file->doneEvent.Set();
        return;
      default:
        break;
    }
    file->doneEvent.Set();
  }
}
