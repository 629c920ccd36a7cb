// Decoder details and bad input: small files built here byte by byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/images/ImageDecoders.h"
#include "engine/images/ImageLoader.h"
#include "tests/images/ImageTestSupport.h"

using namespace imagetest;

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte header; palette entries are (i, i, i, 0x77).
Bytes MakeBmp(int width, int height, int bits, uint32_t compression, const Bytes& data) {
  int paletteBytes = bits <= 8 ? (1 << bits) * 4 : 0;
  Bytes b(54 + paletteBytes);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size() + data.size()));
  Put32(b, 10, static_cast<uint32_t>(b.size()));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(width));
  Put32(b, 22, static_cast<uint32_t>(height));
  Put16(b, 26, 1);
  Put16(b, 28, static_cast<uint32_t>(bits));
  Put32(b, 30, compression);
  for (int i = 0; i < paletteBytes / 4; ++i) {
    b[54 + i * 4] = b[55 + i * 4] = b[56 + i * 4] = static_cast<uint8_t>(i);
    b[57 + i * 4] = 0x77;
  }
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

struct Decoded {
  PixelImage image{};
  const char* decoder = nullptr;
  int result = -1;
  explicit Decoded(const Bytes& bytes, ImageDecoder only = nullptr) {
    VectorStream stream{&bytes};
    StreamSource source = MakeVectorSource(&stream);
    result = only ? only(&source, &image) : DecodeImage(&source, &image, &decoder);
  }
  ~Decoded() { ReleasePixelImage(&image); }
  uint8_t At(int x, int y) const { return static_cast<const uint8_t*>(image.pixels)[y * image.pitch + x]; }
};

}  // namespace

TEST(BmpDecoder, BottomUp24BitRowsComeTopFirst) {
  Bytes rows(24);
  for (int i = 0; i < 24; ++i) rows[i] = static_cast<uint8_t>(i);
  Decoded d(MakeBmp(3, 2, 24, 0, rows));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.pitch, 12);
  EXPECT_EQ(d.At(0, 0), 12);  // the file's second row
  EXPECT_EQ(d.At(0, 1), 0);
}

TEST(BmpDecoder, TopDown8BitKeepsRowsAndClearsPaletteReservedBytes) {
  Bytes rows = {1, 2, 0, 0, 3, 4, 0, 0};
  Decoded d(MakeBmp(2, -2, 8, 0, rows));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.At(0, 0), 1);
  EXPECT_EQ(d.At(0, 1), 3);
  EXPECT_EQ(d.image.height, 2);
  EXPECT_EQ(d.image.format.palette[200][2], 200);
  for (const auto& entry : d.image.format.palette) ASSERT_EQ(entry[3], 0);
}

TEST(BmpDecoder, FourBitPixelsGetAByteEach) {
  Bytes rows = {0xAB, 0xCD, 0xE0, 0x00};
  Decoded d(MakeBmp(5, 1, 4, 0, rows));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.pitch, 8);
  EXPECT_EQ(d.image.format.bytesPerPixel, 1);
  const uint8_t expected[5] = {0xA, 0xB, 0xC, 0xD, 0xE};
  for (int x = 0; x < 5; ++x) EXPECT_EQ(d.At(x, 0), expected[x]);
}

TEST(BmpDecoder, Rle8CodesFillRowsFromTheBottom) {
  Decoded d(MakeBmp(4, 2, 8, 1, {3, 7, 0, 0, 2, 9, 0, 1}));
  ASSERT_EQ(d.result, 0);
  const uint8_t last[4] = {7, 7, 7, 0}, first[4] = {9, 9, 0, 0};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(d.At(x, 1), last[x]);
    EXPECT_EQ(d.At(x, 0), first[x]);
  }
}

TEST(BmpDecoder, RleRunsDeltasAndTruncationStayInsideTheImage) {
  struct Case {
    const char* what;
    int bits;
    uint32_t compression;
    Bytes codes;
    int width, height;
    std::vector<std::pair<int, uint8_t>> pixels;  // (y * width + x, value)
  } cases[] = {
      // A run longer than the row is cut at the row's end.
      {"long run", 8, 1, {200, 5}, 4, 2, {{3, 5}, {4 + 0, 0}}},
      // A delta far beyond the picture ends the decoding.
      {"delta out", 8, 1, {0, 2, 250, 250, 3, 8}, 4, 2, {{4, 0}}},
      // An absolute run cut off by the end of the data.
      {"truncated absolute", 8, 1, {0, 5, 1, 2}, 4, 1, {{0, 1}, {1, 2}, {2, 0}}},
      // Only a half code at the end.
      {"truncated code", 8, 1, {2, 6, 3}, 4, 1, {{0, 6}, {1, 6}, {2, 0}}},
      // RLE4: runs alternate the nibbles, absolute runs take them in order.
      {"rle4", 4, 2, {3, 0x12, 0, 3, 0x34, 0x50, 0, 1}, 6, 1,
       {{0, 1}, {1, 2}, {2, 1}, {3, 3}, {4, 4}, {5, 5}}},
  };
  for (const Case& c : cases) {
    Decoded d(MakeBmp(c.width, c.height, c.bits, c.compression, c.codes));
    ASSERT_EQ(d.result, 0) << c.what;
    for (auto [at, value] : c.pixels) {
      int x = at % c.width, fileRow = at / c.width;
      EXPECT_EQ(d.At(x, c.height - 1 - fileRow), value) << c.what << " pixel " << at;
    }
  }
}

