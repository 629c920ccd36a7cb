// Small helpers over a StreamSource shared by the decoders.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/files/StreamSource.h"

// The length of the data (seek to the end, tell, seek back to the start);
// -1 when the stream cannot tell.
int32_t StreamLength(StreamSource* source);
// Reads up to `bytes` bytes at the current position in one request; the
// number of bytes actually delivered.
size_t ReadBytes(StreamSource* source, void* destination, size_t bytes);
// Seeks to `offset` from the start and reads exactly `bytes` bytes.
bool ReadAt(StreamSource* source, int64_t offset, void* destination, size_t bytes);

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
