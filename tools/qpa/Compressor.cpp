#include "tools/qpa/Compressor.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/Compression.h"

namespace qpa {
namespace {

// The hash table grows with the input (one bucket per four input bytes,
// between these limits), so that chains stay short on large inputs whose
// matches may lie anywhere in the 16 MiB window.
constexpr int MIN_HASH_BITS = 12;
constexpr int MAX_HASH_BITS = 20;

// The chain links of the last CHAIN_WINDOW positions: a chain is followed
// back that far, while the first candidate (the latest position with the
// same hash) may lie anywhere in the format's 16 MiB. A ring of links
// keeps a large input from touching four bytes of links per input byte.
constexpr size_t CHAIN_WINDOW = size_t{1} << 21;

// Literal steps up to this long still insert the positions they pass.
constexpr size_t INSERT_SKIPPED_UP_TO = 4;

int HashBitsFor(size_t size) {
  int bits = MIN_HASH_BITS;
  while (bits < MAX_HASH_BITS && (size_t{1} << bits) < size / 4) ++bits;
  return bits;
}

size_t RoundUpToPowerOfTwo(size_t n) {
  size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Four interleaved histograms, so that runs of one byte value do not wait
// on one counter.
uint8_t LeastFrequentByte(const uint8_t* data, size_t size) {
  std::array<std::array<size_t, 256>, 4> partial{};
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    ++partial[0][data[i]];
    ++partial[1][data[i + 1]];
    ++partial[2][data[i + 2]];
    ++partial[3][data[i + 3]];
  }
  for (; i < size; ++i) ++partial[0][data[i]];
  std::array<size_t, 256> counts{};
  for (int b = 0; b < 256; ++b) counts[b] = partial[0][b] + partial[1][b] + partial[2][b] + partial[3][b];
  return static_cast<uint8_t>(std::min_element(counts.begin(), counts.end()) - counts.begin());
}

uint32_t DistanceBytes(uint32_t distance) {
  uint32_t field = distance - 1;
  return field < 0x100 ? 1 : field < 0x10000 ? 2 : 3;
}

// Bytes a match token takes.
uint32_t MatchCost(uint32_t length, uint32_t distance) {
  return 2 + (length - COMPRESSED_MIN_MATCH >= 32 ? 1 : 0) + DistanceBytes(distance);
}

// How many bytes from a and b agree, up to limit; eight at a time.
size_t CommonLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t length = 0;
  while (length + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + length, 8);
    std::memcpy(&y, b + length, 8);
    if (x != y) return length + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
    length += 8;
  }
  while (length < limit && a[length] == b[length]) ++length;
  return length;
}

struct Match {
  uint32_t length = 0;
  uint32_t distance = 0;
  int Gain() const { return length ? static_cast<int>(length) - static_cast<int>(MatchCost(length, distance)) : 0; }
};

class Encoder {
 public:
  Encoder(const uint8_t* data, size_t size, const CompressOptions& chosen)
      : in(data),
        n(size),
        options(chosen),
        hashBits(HashBitsFor(size)),
        head(size_t{1} << hashBits, -1),
        linkMask(std::min(CHAIN_WINDOW, RoundUpToPowerOfTwo(size)) - 1),
        // Only the links of inserted positions within the window are ever
        // read, so the ring needs no clearing.
        prev(new int32_t[linkMask + 1]) {}

  std::vector<uint8_t> Run() {
    escape = LeastFrequentByte(in, n);
    out.reserve(COMPRESSED_HEADER_SIZE + n + n / 64 + 16);
    out.resize(COMPRESSED_HEADER_SIZE);
    size_t i = 0;
    size_t literalRun = 0;  // the bytes before i not yet emitted, all literals
    Match carried;  // the match found at i by the previous lazy look ahead
    bool haveCarried = false;
    while (i < n) {
      Match best = haveCarried ? carried : FindMatch(i, options.maxChain);
      haveCarried = false;
      if (best.Gain() <= 0) {
        Insert(i);
        size_t run = LiteralStep(i, literalRun);
        // While the steps are short the skipped positions still go into
        // the chains, for matches later on; past that they cost more than
        // they find.
        if (run <= INSERT_SKIPPED_UP_TO) {
          for (size_t k = 1; k < run; ++k) Insert(i + k);
        }
        i += run;
        literalRun += run;
        continue;
      }
      if (options.lazy && best.length < static_cast<uint32_t>(options.maxLazy) && i + 1 < n) {
        Insert(i);
        int chain = best.length >= static_cast<uint32_t>(options.goodLength) ? options.maxChain / 4 : options.maxChain;
        Match next = FindMatch(i + 1, std::max(chain, 1));
        if (next.Gain() > best.Gain()) {
          ++i;
          ++literalRun;
          carried = next;
          haveCarried = true;
          continue;
        }
      }
      EmitLiterals(in + i - literalRun, literalRun);
      EmitMatch(best);
      for (size_t k = i; k < i + best.length; ++k) Insert(k);
      i += best.length;
      literalRun = 0;
    }
    EmitLiterals(in + n - literalRun, literalRun);
    StoreU32(out.data(), static_cast<uint32_t>(n));
    StoreU32(out.data() + 4, static_cast<uint32_t>(out.size()));
    out[8] = escape;
    return std::move(out);
  }

