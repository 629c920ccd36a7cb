// Every decoder on the fixtures (tests/images/make_fixtures.py): the same
// picture in every format and variant, compared pixel by pixel at the
// precision of the format; JPEG and DXT against ImageMagick's decoding of
// the same file, within a small tolerance.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLoader.h"
#include "tests/images/ImageTestSupport.h"

using namespace imagetest;

namespace {

constexpr int W = 13, H = 7;

std::vector<uint8_t> ReadFixture(const std::string& name) {
  std::string path = std::string(VEXLO_IMAGE_FIXTURES) + "/" + name;
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return bytes;
}

struct Decoded {
  PixelImage image{};
  const char* decoder = nullptr;
  int result = -1;
  int reads = 0;
  explicit Decoded(const std::vector<uint8_t>& bytes) {
    VectorStream stream{&bytes};
    StreamSource source = MakeVectorSource(&stream);
    result = DecodeImage(&source, &image, &decoder);
    reads = stream.reads;
  }
  ~Decoded() { ReleasePixelImage(&image); }
};

enum class Check { Exact, AgainstExpected };

struct Fixture {
  const char* file;
  const char* decoder;
  const char* reference;  // reference_<name>.rgba
  int colourBits;         // precision the colours are compared at
  int alphaBits;          // 0: the format has no alpha to compare
  int bitsPerPixel;       // of the decoded format
  Check check;
  // Lossy files only: the largest mean error per channel against the
  // picture (0: not checked; chroma subsampling and DXT's four colours per
  // block cannot hold this picture's single-pixel detail).
  double meanError = 0;
};

const Fixture FIXTURES[] = {
    {"bmp1.bmp", "BMP", "two", 8, 0, 24, Check::Exact},
    {"bmp4.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp4_rle.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp8.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp8_topdown.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp8_rle.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp8_v5header.bmp", "BMP", "main", 8, 0, 8, Check::Exact},
    {"bmp16.bmp", "BMP", "main", 5, 0, 24, Check::Exact},
    {"bmp16_565.bmp", "BMP", "main", 5, 0, 24, Check::Exact},
    {"bmp24.bmp", "BMP", "main", 8, 0, 24, Check::Exact},
    {"bmp24_topdown.bmp", "BMP", "main", 8, 0, 24, Check::Exact},
    {"bmp32.bmp", "BMP", "main", 8, 8, 32, Check::Exact},
    {"bmp32_bitfields.bmp", "BMP", "main", 8, 0, 24, Check::Exact},
    {"jpeg_rgb.jpg", "JPEG", "main", 8, 0, 24, Check::AgainstExpected, 6.0},
    {"jpeg_progressive.jpg", "JPEG", "main", 8, 0, 24, Check::AgainstExpected},
    {"jpeg_gray.jpg", "JPEG", "gray", 8, 0, 8, Check::AgainstExpected, 6.0},
    {"png_rgb.png", "PNG", "main", 8, 0, 24, Check::Exact},
    {"png_rgb16.png", "PNG", "main", 8, 0, 24, Check::Exact},
    {"png_rgba.png", "PNG", "main", 8, 8, 32, Check::Exact},
    {"png_interlaced.png", "PNG", "main", 8, 8, 32, Check::Exact},
    {"png_palette.png", "PNG", "main", 8, 0, 8, Check::Exact},
    {"png_palette4.png", "PNG", "main", 8, 0, 8, Check::Exact},
    {"png_palette_trns.png", "PNG", "palette_trns", 8, 8, 32, Check::Exact},
    {"png_gray.png", "PNG", "gray", 8, 0, 8, Check::Exact},
    {"png_gray2.png", "PNG", "gray", 2, 0, 8, Check::Exact},
    {"png_gray_alpha.png", "PNG", "gray", 8, 0, 16, Check::Exact},
    {"raw8.bgra", "BGRA", "main", 8, 8, 32, Check::Exact},
    {"raw16.bgra", "BGRA", "main", 8, 8, 32, Check::Exact},
    {"tga2_24.tga", "TGA", "main", 8, 0, 24, Check::Exact},
    {"tga2_32_top.tga", "TGA", "main", 8, 8, 32, Check::Exact},
    {"tga2_16.tga", "TGA", "main", 5, 1, 16, Check::Exact},
    {"tga2_24_right_to_left.tga", "TGA", "main", 8, 0, 24, Check::Exact},
    {"tga10_32_footer.tga", "TGA", "main", 8, 8, 32, Check::Exact},
    {"tga1_24.tga", "TGA", "main", 8, 0, 24, Check::Exact},
    {"tga9_24_top.tga", "TGA", "main", 8, 0, 24, Check::Exact},
    {"dds_code21.dds", "DDS", "main", 8, 8, 32, Check::Exact},
    {"dds_code23.dds", "DDS", "main", 5, 0, 16, Check::Exact},
    {"dds_code26.dds", "DDS", "main", 4, 4, 16, Check::Exact},
    {"dds_code32.dds", "DDS", "main", 8, 8, 32, Check::Exact},
    {"dds_rgb_mips.dds", "DDS", "main", 8, 8, 32, Check::Exact},
    {"dds_dxt1.dds", "DDS", "main", 8, 1, 4, Check::AgainstExpected},
    {"dds_dxt2.dds", "DDS", "main", 8, 8, 8, Check::AgainstExpected},
    {"dds_dxt3.dds", "DDS", "main", 8, 8, 8, Check::AgainstExpected},
    {"dds_dxt4.dds", "DDS", "main", 8, 8, 8, Check::AgainstExpected},
    {"dds_dxt5.dds", "DDS", "main", 8, 8, 8, Check::AgainstExpected},
};

// The lossy files: ImageMagick's decoding of the same file is stored
// beside them; the two decodings may differ by rounding only.
constexpr int LOSSY_TOLERANCE = 2;

std::string ExpectedFile(const std::string& file) {
  std::string stem = file.substr(0, file.rfind('.'));
  if (stem == "dds_dxt2") stem = "dds_dxt3";
  if (stem == "dds_dxt4") stem = "dds_dxt5";
  return stem + ".expected.rgba";
}

}  // namespace

