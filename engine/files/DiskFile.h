// One file on the host disk, read either directly with the platform calls or
// through a reader thread of its own, optionally with a 128 KiB read-ahead
// cache that the thread fills while the file is otherwise idle.
//
// Threaded mode hands one command at a time to the thread: the caller waits
// for doneEvent (the previous command has finished), writes the command and
// its parameters, resets doneEvent and sets requestEvent. In async mode a
// read returns as soon as it is posted; its bytes may be used once
// DiskFileIsIdle reports 1.
#pragma once

#include <cstdint>
#include <thread>

#include "engine/files/ManualResetEvent.h"
#include "engine/platform/FilesPort.h"

constexpr int32_t DISK_CACHE_SIZE = 0x20000;   // 131072 bytes of read-ahead
constexpr int DISK_CACHE_IDLE_MS = 100;        // idle time before the thread reads ahead
constexpr int DISK_PATH_SIZE = 260;

// Commands of the reader thread.
constexpr int DISK_COMMAND_OPEN = 0;
constexpr int DISK_COMMAND_READ = 2;
constexpr int DISK_COMMAND_SEEK = 3;
constexpr int DISK_COMMAND_QUIT = 4;

struct DiskFile {
  port::HostHandle file = nullptr;  // direct mode
  int threaded = 0;                 // useCache or async at open
  int useCache = 0;
  int async = 0;
  int atEnd = 0;          // a read found no bytes left; cleared by every seek
  int32_t position = 0;   // where the next read starts, kept on the caller's side
  int32_t size = 0;       // taken at open; files over 2 GiB are not supported

  // Reader thread (threaded mode).
  std::thread thread;
  ManualResetEvent requestEvent{false};  // set by the caller: a command is waiting
  ManualResetEvent doneEvent{true};      // set by the thread: the command is finished
  int command = 0;
  int threadEnded = 0;
  int openFailed = 0;
  char path[DISK_PATH_SIZE] = {};
  port::HostHandle threadFile = nullptr;
  // Read request; the thread writes the count of bytes actually read back.
  void* readDestination = nullptr;
  int32_t readOffset = 0;
  int32_t readCount = 0;
  // Seek request.
  int32_t seekOffset = 0;
  // Read-ahead: DISK_CACHE_SIZE bytes, or none.
  uint8_t* cache = nullptr;
  int32_t cacheOffset = 0;  // file offset of the first cached byte
  int32_t cacheFill = 0;    // valid bytes at the start of the cache
};

// Opens an existing file for reading. Threaded when useCache or async is
// set. Null on failure (a missing file fails silently; the thread's own
// failures are logged).
DiskFile* OpenDiskFile(const char* path, int useCache, int async);
// Releases everything; in threaded mode ends the thread first.
int DiskFileClose(DiskFile* file);
int32_t DiskFileTell(DiskFile* file);
// origin 0 from the start, 1 from the position, 2 from the end; not clamped.
// 0, or -1 when the platform refuses the position (a negative one).
int DiskFileSeek(DiskFile* file, int32_t offset, int origin);
// The number of whole elements read. In async mode the read is only
// posted, and the number is the one requested.
size_t DiskFileRead(void* destination, size_t elementSize, size_t count, DiskFile* file);
// -1 when a read hit the end, else 0.
int DiskFileEof(DiskFile* file);
// 1 when no transfer is in flight.
int DiskFileIsIdle(DiskFile* file);
// Blocks until no transfer is in flight: the same as polling
// DiskFileIsIdle, without spending the processor the reader thread needs.
void DiskFileWaitIdle(DiskFile* file);

// The reader thread's body (DiskReaderThread.cpp).
void RunDiskReaderThread(DiskFile* file);