TEST(BmpDecoder, OtherVariantsBecomeFullColour) {
  // 16 bits, plain 5-5-5: pure red and a mid blue.
  Bytes rows = {0x00, 0x7C, 0x10, 0x00};
  Decoded d(MakeBmp(2, 1, 16, 0, rows));
  ASSERT_EQ(d.result, 0);
  EXPECT_EQ(d.image.format.bitsPerPixel, 24);
  EXPECT_EQ(PixelArgb(&d.image, 0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(PixelArgb(&d.image, 1, 0) & 0xFFFFFF, 0x000084u);  // 16 of 31, top bits repeated
  // 1 bit through the two palette entries.
  Decoded one(MakeBmp(3, 1, 1, 0, {0xA0, 0, 0, 0}));
  ASSERT_EQ(one.result, 0);
  EXPECT_EQ(PixelArgb(&one.image, 0, 0) & 0xFFFFFF, 0x010101u);
  EXPECT_EQ(PixelArgb(&one.image, 1, 0) & 0xFFFFFF, 0u);
  // Bit fields on 24 bits and JPEG-in-BMP are refused as the platform does.
  EXPECT_NE(Decoded(MakeBmp(1, 1, 24, 3, {0, 0, 0, 0}), DecodeBmpImage).result, 0);
  EXPECT_NE(Decoded(MakeBmp(1, 1, 24, 4, {0, 0, 0, 0}), DecodeBmpImage).result, 0);
}

TEST(DecodeImage, PngBehindBmIsRejectedByEveryDecoder) {
  Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
               0, 0, 0, 1, 0, 0, 0, 1, 8, 2, 0, 0, 0, 0x90, 0x77, 0x53, 0xDE};
  {
    Decoded real(png);
    EXPECT_NE(real.result, 0);  // no image data either, but the point is below
  }
  Bytes disguised = png;
  disguised[0] = 'B';
  disguised[1] = 'M';
  disguised.resize(200, 0);
  Decoded d(disguised);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.image.pixels, nullptr);
}

