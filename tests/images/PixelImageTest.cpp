// Pixel images: creation, pixel access, copies, scaling, halving,
// mirroring and DXT expansion.
#include <gtest/gtest.h>

#include "engine/images/PixelCopy.h"
#include "engine/services/Memory.h"
#include "tests/images/ImageTestSupport.h"

using namespace imagetest;

namespace {

struct Image {
  PixelImage image{};
  Image(int w, int h, const ColorFormat& f) { EXPECT_EQ(CreatePixelImage(w, h, &f, &image), 0); }
  ~Image() { ReleasePixelImage(&image); }
  PixelImage* operator->() { return &image; }
  PixelImage* get() { return &image; }
};

}  // namespace

TEST(PixelImage, CreateRoundsPitchAndReleaseClears) {
  Image img(5, 3, FullColor());
  EXPECT_EQ(img->pitch, 16);
  EXPECT_NE(img->pixels, nullptr);
  ReleasePixelImage(img.get());
  EXPECT_EQ(img->pixels, nullptr);
  EXPECT_EQ(img->width, 0);
  EXPECT_EQ(img->format.bitsPerPixel, 0);
  PixelImage big{};
  EXPECT_EQ(CreateArgb8PixelImage(100000, 100000, &big), -1);
  EXPECT_EQ(big.pixels, nullptr);
}

TEST(PixelImage, GetAndSetPixelColor) {
  Image img(4, 4, R5G6B5());
  EXPECT_EQ(SetPixelColor(img.get(), 3, 3, 255, 0, 255, 0), 0);
  EXPECT_EQ(PixelArgb(img.get(), 3, 3), 0x00FF00FFu);
  EXPECT_EQ(SetPixelColor(img.get(), 4, 0, 0, 0, 0, 0), -1);
  EXPECT_EQ(GetPixelColor(img.get(), -1, 0, nullptr, nullptr, nullptr, nullptr), -1);

  std::mt19937 random(1);
  ColorFormat palette = Palette(random);
  Image pal(2, 2, palette);
  static_cast<uint8_t*>(pal->pixels)[1] = 7;
  const uint8_t* e = palette.palette[7];
  EXPECT_EQ(PixelArgb(pal.get(), 1, 0),
            (uint32_t{e[3]} << 24) | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0]);
}

TEST(PixelImage, ClearPixelRectZeroesOnlyTheRectangle) {
  Image img(4, 3, Argb8());
  std::memset(img->pixels, 0xAB, static_cast<size_t>(img->pitch) * 3);
  EXPECT_EQ(ClearPixelRect(img.get(), 1, 1, 2, 2), 0);
  EXPECT_EQ(PixelArgb(img.get(), 1, 1), 0u);
  EXPECT_EQ(PixelArgb(img.get(), 2, 2), 0u);
  EXPECT_EQ(PixelArgb(img.get(), 0, 1), 0xABABABABu);
  EXPECT_EQ(PixelArgb(img.get(), 3, 2), 0xABABABABu);
  EXPECT_EQ(ClearPixelRect(img.get(), 3, 0, 2, 1), -1);
}

TEST(PixelCopy, BltClipsNegativePositions) {
  Image src(6, 2, Xrgb8()), dst(8, 2, Xrgb8());
  for (int x = 0; x < 6; ++x) SetPixelColor(src.get(), x, 0, x * 10, 0, 0, 0);
  std::memset(dst->pixels, 0, static_cast<size_t>(dst->pitch) * 2);
  EXPECT_EQ(BltPixelImage(-3, 0, 5, 1, 1, 0, src.get(), dst.get()), 0);
  // Two columns survive: source 0 and 1 land at dx + 3.
  EXPECT_EQ(static_cast<uint32_t*>(dst->pixels)[4], 0xFF000000u);  // source column 0
  EXPECT_EQ(PixelArgb(dst.get(), 5, 0) & 0xFFFFFF, 0x0A0000u);
  EXPECT_EQ(static_cast<uint32_t*>(dst->pixels)[3], 0u);  // not written
  EXPECT_EQ(static_cast<uint32_t*>(dst->pixels)[6], 0u);

  // Negative destination moves the source; the right edge cuts the width.
  std::memset(dst->pixels, 0, static_cast<size_t>(dst->pitch) * 2);
  EXPECT_EQ(BltPixelImage(0, 0, 6, 1, -2, 0, src.get(), dst.get()), 0);
  EXPECT_EQ(PixelArgb(dst.get(), 0, 0) & 0xFFFFFF, 0x140000u);
  EXPECT_EQ(PixelArgb(dst.get(), 3, 0) & 0xFFFFFF, 0x320000u);
  EXPECT_EQ(static_cast<uint32_t*>(dst->pixels)[4], 0u);
  EXPECT_EQ(BltPixelImage(0, 0, 6, 1, 8, 0, src.get(), dst.get()), 0);  // nothing to copy
}