 private:
  uint32_t HashAt(const uint8_t* p) const { return (Load32(p) * 2654435761u) >> (32 - hashBits); }

  // Positions must be inserted in increasing order, each at most once.
  void Insert(size_t i) {
    if (i + 4 > n || inserted > i) return;
    uint32_t h = HashAt(in + i);
    prev[i & linkMask] = head[h];
    head[h] = static_cast<int32_t>(i);
    inserted = i + 1;
  }

  // Literals to emit after a search that found nothing: one, or more once
  // the run of literals is long.
  size_t LiteralStep(size_t i, size_t literalRun) const {
    size_t step = 1;
    if (options.skipShift > 0) {
      step = std::min<size_t>(1 + (literalRun >> options.skipShift), static_cast<size_t>(std::max(options.maxSkip, 1)));
    }
    return std::min(step, n - i);
  }

  // The best match at i among the positions inserted so far (i itself is
  // not yet inserted).
  Match FindMatch(size_t i, int maxChain) const {
    Match best;
    if (i + COMPRESSED_MIN_MATCH > n) return best;
    size_t limit = std::min<size_t>(COMPRESSED_MAX_MATCH, n - i);
    size_t nice = std::min<size_t>(limit, static_cast<size_t>(std::max(options.niceLength, 4)));
    const uint8_t* b = in + i;
    uint32_t first = Load32(b);
    int32_t candidate = head[HashAt(b)];
    for (int chain = 0; candidate >= 0 && chain < maxChain; ++chain) {
      size_t distance = i - static_cast<size_t>(candidate);
      if (distance > COMPRESSED_MAX_DISTANCE) break;
      const uint8_t* a = in + candidate;
      // The four bytes every match needs, and the byte that would make
      // this one longer than the best so far.
      if (Load32(a) == first && (best.length == 0 || a[best.length] == b[best.length])) {
        size_t length = CommonLength(a, b, limit);
        Match m{static_cast<uint32_t>(length), static_cast<uint32_t>(distance)};
        if (m.Gain() > best.Gain()) best = m;
        if (length >= nice) break;
      }
      // A link older than the window has been overwritten by a later
      // position.
      if (distance > linkMask) break;
      candidate = prev[static_cast<size_t>(candidate) & linkMask];
    }
    return best;
  }

  // The bytes as literals: copied in pieces up to each escape byte, which
  // is written twice.
  void EmitLiterals(const uint8_t* bytes, size_t count) {
    const uint8_t* end = bytes + count;
    while (bytes < end) {
      const void* found = std::memchr(bytes, escape, static_cast<size_t>(end - bytes));
      const uint8_t* stop = found != nullptr ? static_cast<const uint8_t*>(found) + 1 : end;
      out.insert(out.end(), bytes, stop);
      if (found != nullptr) out.push_back(escape);
      bytes = stop;
    }
  }

  void EmitMatch(const Match& m) {
    uint32_t lengthField = m.length - COMPRESSED_MIN_MATCH;
    uint32_t field = m.distance - 1;
    uint32_t bytes = DistanceBytes(m.distance);
    uint32_t d = (bytes - 1);
    bool extended = lengthField >= 32;
    d |= extended ? ((lengthField & 31) << 3) | 4 : lengthField << 3;
    out.push_back(escape);
    out.push_back(static_cast<uint8_t>(d < escape ? d : d + 1));
    if (extended) out.push_back(static_cast<uint8_t>(lengthField >> 5));
    for (uint32_t k = 0; k < bytes; ++k) out.push_back(static_cast<uint8_t>(field >> (8 * k)));
  }

  const uint8_t* in;
  size_t n;
  CompressOptions options;
  int hashBits;
  std::vector<int32_t> head;
  size_t linkMask;
  std::unique_ptr<int32_t[]> prev;
  size_t inserted = 0;
  uint8_t escape = 0;
  std::vector<uint8_t> out;
};

}  // namespace

std::vector<uint8_t> CompressBlock(const uint8_t* data, size_t size, const CompressOptions& options) {
  return Encoder(data, size, options).Run();
}

}  // namespace qpa