TEST(DecodeImage, BadHeadersAreRejected) {
  auto tga = [](int type, int mapType, int mapFirst, int mapLength, int entryBits, int width,
                int height, int bits, int xOrigin) {
    Bytes b(18 + 4096, 0);
    b[1] = static_cast<uint8_t>(mapType);
    b[2] = static_cast<uint8_t>(type);
    Put16(b, 3, static_cast<uint32_t>(mapFirst));
    Put16(b, 5, static_cast<uint32_t>(mapLength));
    b[7] = static_cast<uint8_t>(entryBits);
    Put16(b, 8, static_cast<uint32_t>(xOrigin));
    Put16(b, 12, static_cast<uint32_t>(width));
    Put16(b, 14, static_cast<uint32_t>(height));
    b[16] = static_cast<uint8_t>(bits);
    return b;
  };
  auto dds = [](uint32_t width, uint32_t height, uint32_t mips, size_t dataBytes) {
    Bytes b(128 + dataBytes, 0);
    b[0] = 'D', b[1] = 'D', b[2] = 'S', b[3] = ' ';
    Put32(b, 8, 0x20007);
    Put32(b, 12, height);
    Put32(b, 16, width);
    Put32(b, 28, mips);
    Put32(b, 80, 4);
    b[84] = 'D', b[85] = 'X', b[86] = 'T', b[87] = '1';
    Put32(b, 108, 0x401008);
    return b;
  };
  auto bgra = [](uint32_t depth, uint32_t width, uint32_t height, size_t dataBytes) {
    Bytes b(16 + dataBytes, 0);
    b[0] = 'B', b[1] = 'G', b[2] = 'R', b[3] = 'A';
    Put32(b, 4, depth);
    Put32(b, 8, width);
    Put32(b, 12, height);
    return b;
  };
  Bytes bmpBadOffset = MakeBmp(2, 2, 24, 0, Bytes(16));
  Put32(bmpBadOffset, 10, 0x7FFFFFF0);
  Bytes bmpHuge = MakeBmp(2, 2, 24, 0, Bytes(16));
  Put32(bmpHuge, 18, 0x7FFFFFFF);
  Bytes bmpZeroWidth = MakeBmp(0, 2, 24, 0, Bytes(16));
  Bytes bmpMinHeight = MakeBmp(2, 2, 24, 0, Bytes(16));
  Put32(bmpMinHeight, 22, 0x80000000u);
  struct Case {
    const char* what;
    Bytes bytes;
    ImageDecoder decoder;
  } cases[] = {
      {"BMP data offset past the end", bmpBadOffset, DecodeBmpImage},
      {"BMP width beyond any image", bmpHuge, DecodeBmpImage},
      {"BMP zero width", bmpZeroWidth, DecodeBmpImage},
      {"BMP most negative height", bmpMinHeight, DecodeBmpImage},
      {"BMP header only", Bytes(bmpBadOffset.begin(), bmpBadOffset.begin() + 30), DecodeBmpImage},
      {"TGA colour map beyond 256 entries", tga(1, 1, 200, 100, 24, 2, 2, 8, 0), DecodeTgaImage},
      {"TGA colour-mapped without a map", tga(1, 0, 0, 0, 24, 2, 2, 8, 0), DecodeTgaImage},
      {"TGA 16-bit indices", tga(1, 1, 0, 16, 24, 2, 2, 16, 0), DecodeTgaImage},
      {"TGA origin not zero", tga(2, 0, 0, 0, 0, 2, 2, 24, 5), DecodeTgaImage},
      {"TGA wider than 8192", tga(2, 0, 0, 0, 0, 8193, 1, 24, 0), DecodeTgaImage},
      {"TGA 15 bits", tga(2, 0, 0, 0, 0, 2, 2, 15, 0), DecodeTgaImage},
      {"TGA gray type 3", tga(3, 0, 0, 0, 0, 2, 2, 8, 0), DecodeTgaImage},
      {"TGA pixels beyond the data", tga(2, 0, 0, 0, 0, 100, 100, 32, 0), DecodeTgaImage},
      {"TGA run-length data running out", tga(10, 0, 0, 0, 0, 100, 100, 32, 0), DecodeTgaImage},
      {"TGA image id longer than the file", [&] {
         Bytes b = tga(2, 0, 0, 0, 0, 1, 1, 24, 0);
         b.resize(40);
         b[0] = 0xFD;
         return b;
       }(), DecodeTgaImage},
      {"DDS level 0 beyond the data", dds(64, 64, 0, 100), DecodeDdsImage},
      {"DDS mip levels beyond the data", dds(8, 8, 4, 32), DecodeDdsImage},
      {"DDS absurd mip count", dds(8, 8, 1000000, 4096), DecodeDdsImage},
      {"DDS zero height", dds(8, 0, 0, 4096), DecodeDdsImage},
      {"BGRA pixels beyond the data", bgra(0x08080808, 1000, 1000, 64), DecodeBgraImage},
      {"BGRA product overflowing 32 bits", bgra(0x08080808, 0x10000, 0x10000, 64), DecodeBgraImage},
      {"BGRA 16-bit pixels beyond the data", bgra(0x10101010, 4, 4, 64), DecodeBgraImage},
      {"BGRA unknown depth", bgra(0x08080800, 1, 1, 64), DecodeBgraImage},
  };
  for (const Case& c : cases) {
    Decoded d(c.bytes, c.decoder);
    EXPECT_NE(d.result, 0) << c.what;
    EXPECT_EQ(d.image.pixels, nullptr) << c.what;
  }
  // The same files whole, but sound, are accepted: the cases above fail
  // for the reason they name.
  EXPECT_EQ(Decoded(dds(8, 8, 4, 64), DecodeDdsImage).result, 0);
  EXPECT_EQ(Decoded(bgra(0x10101010, 4, 4, 128), DecodeBgraImage).result, 0);
  EXPECT_EQ(Decoded(tga(1, 1, 100, 156, 24, 2, 2, 8, 0), DecodeTgaImage).result, 0);
}

TEST(AlphaFileName, InsertsBeforeTheLastDot) {
  struct Case {
    const char* path;
    const char* expected;
  } cases[] = {
      {"data\\actors.bmp", "data\\actors_a.bmp"},
      {"a.b\\c.d.png", "a.b\\c.d_a.png"},
      {"noextension", "noextension_a"},
      {"画像.bmp", "画像_a.bmp"},
      // A lead byte takes the byte after it, even a dot.
      {"ab\x81.c", "ab\x81.c_a"},
  };
  for (const Case& c : cases) {
    char out[ALPHA_FILE_NAME_BYTES];
    EXPECT_EQ(AlphaFileName(c.path, out, sizeof out), 0);
    EXPECT_STREQ(out, c.expected) << c.path;
  }
  char small[8];
  AlphaFileName("abcdef.bmp", small, sizeof small);
  EXPECT_STREQ(small, "abcdef_");
}

