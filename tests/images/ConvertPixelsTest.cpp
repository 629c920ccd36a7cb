// ConvertPixels: the general rule case by case, and every special-cased
// path against the general rule over random images and every option.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/images/ConvertPixels.h"
#include "engine/images/PixelConversion.h"
#include "tests/images/ImageTestSupport.h"

using namespace imagetest;

namespace {

// One conversion with all options off unless set.
struct Convert {
  const ColorFormat* dst;
  const ColorFormat* src;
  const void* alpha = nullptr;
  int alphaPitch = 0;
  const ColorFormat* alphaFormat = nullptr;
  int mirror = 0, keyToAlpha = 0, dither = 0, alphaOnly = 0, alphaFromRed = 0, keyedCopy = 0,
      paletteRemap = 0;
  uint32_t key = 0;

  int Run(void* dstPixels, int dstPitch, const void* srcPixels, int srcPitch, PixelRect rect,
          int x = 0, int y = 0) const {
    return ConvertPixels(dstPixels, dstPitch, *dst, srcPixels, srcPitch, *src, alpha, alphaPitch,
                         alphaFormat, x, y, rect, mirror, keyToAlpha, key, dither, alphaOnly,
                         alphaFromRed, keyedCopy, paletteRemap);
  }
};

struct GeneralOnly {
  GeneralOnly() { SetGeneralConversionOnly(true); }
  ~GeneralOnly() { SetGeneralConversionOnly(false); }
};

}  // namespace

TEST(ConvertPixels, PaletteSourceGivesEntryColoursAndOpaqueAlpha) {
  std::mt19937 random(3);
  ColorFormat pal = Palette(random), argb = Argb8();
  uint8_t src[4] = {0, 5, 200, 255};
  uint32_t dst[4] = {};
  ASSERT_EQ((Convert{&argb, &pal}.Run(dst, 16, src, 4, {0, 0, 4, 1})), 0);
  for (int i = 0; i < 4; ++i) {
    const uint8_t* e = pal.palette[src[i]];
    EXPECT_EQ(dst[i], 0xFF000000u | (e[2] << 16) | (e[1] << 8) | e[0]);
  }
}

TEST(ConvertPixels, WideningGoesToFullScaleNarrowingDropsBits) {
  ColorFormat f565 = R5G6B5(), xrgb = Xrgb8();
  uint16_t src[2] = {0xFFFF, (16 << 11) | (32 << 5) | 1};
  uint32_t dst[2] = {};
  {
    GeneralOnly general;
    ASSERT_EQ((Convert{&xrgb, &f565}.Run(dst, 8, src, 4, {0, 0, 2, 1})), 0);
  }
  EXPECT_EQ(dst[0], 0xFFFFFFFFu);
  EXPECT_EQ(dst[1], 0xFF000000u | (131u << 16) | (129u << 8) | 8u);
  uint16_t back[2] = {};
  uint32_t colours[2] = {0x00FF8107, 0x00070000};
  ASSERT_EQ((Convert{&f565, &xrgb}.Run(back, 4, colours, 8, {0, 0, 2, 1})), 0);
  EXPECT_EQ(back[0], (31 << 11) | (32 << 5) | 0);
  EXPECT_EQ(back[1], 0);
}

TEST(ConvertPixels, AlphaSourcesInTheirOrder) {
  ColorFormat argb = Argb8(), full = FullColor(), gray = Gray();
  const uint8_t colour[3] = {0x10, 0x20, 0x30};       // blue, green, red
  const uint32_t withAlpha = 0x40302010;              // alpha 0x40
  const uint8_t alphaImage[1] = {0x99};               // gray: red 0x99
  uint32_t out = 0;
  Convert c{&argb, &full};
  c.Run(&out, 4, colour, 3, {0, 0, 1, 1});
  EXPECT_EQ(out, 0xFF302010u);  // opaque
  c.alpha = alphaImage;
  c.alphaPitch = 1;
  c.alphaFormat = &gray;
  c.Run(&out, 4, colour, 3, {0, 0, 1, 1});
  EXPECT_EQ(out, 0x99302010u);  // the alpha image's red
  Convert withOwnAlpha{&argb, &argb};
  withOwnAlpha.alpha = alphaImage;
  withOwnAlpha.alphaPitch = 1;
  withOwnAlpha.alphaFormat = &gray;
  withOwnAlpha.dither = 1;  // keeps it off the plain copy
  withOwnAlpha.Run(&out, 4, &withAlpha, 4, {0, 0, 1, 1});
  EXPECT_EQ(out, 0x40302010u);  // the source's own alpha wins
  c.alphaFromRed = 1;
  c.Run(&out, 4, colour, 3, {0, 0, 1, 1});
  EXPECT_EQ(out, 0x30302010u);  // red instead
}

