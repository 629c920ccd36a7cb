#include "engine/files/StreamOps.h"

namespace {

FileHandle AsFile(StreamHandle handle) { return static_cast<FileHandle>(handle); }
MemoryStream* AsMemory(StreamHandle handle) { return reinterpret_cast<MemoryStream*>(handle); }

int32_t FileTell(StreamHandle h) { return streamFunctions.Tell(AsFile(h)); }
int FileSeek(StreamHandle h, int32_t offset, int origin) { return streamFunctions.Seek(AsFile(h), offset, origin); }
size_t FileRead(void* destination, size_t size, size_t count, StreamHandle h) {
  return streamFunctions.Read(destination, size, count, AsFile(h));
}
int FileEof(StreamHandle h) { return streamFunctions.Eof(AsFile(h)); }
int FileIsIdle(StreamHandle h) { return streamFunctions.IsIdle(AsFile(h)); }
int FileClose(StreamHandle h) { return streamFunctions.Close(AsFile(h)); }

int32_t MemoryTell(StreamHandle h) { return MemoryStreamTell(AsMemory(h)); }
int MemorySeek(StreamHandle h, int32_t offset, int origin) { return MemoryStreamSeek(AsMemory(h), offset, origin); }
size_t MemoryRead(void* destination, size_t size, size_t count, StreamHandle h) {
  return MemoryStreamRead(destination, size, count, AsMemory(h));
}
int MemoryEof(StreamHandle h) { return MemoryStreamEof(AsMemory(h)); }
int MemoryIsIdle(StreamHandle h) { return MemoryStreamIsIdle(AsMemory(h)); }
int MemoryClose(StreamHandle h) { return MemoryStreamClose(AsMemory(h)); }

}  // namespace

const StreamOps fileStreamOps = {FileTell, FileSeek, FileRead, FileEof, FileIsIdle, FileClose};
const StreamOps memoryStreamOps = {MemoryTell, MemorySeek, MemoryRead, MemoryEof, MemoryIsIdle, MemoryClose};
