// The encoder of the engine's LZ block format (engine/files/archive/
// Compression.h): hash-chain matching over the whole input (distances up to
// 16 MiB, lengths up to 8195), with the least frequent byte as the escape.
//
// The search gives up early where it cannot pay, as zlib's does: a long
// enough match ends the chain walk, a good match shortens the lazy look one
// position ahead, a long one skips it, and a run of positions without any
// match makes the encoder look at fewer and fewer positions (incompressible
// data passes through as literals at copying speed).
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
  // A match at least this long ends the chain walk at once.
  int niceLength = 512;
  // A match at least this long is taken without the lazy look ahead.
  int maxLazy = 128;
  // A match at least this long makes the lazy look ahead walk a quarter of
  // the chain.
  int goodLength = 32;
  // After 2^skipShift literals in a row the encoder searches every second
  // position, after twice that every third, and so on up to maxSkip; a
  // match brings it back to every position. 0 searches every position.
  int skipShift = 8;
  int maxSkip = 32;
};

// The whole block: the 9-byte header and the tokens.
std::vector<uint8_t> CompressBlock(const uint8_t* data, size_t size, const CompressOptions& options = {});

}  // namespace qpa
