#include <gtest/gtest.h>

#include <vector>

#include "engine/graphics/hardware/TextureSize.h"

namespace {

std::vector<int> Split(int size, int maxTexture, int screenWidth) {
  int pieces[MAX_TEXTURE_SPLITS];
  int count = SplitTextureSize(size, maxTexture, screenWidth, pieces);
  return std::vector<int>(pieces, pieces + count);
}

struct SplitCase {
  int size, maxTexture, screenWidth;
  std::vector<int> pieces;
};

TEST(SplitTextureSize, GivesThePiecesOfTheExamples) {
  const SplitCase cases[] = {
      {384, 2048, 800, {512}},            // the actor sheet's height
      {144, 2048, 800, {256}},            // its width
      {800, 2048, 800, {512, 256, 32}},   // as wide as the screen: cut
      {1000, 2048, 800, {1024}},          // two halves merged
      {8, 2048, 800, {8}},                // never below 8
      {3, 2048, 800, {8}},
      {9, 2048, 800, {16}},
      {512, 2048, 800, {512}},            // exactly a power of two
      {512, 512, 800, {512}},             // at the device maximum
      {600, 256, 800, {256, 256, 64, 16, 8}},  // a small device cuts below the screen width too
      {5000, 2048, 800, {2048, 2048, 1024}},
  };
  for (const SplitCase& c : cases)
    EXPECT_EQ(Split(c.size, c.maxTexture, c.screenWidth), c.pieces)
        << "size " << c.size << ", maximum " << c.maxTexture;
}

// Whatever the size: powers of two no larger than the device allows, that
// together cover the size.
TEST(SplitTextureSize, PiecesArePowersOfTwoWithinTheMaximumThatCoverTheSize) {
  for (int maxTexture : {256, 1024, 2048}) {
    for (int size = 1; size <= 3 * maxTexture; size += 7) {
      std::vector<int> pieces = Split(size, maxTexture, 800);
      int total = 0;
      for (int piece : pieces) {
        EXPECT_EQ(piece & (piece - 1), 0) << size;
        EXPECT_LE(piece, maxTexture) << size;
        total += piece;
      }
      EXPECT_GE(total, size) << "maximum " << maxTexture;
    }
  }
}

}  // namespace