TEST(ConvertPixels, ColourKeyRules) {
  ColorFormat argb = Argb8(), xrgb = Xrgb8(), gray = Gray();
  const uint32_t src[3] = {0x00FF00FF, 0x00123456, 0xFFFF00FF};
  uint32_t out[3];
  Convert c{&argb, &xrgb};
  c.keyToAlpha = 1;
  c.key = 0xFF00FF;
  c.Run(out, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(out[0], 0x00FF00FFu);
  EXPECT_EQ(out[1], 0xFF123456u);
  EXPECT_EQ(out[2], 0x00FF00FFu);  // unused bits are not part of the colour
  // Not honoured with an alpha image.
  const uint8_t opaque[3] = {255, 255, 255};
  c.alpha = opaque;
  c.alphaPitch = 3;
  c.alphaFormat = &gray;
  c.Run(out, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(out[0] >> 24, 0xFFu);
  // Not into a destination without alpha, nor from a source with alpha.
  Convert intoXrgb{&xrgb, &xrgb};
  intoXrgb.keyToAlpha = 1;
  intoXrgb.key = 0xFF00FF;
  intoXrgb.Run(out, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(out[0], 0xFFFF00FFu);
  Convert fromArgb{&argb, &argb};
  fromArgb.keyToAlpha = 1;
  fromArgb.key = 0xFF00FF;
  fromArgb.Run(out, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(out[2], 0xFFFF00FFu);

  // keyedCopy leaves keyed pixels alone, except with mirror.
  uint32_t target[3] = {1, 2, 3};
  Convert keyed{&xrgb, &xrgb};
  keyed.keyedCopy = 1;
  keyed.key = 0xFF00FF;
  keyed.Run(target, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(target[0], 1u);
  EXPECT_EQ(target[1], 0xFF123456u);
  EXPECT_EQ(target[2], 3u);
  keyed.mirror = 1;
  keyed.Run(target, 12, src, 12, {0, 0, 3, 1});
  EXPECT_EQ(target[0], 0xFFFF00FFu);
  EXPECT_EQ(target[1], 0xFF123456u);
}

TEST(ConvertPixels, AlphaOnlyMirrorAndOffsets) {
  ColorFormat argb = Argb8();
  const uint32_t src[2][3] = {{0x80112233, 0x40445566, 0x20778899}, {1, 2, 3}};
  uint32_t out[2][4] = {};
  Convert c{&argb, &argb};
  c.alphaOnly = 1;
  c.Run(out, 16, src, 12, {0, 0, 3, 1}, 1, 1);
  EXPECT_EQ(out[1][1], 0x80000000u);
  EXPECT_EQ(out[1][3], 0x20000000u);
  EXPECT_EQ(out[0][1], 0u);
  Convert m{&argb, &argb};
  m.mirror = 1;
  m.Run(out, 16, src, 12, {1, 0, 3, 1}, 0, 0);
  EXPECT_EQ(out[0][0], 0x20778899u);
  EXPECT_EQ(out[0][1], 0x40445566u);
  EXPECT_EQ((Convert{&argb, &argb}.Run(out, 16, src, 12, {1, 0, 1, 1})), -1);
}

TEST(ConvertPixels, PaletteDestinations) {
  std::mt19937 random(5);
  ColorFormat a = Palette(random), b = Palette(random), xrgb = Xrgb8();
  uint8_t src[3] = {1, 2, 3};
  uint8_t out[3] = {};
  Convert keep{&b, &a};
  keep.Run(out, 3, src, 3, {0, 0, 3, 1});
  EXPECT_EQ(std::vector<uint8_t>(out, out + 3), std::vector<uint8_t>(src, src + 3));
  Convert remap{&b, &a};
  remap.paletteRemap = 1;
  remap.Run(out, 3, src, 3, {0, 0, 3, 1});
  for (int i = 0; i < 3; ++i) {
    const uint8_t* e = a.palette[src[i]];
    EXPECT_EQ(out[i], EncodeColor(b, e[2], e[1], e[0], 0));
  }
  const uint32_t colours[1] = {0x00000000};
  Convert encode{&b, &xrgb};
  encode.Run(out, 3, colours, 4, {0, 0, 1, 1});
  EXPECT_EQ(out[0], EncodeColor(b, 0, 0, 0, 0));
}

TEST(ConvertPixels, OrderedDitherFollowsTheMatrix) {
  ColorFormat full = FullColor(), f565 = R5G6B5();
  // Red 0x04: 3 dropped bits worth 4; rounded up where 4 > (8 * B) / 16.
  std::vector<uint8_t> src(4 * 4 * 3, 0);
  for (int i = 0; i < 16; ++i) src[i * 3 + 2] = 0x04;
  uint16_t out[4][4] = {};
  Convert c{&f565, &full};
  c.dither = DITHER_ORDERED;
  c.Run(out, 8, src.data(), 12, {0, 0, 4, 4});
  const int matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(out[y][x] >> 11, 4 > (8 * matrix[y][x]) / 16 ? 1 : 0) << x << "," << y;
}

TEST(ConvertPixels, ErrorDiffusionCarriesDroppedBitsAlongTheRow) {
  ColorFormat full = FullColor(), f565 = R5G6B5();
  std::vector<uint8_t> src(6 * 2 * 3, 0);
  for (int i = 0; i < 12; ++i) src[i * 3 + 2] = 0x04;  // red: 4 of 7 dropped
  uint16_t out[2][6] = {};
  Convert c{&f565, &full};
  c.dither = DITHER_DIFFUSION;
  c.Run(out, 12, src.data(), 18, {0, 0, 6, 2});
  for (int y = 0; y < 2; ++y)  // the sums start again on every row
    for (int x = 0; x < 6; ++x) EXPECT_EQ(out[y][x] >> 11, x % 2) << x << "," << y;
  // A rounded-up channel never overflows.
  uint8_t white[3] = {0xFF, 0xFF, 0xFF};
  uint16_t w = 0;
  c.dither = DITHER_ORDERED;
  c.Run(&w, 2, white, 3, {0, 0, 1, 1});
  EXPECT_EQ(w, 0xFFFF);
}

// --- Special cases against the general rule ---

namespace {

struct NamedFormat {
  const char* name;
  ColorFormat format;
};

std::vector<NamedFormat> TestFormats(std::mt19937& random) {
  return {
      {"ARGB8", Argb8()},
      {"XRGB8", Xrgb8()},
      {"full colour", FullColor()},
      {"palette", Palette(random)},
      {"other palette", Palette(random)},
      {"gray", Gray()},
      {"R5G6B5", R5G6B5()},
      {"A1R5G5B5", A1R5G5B5()},
      {"X1R5G5B5", Generic(16, 0x7C00, 0x3E0, 0x1F, 0)},
      {"A4R4G4B4", Generic(16, 0xF00, 0xF0, 0xF, 0xF000)},
      {"R3G3B2", Generic(8, 0xE0, 0x1C, 0x3, 0)},
      {"A8R3G3B2", Generic(16, 0xE0, 0x1C, 0x3, 0xFF00)},
      {"A2R10G10B10", Generic(32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000)},
      {"A8B8G8R8", Generic(32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000)},
      {"R5G6B5 with alpha byte", Generic(32, 0xF800, 0x7E0, 0x1F, 0xFF0000)},
      {"24-bit X8B8G8... none", Generic(24, 0xFF0000, 0xFF00, 0xFF, 0)},
  };
}

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t n) {
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

}  // namespace

TEST(ConvertPixels, EverySpecialCaseMatchesTheGeneralRule) {
  std::mt19937 random(2024);
  std::vector<NamedFormat> formats = TestFormats(random);
  // Rows of nine written pixels: loops that take pixels in groups meet a
  // remainder too.
  const int width = 10, height = 5;
  std::map<std::string, int> served;
  int compared = 0;
  for (const NamedFormat& dst : formats) {
    for (const NamedFormat& src : formats) {
      const int sb = src.format.bytesPerPixel, db = dst.format.bytesPerPixel;
      const int srcPitch = width * sb + 3, dstPitch = (width + 2) * db + 1;
      std::vector<uint8_t> source = RandomBytes(random, static_cast<size_t>(srcPitch) * height);
      // Some pixels carry the key colour (and, for palettes, their entry).
      const uint32_t key = 0x00C0FFEE & 0xFFFFFF;
      for (int i = 0; i < width * height; i += 3) {
        uint8_t* p = &source[(i / width) * srcPitch + (i % width) * sb];
        if (IsPaletteFormat(src.format)) continue;
        uint32_t v = EncodeColor(src.format, 0xC0, 0xFF, 0xEE, random() & 0xFF);
        v |= static_cast<uint32_t>(random()) & (src.format.noneMask);
        WritePixelValue(p, sb, v);
      }
      ColorFormat srcFormat = src.format;
      if (IsPaletteFormat(srcFormat)) {
        srcFormat.palette[source[0]][2] = 0xC0;
        srcFormat.palette[source[0]][1] = 0xFF;
        srcFormat.palette[source[0]][0] = 0xEE;
      }
      ColorFormat alphaFormat = (random() & 1) ? Gray() : Xrgb8();
      const int alphaPitch = width * alphaFormat.bytesPerPixel;
      std::vector<uint8_t> alpha = RandomBytes(random, static_cast<size_t>(alphaPitch) * height);
      std::vector<uint8_t> before = RandomBytes(random, static_cast<size_t>(dstPitch) * (height + 1));

      for (int options = 0; options < 3 * 128; ++options) {
        ConversionJob job{};
        job.destinationFormat = &dst.format;
        job.sourceFormat = &srcFormat;
        job.sourcePitch = srcPitch;
        job.destinationPitch = dstPitch;
        job.alpha = (options & 1) ? alpha.data() : nullptr;
        job.alphaPitch = alphaPitch;
        job.alphaFormat = &alphaFormat;
        job.mirror = options & 2;
        job.keyToAlpha = options & 4;
        job.keyedCopy = options & 8;
        job.alphaOnly = options & 16;
        job.alphaFromRed = options & 32;
        job.paletteRemap = options & 64;
        job.ditherMode = options / 128;
        job.key = key;
        job.sourceRect = {1, 0, width, height};
        job.destinationX = 2;
        job.destinationY = 1;
        job.source = source.data();

        std::vector<uint8_t> fast = before, general = before;
        job.destination = fast.data();
        const ConversionPath& path = SelectConversionPath(job);
        path.run(job);
        job.destination = general.data();
        ConvertPixelsGeneral(job);
        ++served[path.name];
        ++compared;
        ASSERT_EQ(fast, general) << path.name << ": " << src.name << " -> " << dst.name
                                 << ", options " << options;
      }
    }
  }
  int count = 0;
  const ConversionPath* paths = ConversionPaths(&count);
  for (int i = 0; i < count; ++i) EXPECT_GT(served[paths[i].name], 0) << paths[i].name;
  EXPECT_GT(compared, 0);
}

TEST(ConvertPixels, UploadPairsTakeTheirSpecialCases) {
  std::mt19937 random(1);
  ColorFormat argb = Argb8(), full = FullColor(), pal = Palette(random), f565 = R5G6B5(),
              f1555 = A1R5G5B5();
  struct Case {
    const ColorFormat* dst;
    const ColorFormat* src;
    bool keyToAlpha;
    const char* path;
  } cases[] = {
      {&argb, &argb, false, "plain copy"},
      {&argb, &full, true, "24-bit 8-bit channels to 32 bits"},
      {&argb, &pal, true, "palette lookup"},
      {&f565, &full, false, "8-bit channels to 16 bits"},
      {&f1555, &argb, false, "8-bit channels to 16 bits"},
  };
  for (const Case& c : cases) {
    ConversionJob job{};
    job.destinationFormat = c.dst;
    job.sourceFormat = c.src;
    job.keyToAlpha = c.keyToAlpha;
    job.sourceRect = {0, 0, 1, 1};
    EXPECT_STREQ(SelectConversionPath(job).name, c.path);
    SetGeneralConversionOnly(true);
    EXPECT_STREQ(SelectConversionPath(job).name, "general rule");
    SetGeneralConversionOnly(false);
  }
}
