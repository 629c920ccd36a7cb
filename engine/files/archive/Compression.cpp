// The LZ block decoder. See Compression.h for the token format.
#include "engine/files/archive/Compression.h"

#include <cstring>

#include "engine/files/archive/ArchiveFormat.h"

namespace {

// Forward copy of a match: when the distance is shorter than the length the
// copy repeats the last distance bytes, as a byte-by-byte copy does.
void CopyMatch(uint8_t* out, uint32_t distance, uint32_t length) {
  const uint8_t* from = out - distance;
  if (distance >= length) {
    std::memcpy(out, from, length);
  } else if (distance >= 8) {
    uint32_t i = 0;
    for (; i + 8 <= length; i += 8) std::memcpy(out + i, from + i, 8);
    for (; i < length; ++i) out[i] = from[i];
  } else {
    for (uint32_t i = 0; i < length; ++i) out[i] = from[i];
  }
}

}  // namespace

int64_t CompressedExpandedSize(const void* block, uint32_t blockSize) {
  if (!block || blockSize < COMPRESSED_HEADER_SIZE) return -1;
  return LoadU32(static_cast<const uint8_t*>(block));
}

int64_t ExpandCompressed(const void* block, uint32_t blockSize, void* destination,
                         uint32_t destinationSize) {
  if (!block || blockSize < COMPRESSED_HEADER_SIZE) return -1;
  const auto* bytes = static_cast<const uint8_t*>(block);
  uint32_t expandedSize = LoadU32(bytes);
  uint32_t packedSize = LoadU32(bytes + 4);
  if (!destination) return expandedSize;
  if (packedSize < COMPRESSED_HEADER_SIZE || packedSize > blockSize || expandedSize > destinationSize)
    return -1;
  const uint8_t escape = bytes[8];
  const uint8_t* in = bytes + COMPRESSED_HEADER_SIZE;
  const uint8_t* const inEnd = bytes + packedSize;
  auto* const outStart = static_cast<uint8_t*>(destination);
  uint8_t* out = outStart;
  uint8_t* const outEnd = outStart + expandedSize;
  uint32_t lastDistance = 1;

  while (in < inEnd) {
    uint8_t b = *in++;
    if (b != escape) {
      if (out == outEnd) return -1;
      *out++ = b;
      continue;
    }
    if (in == inEnd) return -1;
    uint8_t c = *in++;
    if (c == escape) {
      if (out == outEnd) return -1;
      *out++ = escape;
      continue;
    }
    uint32_t d = c > escape ? c - 1u : c;
    uint32_t length = (d >> 3) + COMPRESSED_MIN_MATCH;
    if (d & 4) {
      if (in == inEnd) return -1;
      length = ((d >> 3) | (static_cast<uint32_t>(*in++) << 5)) + COMPRESSED_MIN_MATCH;
    }
    uint32_t distance = lastDistance;
    uint32_t fieldSize = d & 3;
    if (fieldSize != 3) {
      uint32_t field = 0;
      if (static_cast<uint32_t>(inEnd - in) < fieldSize + 1) return -1;
      for (uint32_t i = 0; i <= fieldSize; ++i) field |= static_cast<uint32_t>(in[i]) << (8 * i);
      in += fieldSize + 1;
      distance = field + 1;
    }
    lastDistance = distance;
    if (distance > static_cast<uint32_t>(out - outStart) || length > static_cast<uint32_t>(outEnd - out))
      return -1;
    CopyMatch(out, distance, length);
    out += length;
  }
  return out == outEnd ? static_cast<int64_t>(expandedSize) : -1;
}
