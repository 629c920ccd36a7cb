// The LZ block format: hand-made blocks for each token form, malformed
// blocks refused without touching memory outside the buffers, and the
// encoder's output expanding back to its input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/Compression.h"
#include "tests/files/FilesFixture.h"
#include "tools/qpa/Compressor.h"

namespace {

std::vector<uint8_t> Block(uint32_t expandedSize, uint8_t escape, const std::vector<uint8_t>& tokens) {
  std::vector<uint8_t> block(COMPRESSED_HEADER_SIZE + tokens.size());
  StoreU32(block.data(), expandedSize);
  StoreU32(block.data() + 4, static_cast<uint32_t>(block.size()));
  block[8] = escape;
  std::copy(tokens.begin(), tokens.end(), block.begin() + COMPRESSED_HEADER_SIZE);
  return block;
}

int64_t Expand(const std::vector<uint8_t>& block, std::vector<uint8_t>* out, uint32_t capacity) {
  out->assign(capacity + 16, 0xEE);  // a guard after the capacity
  int64_t result = ExpandCompressed(block.data(), static_cast<uint32_t>(block.size()), out->data(), capacity);
  for (size_t i = capacity; i < out->size(); ++i) EXPECT_EQ((*out)[i], 0xEE) << "written past the destination";
  return result;
}

struct TokenCase {
  const char* what;
  uint8_t escape;
  std::vector<uint8_t> tokens;
  std::vector<uint8_t> expected;
};

std::vector<uint8_t> Repeat(uint8_t b, size_t n) { return std::vector<uint8_t>(n, b); }
std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(ExpandCompressed, DecodesEachTokenForm) {
  // Escape 0x40: c below the escape is d itself, c above it is d + 1.
  std::vector<TokenCase> cases = {
      {"escape twice is one literal escape", 0x40, {0x40, 0x40}, {0x40}},
      {"distance 1 length 10 repeats the previous byte", 0x40, {'A', 0x40, (6 << 3) | 0, 0x00}, Repeat('A', 11)},
      {"c above the escape is d + 1", 0x01, {'x', 'y', 0x01, 0x02, 0x01, 0x00}, {'x', 'y', 'x', 'y', 'x', 'y'}},
      {"extended length through e", 0x40, {'Z', 0x40, (1 << 3) | 4 | 0, 0x02, 0x00},
       Repeat('Z', 1 + ((1 | (2 << 5)) + 4))},
      {"two-byte distance", 0x40, Concat(Concat({}, Repeat('q', 1)), {0x40, (0 << 3) | 1, 0x00, 0x00}),
       Repeat('q', 5)},
      {"d & 3 == 3 repeats the previous distance", 0x40, {'a', 'b', 0x40, (0 << 3) | 1, 0x01, 0x00, 0x40, (1 << 3) | 3},
       {'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a', 'b', 'a'}},
  };
  for (const TokenCase& c : cases) {
    std::vector<uint8_t> block = Block(static_cast<uint32_t>(c.expected.size()), c.escape, c.tokens);
    std::vector<uint8_t> out;
    EXPECT_EQ(Expand(block, &out, static_cast<uint32_t>(c.expected.size())), static_cast<int64_t>(c.expected.size()))
        << c.what;
    out.resize(c.expected.size());
    EXPECT_EQ(out, c.expected) << c.what;
  }
}

TEST(ExpandCompressed, WithoutDestinationReportsTheSize) {
  std::vector<uint8_t> block = Block(1234, 0, {});
  EXPECT_EQ(ExpandCompressed(block.data(), static_cast<uint32_t>(block.size()), nullptr, 0), 1234);
}

TEST(ExpandCompressed, RefusesMalformedBlocks) {
  struct Fault {
    const char* what;
    std::vector<uint8_t> block;
    uint32_t capacity;
  };
  std::vector<uint8_t> tooLong = Block(3, 0x40, {'a', 'b', 'c'});
  StoreU32(tooLong.data() + 4, 100);  // packedSize past the block
  std::vector<uint8_t> tooShort = Block(3, 0x40, {'a', 'b', 'c'});
  StoreU32(tooShort.data() + 4, 4);  // packedSize smaller than the header
  std::vector<Fault> faults = {
      {"a match reaching before the start of the output", Block(6, 0x40, {'a', 0x40, (0 << 3), 0x05}), 64},
      {"a match at the very start", Block(4, 0x40, {0x40, (0 << 3), 0x00}), 64},
      {"output past expandedSize", Block(2, 0x40, {'a', 0x40, (0 << 3), 0x00}), 64},
      {"expandedSize past the destination", Block(5, 0x40, {'a', 'b', 'c', 'd', 'e'}), 4},
      {"fewer bytes than expandedSize", Block(8, 0x40, {'a', 'b'}), 64},
      {"escape at the end of the tokens", Block(1, 0x40, {'a', 0x40}), 64},
      {"distance bytes cut off", Block(9, 0x40, {'a', 0x40, (1 << 3) | 2, 0x00}), 64},
      {"extension byte cut off", Block(9, 0x40, {'a', 0x40, (1 << 3) | 4}), 64},
      {"packedSize past the block", tooLong, 64},
      {"packedSize inside the header", tooShort, 64},
      {"no header at all", std::vector<uint8_t>{1, 2, 3}, 64},
  };
  for (const Fault& f : faults) {
    std::vector<uint8_t> out;
    EXPECT_EQ(Expand(f.block, &out, f.capacity), -1) << f.what;
  }
}

TEST(CompressBlock, RoundTripsVariedData) {
  struct Corpus {
    const char* what;
    std::vector<uint8_t> data;
  };
  std::vector<uint8_t> farRepeat = RandomBytes(70000, 3);
  farRepeat.insert(farRepeat.end(), farRepeat.begin(), farRepeat.begin() + 20000);  // a 3-byte distance
  // Text, noise long enough for the encoder to stop searching every
  // position, then the text again: the matches must resume after the noise.
  std::vector<uint8_t> noiseBetween = Concat(Concat(TextLike(20000, 4), RandomBytes(60000, 5)), TextLike(20000, 4));
  // A repeat farther back than the chains reach (the latest position with
  // the same hash still finds it).
  std::vector<uint8_t> beyondChains = RandomBytes(3 << 20, 6);
  beyondChains.insert(beyondChains.end(), beyondChains.begin(), beyondChains.begin() + 5000);
  std::vector<uint8_t> allBytes;
  for (int i = 0; i < 256 * 40; ++i) allBytes.push_back(static_cast<uint8_t>(i * 7));
  std::vector<Corpus> corpora = {
      {"empty", {}},
      {"one byte", {0x42}},
      {"random", RandomBytes(50000, 1)},
      {"text", TextLike(100000, 2)},
      {"a run longer than the longest match", Repeat(0, 30000)},
      {"a repeat beyond 65536 bytes", farRepeat},
      {"every byte value (no unused escape)", allBytes},
      {"noise between two copies of a text", noiseBetween},
      {"a repeat beyond the chain window", beyondChains},
  };
  for (const Corpus& c : corpora) {
    std::vector<uint8_t> block = qpa::CompressBlock(c.data.data(), c.data.size());
    std::vector<uint8_t> out;
    ASSERT_EQ(Expand(block, &out, static_cast<uint32_t>(c.data.size())), static_cast<int64_t>(c.data.size()))
        << c.what;
    out.resize(c.data.size());
    EXPECT_EQ(out, c.data) << c.what;
  }
  std::vector<uint8_t> text = TextLike(100000, 2);
  EXPECT_LT(qpa::CompressBlock(text.data(), text.size()).size(), text.size() / 3) << "text should compress";
  std::vector<uint8_t> oneText = TextLike(20000, 4);
  size_t textAlone = qpa::CompressBlock(oneText.data(), oneText.size()).size();
  EXPECT_LT(qpa::CompressBlock(noiseBetween.data(), noiseBetween.size()).size(), textAlone + 60000 * 257 / 256 + 500)
      << "the text after the noise should match the text before it";
  std::vector<uint8_t> zeros = Repeat(0, 30000);
  EXPECT_LT(qpa::CompressBlock(zeros.data(), zeros.size()).size(), 40u) << "runs use the longest matches";
}
