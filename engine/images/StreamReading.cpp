#include "engine/images/StreamReading.h"

int32_t StreamLength(StreamSource* source) {
  if (source->ops.Seek(source->handle, 0, STREAM_SEEK_END) != 0) return -1;
  int32_t length = source->ops.Tell(source->handle);
  if (source->ops.Seek(source->handle, 0, STREAM_SEEK_SET) != 0) return -1;
  return length;
}

size_t ReadBytes(StreamSource* source, void* destination, size_t bytes) {
  if (bytes == 0) return 0;
  // Byte-sized elements: the count is the byte count.
  size_t elements = source->ops.Read(destination, 1, bytes, source->handle);
  return elements <= bytes ? elements : bytes;
}

bool ReadAt(StreamSource* source, int64_t offset, void* destination, size_t bytes) {
  if (offset < 0 || offset > INT32_MAX) return false;
  if (source->ops.Seek(source->handle, static_cast<int32_t>(offset), STREAM_SEEK_SET) != 0)
    return false;
  return ReadBytes(source, destination, bytes) == bytes;
}
