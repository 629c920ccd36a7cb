#include "tools/qpa/Compressor.h"

#include <algorithm>
#include <array>

#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/Compression.h"

namespace qpa {
namespace {

constexpr int HASH_BITS = 17;
constexpr uint32_t HASH_SIZE = 1u << HASH_BITS;

uint32_t HashAt(const uint8_t* p) {
  uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  return (v * 2654435761u) >> (32 - HASH_BITS);
}

uint8_t LeastFrequentByte(const uint8_t* data, size_t size) {
  std::array<size_t, 256> counts{};
  for (size_t i = 0; i < size; ++i) ++counts[data[i]];
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

struct Match {
  uint32_t length = 0;
  uint32_t distance = 0;
  int Gain() const { return length ? static_cast<int>(length) - static_cast<int>(MatchCost(length, distance)) : 0; }
};

class Encoder {
 public:
  Encoder(const uint8_t* data, size_t size, const CompressOptions& chosen)
      : in(data), n(size), options(chosen), head(HASH_SIZE, -1), prev(size, -1) {}

  std::vector<uint8_t> Run() {
    escape = LeastFrequentByte(in, n);
    out.resize(COMPRESSED_HEADER_SIZE);
    size_t i = 0;
    while (i < n) {
      Match best = FindMatch(i);
      if (best.Gain() > 0 && options.lazy && i + 1 < n) {
        Insert(i);
        Match next = FindMatch(i + 1);
        if (next.Gain() > best.Gain()) {
          EmitLiteral(in[i]);
          ++i;
          continue;
        }
        EmitMatch(best);
        for (size_t k = i + 1; k < i + best.length; ++k) Insert(k);
        i += best.length;
        continue;
      }
      if (best.Gain() > 0) {
        EmitMatch(best);
        for (size_t k = i; k < i + best.length; ++k) Insert(k);
        i += best.length;
      } else {
        EmitLiteral(in[i]);
        Insert(i);
        ++i;
      }
    }
    StoreU32(out.data(), static_cast<uint32_t>(n));
    StoreU32(out.data() + 4, static_cast<uint32_t>(out.size()));
    out[8] = escape;
    return std::move(out);
  }

 private:
  void Insert(size_t i) {
    if (i + 4 > n || inserted > i) return;
    uint32_t h = HashAt(in + i);
    prev[i] = head[h];
    head[h] = static_cast<int32_t>(i);
    inserted = i + 1;
  }

  Match FindMatch(size_t i) const {
    Match best;
    if (i + COMPRESSED_MIN_MATCH > n) return best;
    size_t limit = std::min<size_t>(COMPRESSED_MAX_MATCH, n - i);
    int32_t candidate = i < inserted ? prev[i] : head[HashAt(in + i)];
    for (int chain = 0; candidate >= 0 && chain < options.maxChain; ++chain) {
      size_t distance = i - static_cast<size_t>(candidate);
      if (distance > COMPRESSED_MAX_DISTANCE) break;
      const uint8_t* a = in + candidate;
      const uint8_t* b = in + i;
      if (a[best.length < limit ? best.length : 0] == b[best.length < limit ? best.length : 0]) {
        size_t length = 0;
        while (length < limit && a[length] == b[length]) ++length;
        Match m{static_cast<uint32_t>(length), static_cast<uint32_t>(distance)};
        if (length >= COMPRESSED_MIN_MATCH && m.Gain() > best.Gain()) best = m;
        if (length == limit) break;
      }
      candidate = prev[static_cast<size_t>(candidate)];
    }
    return best;
  }

  void EmitLiteral(uint8_t b) {
    out.push_back(b);
    if (b == escape) out.push_back(escape);
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
  std::vector<int32_t> head;
  std::vector<int32_t> prev;
  size_t inserted = 0;
  uint8_t escape = 0;
  std::vector<uint8_t> out;
};

}  // namespace

std::vector<uint8_t> CompressBlock(const uint8_t* data, size_t size, const CompressOptions& options) {
  return Encoder(data, size, options).Run();
}

}  // namespace qpa