TEST(DecoderFixtures, EveryFormatGivesThePicture) {
  for (const Fixture& f : FIXTURES) {
    SCOPED_TRACE(f.file);
    std::vector<uint8_t> bytes = ReadFixture(f.file);
    ASSERT_FALSE(bytes.empty()) << "missing fixture";
    std::vector<uint8_t> reference = ReadFixture(std::string("reference_") + f.reference + ".rgba");
    ASSERT_EQ(reference.size(), static_cast<size_t>(W * H * 4));
    Decoded d(bytes);
    ASSERT_EQ(d.result, 0);
    EXPECT_STREQ(d.decoder, f.decoder);
    EXPECT_EQ(d.image.format.bitsPerPixel, f.bitsPerPixel);
    ASSERT_EQ(d.image.width, W);
    ASSERT_EQ(d.image.height, H);

    std::vector<uint8_t> expected;
    if (f.check == Check::AgainstExpected) {
      expected = ReadFixture(ExpectedFile(f.file));
      ASSERT_EQ(expected.size(), reference.size());
    }
    double error = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        int got[4];
        ASSERT_EQ(GetPixelColor(&d.image, x, y, &got[0], &got[1], &got[2], &got[3]), 0);
        const uint8_t* ref = &reference[(y * W + x) * 4];
        for (int c = 0; c < 4; ++c) {
          const bool alpha = c == 3;
          if (alpha && f.alphaBits == 0) continue;
          const int bits = alpha ? f.alphaBits : f.colourBits;
          if (f.check == Check::Exact) {
            ASSERT_EQ(got[c] >> (8 - bits), ref[c] >> (8 - bits)) << "pixel " << x << "," << y << " channel " << c;
          } else {
            ASSERT_NEAR(got[c], expected[(y * W + x) * 4 + c], LOSSY_TOLERANCE)
                << "pixel " << x << "," << y << " channel " << c;
            error += std::abs(got[c] - ref[c]);
          }
        }
      }
    }
    if (f.meanError > 0) {
      EXPECT_LT(error / (W * H * (f.alphaBits ? 4 : 3)), f.meanError);
    }
  }
}

TEST(DecoderFixtures, DecodedLayouts) {
  {
    Decoded d(ReadFixture("bmp8_topdown.bmp"));
    ASSERT_EQ(d.result, 0);
    EXPECT_EQ(d.image.pitch, 16);
    for (const auto& entry : d.image.format.palette) EXPECT_EQ(entry[3], 0);
  }
  {
    Decoded d(ReadFixture("jpeg_rgb.jpg"));
    EXPECT_EQ(d.image.pitch, W * 3);  // not rounded
  }
  {
    Decoded d(ReadFixture("dds_dxt5.dds"));
    EXPECT_EQ(d.image.blockCompression, 5);
    EXPECT_EQ(d.image.pitch, 0);
  }
  {
    Decoded d(ReadFixture("dds_rgb_mips.dds"));
    EXPECT_EQ(d.image.pitch, W * 4 + 8);
    EXPECT_EQ(d.image.mipCount, 2);
  }
  {
    Decoded d(ReadFixture("tga2_16.tga"));
    EXPECT_EQ(d.image.format.alphaMask, 0x8000u);
    EXPECT_EQ(d.image.pitch, W * 2);
  }
}

TEST(DecoderFixtures, DecodersReadInFewLargeRequests) {
  struct Case {
    const char* file;
    int maxReads;
  } cases[] = {{"bmp24.bmp", 4}, {"bmp8_rle.bmp", 4}, {"tga10_32_footer.tga", 4},
               {"raw8.bgra", 3}, {"dds_dxt1.dds", 3}, {"jpeg_rgb.jpg", 3}};
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = ReadFixture(c.file);
    // Offered only to its own decoder, so the count is that decoder's.
    int count = 0;
    const NamedImageDecoder* table = ImageDecoderTable(&count);
    Decoded d(bytes);
    ASSERT_EQ(d.result, 0) << c.file;
    for (int i = 0; i < count; ++i) {
      if (std::string(table[i].name) != d.decoder) continue;
      VectorStream stream{&bytes};
      StreamSource source = MakeVectorSource(&stream);
      PixelImage image{};
      ASSERT_EQ(table[i].decode(&source, &image), 0);
      EXPECT_LE(stream.reads, c.maxReads) << c.file;
      ReleasePixelImage(&image);
    }
  }
}

TEST(DecoderFixtures, TruncatedFilesAreRejectedOrDecodedSafely) {
  for (const Fixture& f : FIXTURES) {
    std::vector<uint8_t> bytes = ReadFixture(f.file);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{17}, size_t{60}, bytes.size() / 2, bytes.size() - 1}) {
      if (cut >= bytes.size()) continue;
      std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(cut));
      Decoded d(part);
      if (d.result == 0) {
        EXPECT_NE(d.image.pixels, nullptr) << f.file << " cut at " << cut;
        EXPECT_GT(d.image.width, 0);
      } else {
        EXPECT_EQ(d.image.pixels, nullptr);
      }
    }
  }
}
