// The key: made from the first 12 characters of the key string, each byte
// through its own step, and applied by file offset.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/files/archive/ArchiveKey.h"
#include "tests/files/FilesFixture.h"

TEST(ArchiveKey, OnlyTheFirstTwelveCharactersCount) {
  uint8_t a[ARCHIVE_KEY_SIZE], b[ARCHIVE_KEY_SIZE];
  MakeArchiveKey("7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e", a);
  MakeArchiveKey("7f3c9e0b51d2", b);
  EXPECT_EQ(std::memcmp(a, b, ARCHIVE_KEY_SIZE), 0);
  MakeArchiveKey("7f3c9e0b51d3", b);
  EXPECT_NE(std::memcmp(a, b, ARCHIVE_KEY_SIZE), 0);
}

TEST(ArchiveKey, ShortStringsRepeatAndEachByteHasItsOwnStep) {
  // "A" repeated: the bytes differ only by their steps, so the steps that
  // involve no constant can be checked exactly.
  uint8_t key[ARCHIVE_KEY_SIZE];
  MakeArchiveKey("A", key);  // 0x41
  EXPECT_EQ(key[0], 0xBE);   // inverted
  EXPECT_EQ(key[1], 0x14);   // nibbles swapped
  EXPECT_EQ(key[3], 0xEB);   // swapped, then inverted
  EXPECT_EQ(key[4], 0xBE);
  EXPECT_EQ(key[6], 0xBE);
  EXPECT_EQ(key[7], static_cast<uint8_t>(~((0x41 >> 3) | (0x41 << 5))));  // rotated right 3, inverted
  EXPECT_EQ(key[8], static_cast<uint8_t>((0x41 << 3) | (0x41 >> 5)));     // rotated left 3
  // The XOR constants are all different, so no two of those bytes agree.
  EXPECT_NE(key[2], key[5]);
  EXPECT_NE(key[9], key[11]);
}

TEST(ArchiveKey, NoKeyStringAndFallbackDiffer) {
  uint8_t none[ARCHIVE_KEY_SIZE], empty[ARCHIVE_KEY_SIZE], fallback[ARCHIVE_KEY_SIZE];
  MakeArchiveKey(nullptr, none);
  MakeArchiveKey("", empty);  // an empty string counts as no key string
  MakeFallbackArchiveKey(fallback);
  EXPECT_EQ(std::memcmp(none, empty, ARCHIVE_KEY_SIZE), 0);
  EXPECT_NE(std::memcmp(none, fallback, ARCHIVE_KEY_SIZE), 0);
  for (int i = 1; i < ARCHIVE_KEY_SIZE; ++i) EXPECT_EQ(fallback[i], fallback[0]);
}

TEST(ApplyArchiveKey, KeysByFileOffsetWhateverTheSplit) {
  uint8_t key[ARCHIVE_KEY_SIZE];
  MakeArchiveKey("split", key);
  std::vector<uint8_t> data = RandomBytes(1000, 9);
  std::vector<uint8_t> whole = data, pieces = data;
  ApplyArchiveKey(1000, whole.data(), 5000, key);
  uint32_t next = 5000 % 12;
  size_t at = 0;
  for (size_t piece : {1u, 7u, 300u, 95u, 597u}) {
    uint32_t returned = ApplyArchiveKey(static_cast<uint32_t>(piece), pieces.data() + at, 5000 + static_cast<uint32_t>(at), key);
    at += piece;
    next = (5000 + static_cast<uint32_t>(at)) % 12;
    EXPECT_EQ(returned, next);
  }
  EXPECT_EQ(whole, pieces);
  // A byte at offset 1000 is keyed with k[1000 mod 12] = k[4].
  uint8_t b = 0;
  ApplyArchiveKey(1, &b, 1000, key);
  EXPECT_EQ(b, key[4]);
}

TEST(SetArchiveKey, KeepsTwelveCharactersAndNullClears) {
  SetArchiveKey("7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e");
  ASSERT_NE(CurrentArchiveKeyString(), nullptr);
  EXPECT_STREQ(CurrentArchiveKeyString(), "7f3c9e0b51d2");
  SetArchiveKey("short");
  EXPECT_STREQ(CurrentArchiveKeyString(), "short");
  SetArchiveKey(nullptr);
  EXPECT_EQ(CurrentArchiveKeyString(), nullptr);
}
