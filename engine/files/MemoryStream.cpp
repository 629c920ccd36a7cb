#include "engine/files/MemoryStream.h"

#include <cstring>

#include "engine/files/StreamSource.h"
#include "engine/services/Memory.h"

MemoryStream* OpenMemoryStream(const void* data, int32_t size) {
  if (size < 0 || (!data && size > 0)) return nullptr;
  auto* stream = static_cast<MemoryStream*>(MemAlloc(sizeof(MemoryStream), "", 0));
  if (!stream) return nullptr;
  stream->data = static_cast<const uint8_t*>(data);
  stream->size = size;
  stream->position = 0;
  stream->atEnd = 0;
  return stream;
}

int MemoryStreamClose(MemoryStream* stream) {
  MemFree(stream);
  return 0;
}

int32_t MemoryStreamTell(MemoryStream* stream) { return stream->position; }

int MemoryStreamSeek(MemoryStream* stream, int32_t offset, int origin) {
  int64_t target = SeekTarget(offset, origin, stream->position, stream->size);
  if (target < 0) target = 0;
  if (target > stream->size) target = stream->size;
  stream->position = static_cast<int32_t>(target);
  stream->atEnd = 0;
  return 0;
}

size_t MemoryStreamRead(void* destination, size_t elementSize, size_t count, MemoryStream* stream) {
  if (stream->position >= stream->size) {
    stream->atEnd = 1;
    return 0;
  }
  // Nothing asked (fread's rule for a zero size or count).
  if (count == 0 || elementSize == 0) return 0;
  size_t remaining = static_cast<size_t>(stream->size - stream->position);
  size_t copied;
  size_t result;
  if (count <= remaining / elementSize) {
    result = count;
    copied = count * elementSize;
  } else if (remaining >= elementSize) {
    result = remaining / elementSize;
    copied = result * elementSize;
  } else {
    result = 1;
    copied = remaining;
  }
  std::memcpy(destination, stream->data + stream->position, copied);
  stream->position += static_cast<int32_t>(copied);
  stream->atEnd = 0;
  return result;
}

int MemoryStreamEof(MemoryStream* stream) { return stream->atEnd ? 1 : 0; }

int MemoryStreamIsIdle(MemoryStream*) { return 1; }
