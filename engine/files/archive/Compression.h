// The engine's LZ block format. A block is a 9-byte header (expandedSize,
// packedSize counting the header, the escape byte) followed by tokens: a
// byte other than the escape is a literal; the escape twice is the escape as
// a literal; the escape followed by another byte c is a match. With
// d = c - 1 when c is above the escape, else c: the length is (d >> 3) + 4,
// or with bit 2 of d set ((d >> 3) | (e << 5)) + 4 for one more byte e (up to
// 8195); d & 3 gives the distance field's size (0: 1 byte, 1: 2, 2: 3, little
// endian), the distance being the field + 1 (up to 16 MiB). d & 3 == 3 reads
// no field and repeats the previous match's distance.
#pragma once

#include <cstdint>

constexpr uint32_t COMPRESSED_HEADER_SIZE = 9;
constexpr uint32_t COMPRESSED_MIN_MATCH = 4;
constexpr uint32_t COMPRESSED_MAX_MATCH = 8195;
constexpr uint32_t COMPRESSED_MAX_DISTANCE = 16777216;
// A match token is at least 3 bytes for at most COMPRESSED_MAX_MATCH bytes,
// so no valid block expands by more than this factor.
constexpr uint32_t COMPRESSED_MAX_RATIO = COMPRESSED_MAX_MATCH / 3 + 1;

// The expandedSize of the block's header, or -1 when blockSize cannot hold
// a header.
int64_t CompressedExpandedSize(const void* block, uint32_t blockSize);

// Expands the block into destination (destinationSize bytes) and returns
// expandedSize. With a null destination only reports expandedSize. -1 for a
// malformed block: a packedSize outside 9..blockSize, a token cut short, a
// match reaching before the start of the output, or output that does not
// come out at exactly expandedSize or does not fit destinationSize. Never
// reads outside the block nor writes outside the destination.
int64_t ExpandCompressed(const void* block, uint32_t blockSize, void* destination,
                         uint32_t destinationSize);
