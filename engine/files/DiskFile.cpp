// DiskFile: direct and threaded reading of host files. See DiskFile.h.
#include "engine/files/DiskFile.h"

#include <cstring>
#include <new>
#include <system_error>

#include "engine/services/Log.h"
#include "engine/files/StreamSource.h"
#include "engine/services/Memory.h"

namespace {

DiskFile* NewDiskFile() {
  void* block = MemCalloc(sizeof(DiskFile), "", 0);
  return block ? new (block) DiskFile() : nullptr;
}

void FreeDiskFile(DiskFile* file) {
  file->~DiskFile();
  MemFree(file);
}

port::HostHandle OpenForReading(const char* path, uint32_t shareMode) {
  return port::CreateFileA(path, port::GENERIC_READ, shareMode, nullptr, port::OPEN_EXISTING,
                           port::FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The size of an open file, or -1 when it cannot be read or is 2 GiB or more.
int32_t SizeOf(port::HostHandle handle) {
  uint32_t high = 0;
  uint32_t low = port::GetFileSize(handle, &high);
  if ((low == port::INVALID_FILE_SIZE && high == 0) || high != 0 || low > 0x7FFFFFFFu) return -1;
  return static_cast<int32_t>(low);
}

// The handshake: the previous command has finished before the next is
// written.
void PostCommand(DiskFile* file, int command) {
  file->doneEvent.Wait();
  file->command = command;
  file->doneEvent.Reset();
  file->requestEvent.Set();
}

void PostRead(DiskFile* file, void* destination, int32_t offset, int32_t count) {
  file->doneEvent.Wait();
  file->readDestination = destination;
  file->readOffset = offset;
  file->readCount = count;
  file->command = DISK_COMMAND_READ;
  file->doneEvent.Reset();
  file->requestEvent.Set();
}

void PostSeek(DiskFile* file, int32_t offset) {
  file->doneEvent.Wait();
  file->seekOffset = offset;
  file->command = DISK_COMMAND_SEEK;
  file->doneEvent.Reset();
  file->requestEvent.Set();
}

void EndThread(DiskFile* file) {
  if (file->thread.joinable()) file->thread.join();
}

DiskFile* OpenDirect(DiskFile* file, const char* path) {
  file->file = OpenForReading(path, port::FILE_SHARE_READ);
  if (file->file == port::INVALID_HANDLE_VALUE) {
    FreeDiskFile(file);
    return nullptr;
  }
  file->size = SizeOf(file->file);
  if (file->size < 0) {
    port::CloseHandle(file->file);
    FreeDiskFile(file);
    return nullptr;
  }
  return file;
}

DiskFile* OpenThreaded(DiskFile* file, const char* path) {
  // The size is taken from a handle of its own; the thread opens the file again.
  port::HostHandle probe = OpenForReading(path, port::FILE_SHARE_READ);
  if (probe == port::INVALID_HANDLE_VALUE) {
    FreeDiskFile(file);
    return nullptr;
  }
  file->size = SizeOf(probe);
  port::CloseHandle(probe);
  if (file->size < 0 || std::strlen(path) >= sizeof file->path) {
    FreeDiskFile(file);
    return nullptr;
  }
  if (file->useCache) {
    file->cache = static_cast<uint8_t*>(MemAlloc(DISK_CACHE_SIZE, "", 0));
    if (!file->cache) {
      WriteLog("ファイル読み込みキャッシュ用メモリの確保に失敗しました\n");
      FreeDiskFile(file);
      return nullptr;
    }
  }
  try {
    file->thread = std::thread(RunDiskReaderThread, file);
  } catch (const std::system_error&) {
    MemFree(file->cache);
    WriteLog("ファイルアクセス専用スレッドの作成に失敗しました\n");
    FreeDiskFile(file);
    return nullptr;
  }
  std::strcpy(file->path, path);
  PostCommand(file, DISK_COMMAND_OPEN);
  file->doneEvent.Wait();
  if (file->openFailed) {
    MemFree(file->cache);
    EndThread(file);
    WriteLog("ファイルのオープンに失敗しました\n");
    FreeDiskFile(file);
    return nullptr;
  }
  return file;
}

}  // namespace

DiskFile* OpenDiskFile(const char* path, int useCache, int async) {
  if (!path) return nullptr;
  DiskFile* file = NewDiskFile();
  if (!file) return nullptr;
  file->useCache = useCache ? 1 : 0;
  file->async = async ? 1 : 0;
  file->threaded = file->useCache || file->async;
  return file->threaded ? OpenThreaded(file, path) : OpenDirect(file, path);
}

int DiskFileClose(DiskFile* file) {
  if (!file) return -1;
  if (file->threaded) {
    PostCommand(file, DISK_COMMAND_QUIT);
    file->doneEvent.Wait();
    EndThread(file);
    MemFree(file->cache);
  } else {
    port::CloseHandle(file->file);
  }
  FreeDiskFile(file);
  return 0;
}

int32_t DiskFileTell(DiskFile* file) { return file->position; }

int DiskFileSeek(DiskFile* file, int32_t offset, int origin) {
  int64_t target = SeekTarget(offset, origin, file->position, file->size);
  // The platform refuses a position before the start; so does the threaded
  // mode, whose thread would otherwise read from a wrong place.
  if (target < 0 || target > 0x7FFFFFFF) return -1;
  if (file->threaded) {
    PostSeek(file, static_cast<int32_t>(target));
  } else if (port::SetFilePointer(file->file, static_cast<int32_t>(target), nullptr, port::FILE_BEGIN) ==
             port::INVALID_SET_FILE_POINTER) {
    return -1;
  }
  file->position = static_cast<int32_t>(target);
  file->atEnd = 0;
  return 0;
}

size_t DiskFileRead(void* destination, size_t elementSize, size_t count, DiskFile* file) {
  if (elementSize == 0) return 0;
  if (file->position >= file->size) {
    file->atEnd = 1;
    return 0;
  }
  size_t remaining = static_cast<size_t>(file->size - file->position);
  size_t n = count;
  if (remaining / elementSize < n) n = remaining / elementSize;
  if (n == 0) {
    file->atEnd = 1;
    return 0;
  }
  auto bytes = static_cast<int32_t>(n * elementSize);
  size_t result = n;
  if (file->threaded) {
    PostRead(file, destination, file->position, bytes);
    // A read that waits counts what the thread delivered: a platform read
    // that failed or came back short is not reported as done.
    if (!file->async) {
      file->doneEvent.Wait();
      result = static_cast<size_t>(file->readCount) / elementSize;
    }
  } else {
    uint32_t got = 0;
    result = port::ReadFile(file->file, destination, static_cast<uint32_t>(bytes), &got, nullptr)
                 ? got / elementSize
                 : 0;
  }
  file->position += bytes;
  return result;
}

int DiskFileEof(DiskFile* file) { return file->atEnd ? -1 : 0; }

int DiskFileIsIdle(DiskFile* file) {
  if (!file->threaded) return 1;
  return file->doneEvent.IsSet() ? 1 : 0;
}

void DiskFileWaitIdle(DiskFile* file) {
  if (file->threaded) file->doneEvent.Wait();
}
