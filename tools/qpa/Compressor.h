// The encoder of the engine's LZ block format (engine/files/archive/
// Compression.h): hash-chain matching over the whole input (distances up to
// 16 MiB, lengths up to 8195), with the least frequent byte as the escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qpa {

struct CompressOptions {
  // Candidates examined per position: more finds longer matches, slower.
  int maxChain = 48;
  // Also try the match at the next position before taking one (lazy
  // matching).
  bool lazy = true;
};

// The whole block: the 9-byte header and the tokens.
std::vector<uint8_t> CompressBlock(const uint8_t* data, size_t size, const CompressOptions& options = {});

}  // namespace qpa