namespace {

std::string FixturePath(const char* name) { return std::string(VEXLO_IMAGE_FIXTURES) + "/" + name; }

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return bytes;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace

TEST(ImageLoader, LoadsFromFilesAndMemoryWithMirror) {
  PixelImage plain{}, mirrored{}, fromMemory{};
  ASSERT_EQ(LoadPixelImage(FixturePath("bmp24.bmp").c_str(), nullptr, 0, 0, 0, &plain), 0);
  ASSERT_EQ(LoadPixelImage(FixturePath("bmp24.bmp").c_str(), nullptr, 0, 0, 1, &mirrored), 0);
  Bytes bytes = ReadFile(FixturePath("png_rgba.png"));
  ASSERT_EQ(LoadPixelImage(nullptr, bytes.data(), static_cast<int>(bytes.size()), 1, 0, &fromMemory), 0);
  for (int y = 0; y < plain.height; ++y)
    for (int x = 0; x < plain.width; ++x)
      ASSERT_EQ(PixelArgb(&plain, x, y), PixelArgb(&mirrored, plain.width - 1 - x, y));
  EXPECT_EQ(PixelArgb(&plain, 3, 2) & 0xFFFFFF, PixelArgb(&fromMemory, 3, 2) & 0xFFFFFF);
  // A DXT image is expanded before it is mirrored.
  PixelImage dxt{}, dxtMirrored{};
  ASSERT_EQ(LoadPixelImage(FixturePath("dds_dxt5.dds").c_str(), nullptr, 0, 0, 0, &dxt), 0);
  ASSERT_EQ(LoadPixelImage(FixturePath("dds_dxt5.dds").c_str(), nullptr, 0, 0, 1, &dxtMirrored), 0);
  EXPECT_EQ(dxtMirrored.blockCompression, 0);
  EXPECT_EQ(PixelArgb(&dxt, 0, 0), PixelArgb(&dxtMirrored, dxt.width - 1, 0));
  for (PixelImage* image : {&plain, &mirrored, &fromMemory, &dxt, &dxtMirrored}) ReleasePixelImage(image);

  PixelImage none{};
  EXPECT_EQ(LoadPixelImage(FixturePath("no-such-file.bmp").c_str(), nullptr, 0, 0, 0, &none), -1);
  Bytes garbage(100, 0x42);
  EXPECT_EQ(LoadPixelImage(nullptr, garbage.data(), 100, 1, 0, &none), -1);
}

TEST(ImageLoader, FindsTheSeparateAlphaImage) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "vexlo-images-alpha";
  std::filesystem::create_directories(dir);
  const std::string picture = (dir / "sheet.bmp").string();
  WriteFile(picture, ReadFile(FixturePath("bmp24.bmp")));
  std::filesystem::remove(dir / "sheet_a.bmp");

  PixelImage image{}, alpha{};
  EXPECT_EQ(LoadPixelImageWithAlpha(picture.c_str(), nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE,
                                    &image, &alpha, 0), 1);
  EXPECT_EQ(alpha.pixels, nullptr);
  ReleasePixelImage(&image);

  // The alpha file may be any format, whatever its name says.
  WriteFile((dir / "sheet_a.bmp").string(), ReadFile(FixturePath("png_gray.png")));
  ASSERT_EQ(LoadPixelImageWithAlpha(picture.c_str(), nullptr, 0, 0, nullptr, 0, ALPHA_FROM_FILE,
                                    &image, &alpha, 0), 0);
  EXPECT_EQ(alpha.format.bitsPerPixel, 8);
  ReleasePixelImage(&image);
  ReleasePixelImage(&alpha);

  Bytes gray = ReadFile(FixturePath("png_gray.png"));
  EXPECT_EQ(LoadPixelImageWithAlpha(picture.c_str(), nullptr, 0, 0, gray.data(),
                                    static_cast<int>(gray.size()), ALPHA_FROM_MEMORY, &image, &alpha, 0), 0);
  ReleasePixelImage(&image);
  ReleasePixelImage(&alpha);
  EXPECT_EQ(LoadPixelImageWithAlpha(picture.c_str(), nullptr, 0, 0, nullptr, 0, 7, &image, &alpha, 0), 1);
  ReleasePixelImage(&image);
  EXPECT_EQ(LoadPixelImageWithAlpha((dir / "missing.bmp").string().c_str(), nullptr, 0, 0, nullptr, 0,
                                    ALPHA_FROM_FILE, &image, &alpha, 0), -1);
  std::filesystem::remove_all(dir);
}
