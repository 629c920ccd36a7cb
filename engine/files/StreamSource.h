// The stream an image decoder reads from: six operations and a handle, so
// that the decoder never knows whether the bytes come from a disk file, an
// archive member or memory.
#pragma once

#include <cstddef>
#include <cstdint>

// A FileHandle of the installed stream functions, or a MemoryStream pointer.
using StreamHandle = uintptr_t;

// Seek origins, as the C library's.
constexpr int STREAM_SEEK_SET = 0;
constexpr int STREAM_SEEK_CUR = 1;
constexpr int STREAM_SEEK_END = 2;

// The position a seek asks for: offset from the start, from the current
// position or from the end. 64-bit, so the caller checks the result against
// its own limits before anything overflows.
inline int64_t SeekTarget(int32_t offset, int origin, int64_t position, int64_t size) {
  int64_t target = offset;
  if (origin == STREAM_SEEK_CUR) target += position;
  if (origin == STREAM_SEEK_END) target += size;
  return target;
}

struct StreamOps {
  int32_t (*Tell)(StreamHandle handle);
  int (*Seek)(StreamHandle handle, int32_t offset, int origin);
  // fread's contract: the number of whole elements read.
  size_t (*Read)(void* destination, size_t elementSize, size_t count, StreamHandle handle);
  int (*Eof)(StreamHandle handle);
  int (*IsIdle)(StreamHandle handle);
  int (*Close)(StreamHandle handle);
};

struct StreamSource {
  StreamOps ops;
  StreamHandle handle;
};
