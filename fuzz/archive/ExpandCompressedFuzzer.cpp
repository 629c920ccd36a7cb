// ExpandCompressed on arbitrary blocks: never reads outside the block or
// writes outside the destination, whatever the header and tokens say.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/files/archive/Compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  // The block in a buffer of its own size exactly, so any overread is seen.
  std::vector<uint8_t> block(data, data + size);
  int64_t expanded = ExpandCompressed(block.data(), static_cast<uint32_t>(size), nullptr, 0);
  if (expanded < 0) return 0;
  // Destinations of the claimed size and smaller than it, bounded by what
  // the tokens could ever expand to.
  uint64_t reachable = (size - COMPRESSED_HEADER_SIZE) * static_cast<uint64_t>(COMPRESSED_MAX_RATIO);
  uint64_t bounded = static_cast<uint64_t>(expanded) < reachable ? static_cast<uint64_t>(expanded) : reachable;
  uint32_t capacity = static_cast<uint32_t>(bounded > (1u << 20) ? (1u << 20) : bounded);
  for (uint32_t room : {capacity, capacity / 2}) {
    std::vector<uint8_t> out(room ? room : 1);
    int64_t result = ExpandCompressed(block.data(), static_cast<uint32_t>(size), out.data(), room);
    if (result != -1 && result != expanded) std::abort();
    if (result >= 0 && static_cast<uint64_t>(result) > room) std::abort();
  }
  return 0;
}
