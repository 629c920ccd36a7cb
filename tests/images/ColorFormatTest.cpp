// Colour formats and single colour values.
#include <gtest/gtest.h>

#include "tests/images/ImageTestSupport.h"

using namespace imagetest;

TEST(ColorFormat, GenericBuilderFindsShiftsWidthsAndUnusedBits) {
  ColorFormat f = Generic(16, 0x7C00, 0x3E0, 0x1F, 0);
  EXPECT_EQ(f.bytesPerPixel, 2);
  EXPECT_EQ(f.redShift, 10);
  EXPECT_EQ(f.redWidth, 5);
  EXPECT_EQ(f.blueShift, 0);
  EXPECT_EQ(f.alphaWidth, 0);
  EXPECT_EQ(f.alphaShift, 0);
  EXPECT_EQ(f.noneMask, 0x8000u);
  EXPECT_EQ(f.noneShift, 15);
  EXPECT_EQ(f.noneWidth, 1);

  ColorFormat full32 = Generic(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
  EXPECT_EQ(full32.noneMask, 0u);
  EXPECT_EQ(full32.noneWidth, 0);
  EXPECT_EQ(Generic(32, 0xFF0000, 0xFF00, 0xFF, 0).noneMask, 0xFF000000u);
}

TEST(ColorFormat, StandardBuilders) {
  EXPECT_EQ(Xrgb8().noneMask, 0xFF000000u);
  EXPECT_EQ(Xrgb8().noneShift, 24);
  EXPECT_EQ(Argb8().alphaMask, 0xFF000000u);
  EXPECT_EQ(FullColor().bytesPerPixel, 3);
  EXPECT_EQ(FullColor().noneMask, 0u);
  ColorFormat gray = Gray();
  EXPECT_EQ(gray.palette[77][0], 77);
  EXPECT_EQ(gray.palette[77][2], 77);
  EXPECT_EQ(gray.palette[77][3], 0);
  EXPECT_TRUE(IsPaletteFormat(gray));
  EXPECT_FALSE(IsPaletteFormat(Generic(8, 0xE0, 0x1C, 0x3, 0)));

  PixelImage image{};
  image.blockCompression = 3;
  SetFullColorFormat(&image);
  EXPECT_EQ(image.blockCompression, 0);
}

TEST(ColorFormat, RecomputeNoneMask) {
  ColorFormat f = Argb8();
  f.alphaWidth = 0;
  f.alphaMask = 0;
  RecomputeNoneMask(&f);
  EXPECT_EQ(f.noneMask, 0xFF000000u);
  EXPECT_EQ(f.noneWidth, 8);
  f = Xrgb8();
  f.alphaWidth = 8;
  f.alphaMask = 0xFF000000;
  RecomputeNoneMask(&f);
  EXPECT_EQ(f.noneMask, 0u);
}

TEST(ColorValues, Encode) {
  EXPECT_EQ(EncodeColor(Xrgb8(), 255, 128, 0, 0), 0xFFFF8000u);
  EXPECT_EQ(EncodeColor(Xrgb8(), 0, 0, 0, 0) >> 24, 0xFFu);
  EXPECT_EQ(EncodeColor(FullColor(), 255, 255, 255, 255), 0xFFFFFFu);
  EXPECT_EQ(EncodeColor(Argb8(), 1, 2, 3, 4), 0x04010203u);
  EXPECT_EQ(EncodeColor(R5G6B5(), 255, 255, 255, 0), 0xFFFFu);
  EXPECT_EQ(EncodeColor(A1R5G5B5(), 0, 0, 0, 200), 0x8000u);
  EXPECT_EQ(EncodeColor(Generic(32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000), 255, 0, 0, 0),
            0x3FC00000u);
}

TEST(ColorValues, EncodeIntoPaletteTakesNearestLowestIndex) {
  ColorFormat f{};
  SetPaletteColorFormat(&f);
  std::memset(f.palette, 0, sizeof f.palette);
  auto set = [&](int i, uint8_t r, uint8_t g, uint8_t b) {
    f.palette[i][0] = b;
    f.palette[i][1] = g;
    f.palette[i][2] = r;
  };
  for (int i = 0; i < 256; ++i) set(i, 255, 255, 255);
  set(9, 10, 20, 30);
  set(4, 10, 20, 30);
  set(200, 12, 20, 30);
  EXPECT_EQ(EncodeColor(f, 10, 20, 30, 0), 4u);
  EXPECT_EQ(EncodeColor(f, 13, 20, 30, 0), 200u);
  EXPECT_EQ(EncodeColor(f, 250, 250, 250, 0), 0u);
}

TEST(ColorValues, Decode) {
  int r, g, b, a;
  DecodeColor(A1R5G5B5(), 0x8000 | (31 << 10) | (16 << 5), &r, &g, &b, &a);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 131);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(a, 255);
  DecodeColor(Xrgb8(), 0x00123456, &r, &g, &b, &a);
  EXPECT_EQ(r, 0x12);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x56);
  EXPECT_EQ(a, 0);
  DecodeColor(Argb8(), 0x80000000, nullptr, nullptr, nullptr, &a);
  EXPECT_EQ(a, 0x80);
}

TEST(ColorValues, ConvertByPlainShifts) {
  EXPECT_EQ(ConvertColor(Xrgb8(), R5G6B5(), 0xFFFF), 0xFFF8FCF8u);
  EXPECT_EQ(ConvertColor(R5G6B5(), Xrgb8(), 0x00FF8040), 0xFC08u);
  // Same layout: the value with the unused bits set.
  EXPECT_EQ(ConvertColor(Xrgb8(), Generic(32, 0xFF0000, 0xFF00, 0xFF, 0), 0x123456), 0xFF123456u);
  // No source alpha: full destination alpha.
  EXPECT_EQ(ConvertColor(A1R5G5B5(), R5G6B5(), 0) & 0x8000u, 0x8000u);
  EXPECT_EQ(ConvertColor(Argb8(), A1R5G5B5(), 0x8000) >> 24, 0x80u);
}