TEST(PixelCopy, ScaleNearestAndBilinear) {
  Image src(2, 1, Xrgb8()), dst(4, 1, Xrgb8()), dst3(3, 1, Xrgb8());
  SetPixelColor(src.get(), 0, 0, 0, 0, 0, 0);
  SetPixelColor(src.get(), 1, 0, 255, 255, 255, 0);
  ASSERT_EQ(ScaleBltPixelImage(0, 0, 2, 1, src.get(), 0, 0, 4, 1, dst.get(), 0), 0);
  const uint32_t expected[4] = {0, 0, 0xFFFFFF, 0xFFFFFF};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelArgb(dst.get(), x, 0) & 0xFFFFFF, expected[x]) << x;

  ASSERT_EQ(ScaleBltPixelImage(0, 0, 2, 1, src.get(), 0, 0, 3, 1, dst3.get(), 1), 0);
  EXPECT_EQ(PixelArgb(dst3.get(), 0, 0) & 0xFF, 0u);
  EXPECT_EQ(PixelArgb(dst3.get(), 1, 0) & 0xFF, 169u);  // 2/3 of the way, 16.16 weights
  EXPECT_EQ(PixelArgb(dst3.get(), 2, 0) & 0xFF, 254u);  // last column repeats itself

  EXPECT_EQ(ScaleBltPixelImage(0, 0, 3, 1, src.get(), 0, 0, 4, 1, dst.get(), 0), -1);
  EXPECT_EQ(ScaleBltPixelImage(1, 0, 1, 1, src.get(), 0, 0, 4, 1, dst.get(), 0), -1);
}

TEST(PixelCopy, HalfScale) {
  ColorFormat f = Xrgb8();
  uint32_t src[2][4] = {{0x00000004, 0x00000008, 0x00100000, 0x00300000},
                        {0x0000000C, 0x00000010, 0x00200000, 0x00400000}};
  uint32_t dst[2] = {};
  ASSERT_EQ(HalfScalePixels(f, dst, 8, src, 16, nullptr, 4, 2), 0);
  EXPECT_EQ(dst[0], 0xFF00000Au);
  EXPECT_EQ(dst[1], 0xFF280000u);

  uint16_t column[4] = {0xF800, 0x0000, 0x001F, 0x001F};  // 1 x 4, 5-6-5
  uint16_t half[2] = {};
  ASSERT_EQ(HalfScalePixels(R5G6B5(), half, 2, column, 2, nullptr, 1, 4), 0);
  EXPECT_EQ(half[0], 15 << 11);
  EXPECT_EQ(half[1], 0x1F);

  HalfScalePositions at{1, 0, 2, 0};
  uint32_t out[3] = {};
  ASSERT_EQ(HalfScalePixels(f, out, 12, src, 16, &at, 2, 2), 0);
  EXPECT_EQ(out[0], 0u);
  EXPECT_EQ(out[1], 0xFF280000u);

  EXPECT_EQ(HalfScalePixels(f, dst, 8, src, 16, nullptr, 3, 2), -1);
  EXPECT_EQ(HalfScalePixels(f, dst, 8, src, 16, nullptr, 4, 3), -1);
}

TEST(PixelCopy, MirrorReversesRowsOfEverySize) {
  for (ColorFormat f : {Gray(), R5G6B5(), FullColor(), Argb8()}) {
    Image img(3, 2, f);
    uint8_t* p = static_cast<uint8_t*>(img->pixels);
    for (int i = 0; i < img->pitch * 2; ++i) p[i] = static_cast<uint8_t>(i);
    std::vector<uint8_t> before(p, p + img->pitch * 2);
    ASSERT_EQ(MirrorPixelImage(img.get()), 0);
    int bpp = f.bytesPerPixel;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(std::memcmp(p + y * img->pitch + x * bpp, &before[y * img->pitch + (2 - x) * bpp], bpp), 0);
  }
  PixelImage empty{};
  EXPECT_EQ(MirrorPixelImage(&empty), -1);
}

TEST(BlockCompression, ExpandsDxt1Dxt3Dxt5) {
  // DXT1: red and blue end points, indices 0,1,2,3 in the first row.
  const uint8_t dxt1[8] = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0};
  const uint8_t dxt1Transparent[8] = {0x1F, 0x00, 0x00, 0xF8, 0xE4, 0, 0, 0};
  struct Case {
    int kind;
    std::vector<uint8_t> block;
    uint32_t firstRow[4];
  } cases[] = {
      {1, {dxt1, dxt1 + 8}, {0xFFFF0000, 0xFF0000FF, 0xFFAA0055, 0xFF5500AA}},
      {1, {dxt1Transparent, dxt1Transparent + 8}, {0xFF0000FF, 0xFFFF0000, 0xFF7F007F, 0}},
      {3, {0xF0, 0x08, 0, 0, 0, 0, 0, 0, 0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0},
       {0x00FF0000, 0xFF0000FF, 0x88AA0055, 0x005500AA}},
      {5, {255, 0, 0x88, 0, 0, 0, 0, 0, 0x00, 0xF8, 0x1F, 0x00, 0xE4, 0, 0, 0},
       {0xFFFF0000, 0x000000FF, 0xDAAA0055, 0}},
  };
  for (const Case& c : cases) {
    PixelImage img{};
    SetArgb8ColorFormat(&img);
    img.format.bitsPerPixel = c.kind == 1 ? 4 : 8;
    img.blockCompression = c.kind;
    img.width = 3;  // a partial block
    img.height = 2;
    img.pixels = MemAlloc(c.block.size(), "", 0);
    std::memcpy(img.pixels, c.block.data(), c.block.size());
    EXPECT_EQ(PixelArgb(&img, 0, 0), c.firstRow[0]) << c.kind;  // expands on first access
    EXPECT_EQ(img.blockCompression, 0);
    EXPECT_EQ(img.pitch, 12);
    for (int x = 1; x < 3; ++x) EXPECT_EQ(PixelArgb(&img, x, 0), c.firstRow[x]) << c.kind << " " << x;
    EXPECT_EQ(PixelArgb(&img, 0, 1) & 0xFFFFFF, c.firstRow[0] & 0xFFFFFF);  // index 0 below
    ReleasePixelImage(&img);
  }
}
