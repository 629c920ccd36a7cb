// MEMIMG stores and views, clearing, the tables, the conversions and the
// software screen.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SoftwareTestSupport.h"
#include "engine/core/SystemInfo.h"
#include "engine/graphics/software/MemImgConvert.h"
#include "engine/graphics/software/MemImgFormats.h"
#include "engine/graphics/software/MemImgTables.h"
#include "engine/graphics/software/SoftwareScreen.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"
#include "engine/services/Memory.h"

namespace {

// Fails the test when blocks of the tracked allocator are left over.
class NoLeaks : public ::testing::Test {
 protected:
  void SetUp() override { before_ = MemReadStatistics().count; }
  void TearDown() override { EXPECT_EQ(MemReadStatistics().count, before_); }
  int32_t before_ = 0;
};

using MemImgStores = NoLeaks;

TEST_F(MemImgStores, LayoutFollowsPixelTypePaletteAndAlpha) {
  struct Expect {
    int type;
    bool palette, alpha;
    int bytes;
    bool keepsPalette, keepsAlpha;
    uint16_t bits;
    uint32_t alphaMask;
  };
  const Expect table[] = {
      {MEMIMG_TYPE_COLOR16, false, false, 2, false, false, 16, 0},
      {MEMIMG_TYPE_COLOR16, false, true, 4, false, true, 32, 0x00FF0000},
      {MEMIMG_TYPE_COLOR16, true, true, 1, true, false, 8, 0},
      {MEMIMG_TYPE_COLOR32, false, false, 4, false, false, 32, 0},
      {MEMIMG_TYPE_COLOR32, false, true, 4, false, true, 32, 0xFF000000},
      {MEMIMG_TYPE_COLOR32, true, false, 1, true, false, 8, 0},
      {MEMIMG_TYPE_GRAY8, true, true, 1, false, false, 8, 0},
      {MEMIMG_TYPE_GRAY16, true, true, 2, false, false, 16, 0},
  };
  for (const Expect& e : table) {
    MEMIMG image{};
    ASSERT_EQ(CreateMemImg(&image, 5, 3, -1, 0, e.type, e.palette, e.alpha, nullptr), 0);
    const MemImgStore& store = *image.store;
    EXPECT_EQ(MemImgBytesPerPixel(store), e.bytes) << e.type;
    EXPECT_EQ(store.usesPalette, e.keepsPalette) << e.type;
    EXPECT_EQ(store.hasAlpha, e.keepsAlpha) << e.type;
    EXPECT_EQ(store.palette != nullptr, e.keepsPalette) << e.type;
    EXPECT_EQ(store.pitch, (5 * e.bytes + 15) / 16 * 16) << e.type;
    EXPECT_EQ(store.format, MemImgColorFormat(e.type, e.keepsAlpha, e.keepsPalette));
    EXPECT_EQ(store.format->bitsPerPixel, e.bits) << e.type;
    EXPECT_EQ(store.format->alphaMask, e.alphaMask) << e.type;
    EXPECT_EQ(image.pixels, store.pixelStore);
    EXPECT_EQ(store.refCount, 1);
    ReleaseMemImg(&image);
    EXPECT_FALSE(IsMemImgValid(&image));
  }
  const ColorFormat& color16 = *MemImgColorFormat(MEMIMG_TYPE_COLOR16, false, false);
  EXPECT_EQ(color16.redMask, 0xF800u);
  EXPECT_EQ(color16.greenMask, 0x07E0u);
  EXPECT_EQ(color16.blueMask, 0x001Fu);
}

TEST_F(MemImgStores, RefusesAValidRecordAndUnusablePitchOrSize) {
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, 4, 4, 32, 0, MEMIMG_TYPE_COLOR32, 0, 0, nullptr), 0);
  EXPECT_EQ(image.store->pitch, 32);
  EXPECT_EQ(CreateMemImg(&image, 4, 4, -1, 0, MEMIMG_TYPE_COLOR32, 0, 0, nullptr), -1);
  ReleaseMemImg(&image);
  MEMIMG other{};
  EXPECT_EQ(CreateMemImg(&other, 4, 4, 15, 0, MEMIMG_TYPE_COLOR32, 0, 0, nullptr), -1);
  EXPECT_EQ(CreateMemImg(&other, -1, 4, -1, 0, MEMIMG_TYPE_COLOR32, 0, 0, nullptr), -1);
  EXPECT_EQ(CreateMemImg(&other, 4, 4, -1, 0, 7, 0, 0, nullptr), -1);
  EXPECT_EQ(CreateMemImg(&other, 100000, 100000, -1, 0, MEMIMG_TYPE_COLOR32, 0, 0, nullptr), -1);
  EXPECT_FALSE(IsMemImgValid(&other));
}

TEST_F(MemImgStores, ExternalPixelsAreUsedAndLeftToTheCaller) {
  std::vector<uint32_t> memory(6 * 2, 0);
  MEMIMG image{};
  ASSERT_EQ(CreateMemImg(&image, 6, 2, 24, 0, MEMIMG_TYPE_COLOR32, 0, 0, memory.data()), 0);
  EXPECT_TRUE(image.store->externalPixels);
  PutPixel(image, 5, 1, 0xABCDEF);
  EXPECT_EQ(memory[11], 0xABCDEFu);
  ReleaseMemImg(&image);
  EXPECT_EQ(memory[11], 0xABCDEFu);
}

TEST_F(MemImgStores, DerivedViewsShareTheStoreUntilTheLastGoes) {
  MEMIMG owner{};
  ASSERT_EQ(CreateMemImg(&owner, 10, 8, -1, 0, MEMIMG_TYPE_COLOR16, 0, 0, nullptr), 0);
  MEMIMG view{};
  DeriveMemImg(&view, &owner, 3, 2, 5, 4);
  ASSERT_TRUE(IsMemImgValid(&view));
  EXPECT_EQ(view.store, owner.store);
  EXPECT_EQ(owner.store->refCount, 2);
  EXPECT_EQ(view.width, 5);
  EXPECT_EQ(view.pixels, owner.pixels + 2 * owner.store->pitch + 3 * 2);
  PutPixel(view, 0, 0, 0x1234);
  EXPECT_EQ(GetPixel(owner, 3, 2), 0x1234u);

  ReleaseMemImg(&owner);
  EXPECT_FALSE(IsMemImgValid(&owner));
  ASSERT_TRUE(IsMemImgValid(&view));
  EXPECT_EQ(view.store->refCount, 1);
  PutPixel(view, 4, 3, 0x4321);  // the store is still there
  EXPECT_EQ(GetPixel(view, 4, 3), 0x4321u);
  ReleaseMemImg(&view);
  ReleaseMemImg(&view);  // no longer valid: nothing happens
}

TEST_F(MemImgStores, DeriveOutsideTheSourceLeavesTheViewAlone) {
  OwnedMemImg owner(10, 8, MEMIMG_TYPE_COLOR32);
  for (Rect r : {Rect{-1, 0, 2, 2}, Rect{0, -1, 2, 2}, Rect{8, 0, 3, 2}, Rect{0, 7, 2, 2},
                 Rect{0, 0, -1, 2}}) {
    MEMIMG view{};
    view.width = 99;
    DeriveMemImg(&view, owner.get(), r.left, r.top, r.right, r.bottom);
    EXPECT_FALSE(IsMemImgValid(&view));
    EXPECT_EQ(view.width, 99);
  }
  EXPECT_EQ(owner->store->refCount, 1);
  MEMIMG edge{};
  DeriveMemImg(&edge, owner.get(), 7, 5, 3, 3);
  EXPECT_TRUE(IsMemImgValid(&edge));
  ReleaseMemImg(&edge);
}

TEST(ClearMemImg, StoresTheRawValueOverTheClippedRectangle) {
  struct Case {
    int type;
    bool alpha;
    uint32_t value, stored;
  };
  for (Case c : {Case{MEMIMG_TYPE_GRAY8, false, 0x12345678, 0x78},
                 Case{MEMIMG_TYPE_COLOR16, false, 0x12345678, 0x5678},
                 Case{MEMIMG_TYPE_COLOR16, true, 0x12345678, 0x12345678},
                 Case{MEMIMG_TYPE_COLOR32, false, 0x12345678, 0x12345678},
                 // Values whose stored bytes are all alike, and one alike
                 // only in the bytes a pixel keeps.
                 Case{MEMIMG_TYPE_COLOR32, false, 0xFFFFFFFF, 0xFFFFFFFF},
                 Case{MEMIMG_TYPE_COLOR16, false, 0x12343434, 0x3434},
                 Case{MEMIMG_TYPE_COLOR32, false, 0x34343435, 0x34343435}}) {
    // 16 pixels make rows without a gap between them in every pixel size.
    for (int width : {6, 16}) {
      OwnedMemImg image(width, 5, c.type, false, c.alpha);
      image.Fill(0);
      Rect partly{-3, 3, 2, 40};
      ClearMemImg(image.get(), &partly, c.value);
      Rect outside{width + 1, 0, width + 3, 5};
      ClearMemImg(image.get(), &outside, c.value);
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < width; ++x) {
          EXPECT_EQ(image.At(x, y), (x < 2 && y >= 3) ? c.stored : 0u) << c.type << " " << x << "," << y;
        }
      }
      ClearMemImg(image.get(), nullptr, c.value);
      for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < width; ++x) EXPECT_EQ(image.At(x, y), c.stored) << c.type << " " << x << "," << y;
      }
    }
  }
}

// A view of whole rows of a store: its rows follow each other without a
// gap, and clearing it leaves the store's other rows alone.
TEST(ClearMemImg, ViewOfWholeRowsLeavesTheOtherRows) {
  for (uint32_t value : {0u, 0xFFFFFFFFu, 0x00123456u}) {
    OwnedMemImg owner(16, 6, MEMIMG_TYPE_COLOR32);
    owner.Fill(0xDEADBEEF);
    MEMIMG rows{};
    DeriveMemImg(&rows, owner.get(), 0, 1, 16, 3);
    ASSERT_TRUE(IsMemImgValid(&rows));
    ClearMemImg(&rows, nullptr, value);
    ReleaseMemImg(&rows);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(owner.At(x, y), y >= 1 && y < 4 ? value : 0xDEADBEEFu) << std::hex << value << " at " << x << "," << y;
      }
    }
  }
}

TEST(CreateScreenMemImg, AutomaticTypeFollowsTheScreenDepth) {
  MEMIMG screen{};
  ASSERT_EQ(CreateScreenMemImg(&screen, 8, 4, -1, 16), 0);
  EXPECT_EQ(screen.store->pixelType, MEMIMG_TYPE_COLOR16);
  ReleaseMemImg(&screen);
  ASSERT_EQ(CreateScreenMemImg(&screen, 8, 4, -1, 32), 0);
  EXPECT_EQ(screen.store->pixelType, MEMIMG_TYPE_COLOR32);
  ReleaseMemImg(&screen);
}

TEST(BlendingTables, HoldTheirFormulas) {
  BuildMemImgTables();
  EXPECT_EQ(MulTable[255][255], 255);
  EXPECT_EQ(MulTable[128][255], 128);
  EXPECT_EQ(MulTable[254][1], 0);
  // Signed rows truncate toward zero on both sides.
  EXPECT_EQ(SignedMulRow(128)[-255], -128);
  EXPECT_EQ(SignedMulRow(128)[-1], 0);
  EXPECT_EQ(SignedMulRow(128)[255], 128);
  EXPECT_EQ(SignedMulRow(200)[-31], -24);
  EXPECT_EQ(Lerp6Table[63][17][40], 17);
  EXPECT_EQ(Lerp6Table[0][17][40], 40);
  EXPECT_EQ(Lerp6Table[32][31][0], 15);
}

TEST(BlendingTables, BlendImageTableMovesAThresholdAndWidensTheRamp) {
  SetBlendImageTable(0, 77);
  for (int k = 0; k < 256; ++k) ASSERT_EQ(BlendImageTable[k], 255);
  // Range 0: a step.
  SetBlendImageTable(128, 0);
  EXPECT_EQ(BlendImageTable[0], 0);
  EXPECT_EQ(BlendImageTable[127], 0);
  EXPECT_EQ(BlendImageTable[128], 128);
  EXPECT_EQ(BlendImageTable[129], 255);
  // Range 255: one step per grey level.
  SetBlendImageTable(128, 255);
  for (int k = 0; k < 256; ++k) ASSERT_EQ(BlendImageTable[k], k);
  SetBlendImageTable(192, 255);
  EXPECT_EQ(BlendImageTable[128], 0);
  EXPECT_EQ(BlendImageTable[129], 1);
}

// --- conversions -----------------------------------------------------------

using Conversions = NoLeaks;

TEST_F(Conversions, CopiesADecodedImageIntoEitherDepth) {
  PixelImage image{};
  ASSERT_EQ(CreateXrgb8PixelImage(3, 2, &image), 0);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) SetPixelColor(&image, x, y, 255, 128, x * 40, 0);
  }
  {
    OwnedMemImg wide(4, 4, MEMIMG_TYPE_COLOR32);
    wide.Fill(0);
    ASSERT_EQ(CopyImageToMemImg(&image, nullptr, wide.get(), 1, 0, 2, 2, 2, 1, 0), 0);
    EXPECT_EQ(wide.At(2, 1) & 0xFFFFFF, 0xFF8028u);
    EXPECT_EQ(wide.At(3, 2) & 0xFFFFFF, 0xFF8050u);
    EXPECT_EQ(wide.At(1, 1), 0u);
    // Clipped to the MEMIMG: only the column that fits is written.
    ASSERT_EQ(CopyImageToMemImg(&image, nullptr, wide.get(), 0, 0, 3, 1, 3, 3, 0), 0);
    EXPECT_EQ(wide.At(3, 3) & 0xFFFFFF, 0xFF8000u);
    EXPECT_LT(CopyImageToMemImg(&image, nullptr, wide.get(), 0, 0, 3, 2, 4, 0, 0), 0);
  }
  {
    OwnedMemImg narrow(3, 2, MEMIMG_TYPE_COLOR16);
    ASSERT_EQ(CopyImageToMemImg(&image, nullptr, narrow.get(), 0, 0, 3, 2, 0, 0, 0), 0);
    EXPECT_EQ(narrow.At(2, 1), (31u << 11) | (32u << 5) | (80u >> 3));
  }
  ReleasePixelImage(&image);
}

TEST_F(Conversions, KeyMakesAlphaZeroInAStoreWithAlpha) {
  PixelImage image{};
  ASSERT_EQ(CreateXrgb8PixelImage(2, 1, &image), 0);
  SetPixelColor(&image, 0, 0, 0, 0, 0, 0);
  SetPixelColor(&image, 1, 0, 10, 20, 30, 0);
  OwnedMemImg alpha(2, 1, MEMIMG_TYPE_COLOR32, false, true, 0);
  ASSERT_EQ(CopyImageToMemImg(&image, nullptr, alpha.get(), 0, 0, 2, 1, 0, 0, 1), 0);
  EXPECT_EQ(alpha.At(0, 0), 0x00000000u);
  EXPECT_EQ(alpha.At(1, 0), 0xFF0A141Eu);
  ASSERT_EQ(CopyImageToMemImg(&image, nullptr, alpha.get(), 0, 0, 2, 1, 0, 0, 0), 0);
  EXPECT_EQ(alpha.At(0, 0), 0xFF000000u);
  ReleasePixelImage(&image);
}

TEST_F(Conversions, PaletteImagesKeepIndicesAndTakeThePalette) {
  ColorFormat format{};
  SetPaletteColorFormat(&format);
  for (int i = 0; i < 256; ++i) {
    format.palette[i][0] = static_cast<uint8_t>(i);        // blue
    format.palette[i][1] = static_cast<uint8_t>(255 - i);  // green
    format.palette[i][2] = 0xF8;                           // red
    format.palette[i][3] = 0;
  }
  PixelImage image{};
  ASSERT_EQ(CreatePixelImage(2, 1, &format, &image), 0);
  static_cast<uint8_t*>(image.pixels)[0] = 9;
  static_cast<uint8_t*>(image.pixels)[1] = 200;
  for (int type : {MEMIMG_TYPE_COLOR32, MEMIMG_TYPE_COLOR16}) {
    OwnedMemImg indexed(2, 1, type, true);
    ASSERT_EQ(CopyImageToMemImg(&image, nullptr, indexed.get(), 0, 0, 2, 1, 0, 0, 0), 0);
    EXPECT_EQ(indexed.At(0, 0), 9u);
    EXPECT_EQ(indexed.At(1, 0), 200u);
    const uint8_t* block = indexed->store->palette;
    uint32_t entry = 0, copy = 0;
    int bytes = type == MEMIMG_TYPE_COLOR32 ? 4 : 2;
    std::memcpy(&entry, block + 9 * bytes, static_cast<size_t>(bytes));
    std::memcpy(&copy, block + MEMIMG_PALETTE_BYTES / 2 + 9 * bytes, static_cast<size_t>(bytes));
    uint32_t expected = type == MEMIMG_TYPE_COLOR32
                            ? 0xF8F609u
                            : (0xF8u >> 3) << 11 | (246u >> 2) << 5 | (9u >> 3);
    EXPECT_EQ(entry, expected);
    EXPECT_EQ(copy, expected);

    // Back out through the palette into a direct-colour MEMIMG.
    OwnedMemImg direct(2, 1, type);
    ASSERT_EQ(ConvertMemImg(direct.get(), indexed.get(), nullptr, 0, 0), 0);
    if (type == MEMIMG_TYPE_COLOR32) {
      EXPECT_EQ(direct.At(1, 0) & 0xFFFFFF, 0xF837C8u);
    } else {
      EXPECT_EQ(direct.At(0, 0), expected);
    }
  }
  ReleasePixelImage(&image);
}

TEST_F(Conversions, ConvertMemImgCopiesAClippedRectangleBetweenFormats) {
  OwnedMemImg wide(4, 4, MEMIMG_TYPE_COLOR32);
  OwnedMemImg narrow(3, 3, MEMIMG_TYPE_COLOR16);
  wide.Fill(0xFF00FF);
  wide.Set(1, 1, 0x00FF00);
  narrow.Fill(0);
  Rect from{1, 1, 4, 4};
  ASSERT_EQ(ConvertMemImg(narrow.get(), wide.get(), &from, 1, 1), 0);
  EXPECT_EQ(narrow.At(0, 0), 0u);
  EXPECT_EQ(narrow.At(1, 1), 0x07E0u);
  EXPECT_EQ(narrow.At(2, 2), 0xF81Fu);
  Rect away{10, 10, 12, 12};
  EXPECT_EQ(ConvertMemImg(narrow.get(), wide.get(), &away, 0, 0), -1);
}

TEST_F(Conversions, SoftwareScreenIsClearedAndBecomesTheTarget) {
  RendererSwitches switches;
  SetupSoftwareScreen(16, 8, 32, 10, 20, 30);
  ASSERT_TRUE(IsMemImgValid(&screenMemImg));
  EXPECT_EQ(targetMemImg, &screenMemImg);
  EXPECT_EQ(screenMemImg.store->pixelType, MEMIMG_TYPE_COLOR32);
  EXPECT_EQ(GetPixel(screenMemImg, 15, 7) & 0xFFFFFF, 0x0A141Eu);
  EXPECT_TRUE(IsMemImgValid(&textWorkMemImg));
  EXPECT_TRUE(textWorkAlphaMemImg.store->hasAlpha);
  ReleaseSoftwareScreen();
  EXPECT_FALSE(IsMemImgValid(&screenMemImg));
  EXPECT_EQ(targetMemImg, nullptr);

  SetupSoftwareScreen(16, 8, 16, 255, 0, 0);
  EXPECT_EQ(screenMemImg.store->pixelType, MEMIMG_TYPE_COLOR16);
  EXPECT_EQ(GetPixel(screenMemImg, 0, 0), 0xF800u);
  ReleaseSoftwareScreen();
}

// Modes 2 and 3 at full strength use the exact byte arithmetic only on a
// processor that start-up found to have it: green 1 + 1 is 2 there and 1
// (the lowest bits ORed) in the packed form.
TEST_F(Conversions, FullStrengthAddFollowsTheProcessorFlag) {
  RendererSwitches switches;
  const int savedFlag = cpuHasMmx;
  OwnedMemImg source(1, 1, MEMIMG_TYPE_COLOR32);
  source.Set(0, 0, 0x000101);
  for (int hasMmx : {0, 1}) {
    cpuHasMmx = hasMmx;
    SetupSoftwareScreen(1, 1, 32, 0, 1, 1);
    BlitMemImg(targetMemImg, source.get(), 0, 0, 0, nullptr, Settings(*targetMemImg, 2, 255));
    EXPECT_EQ(GetPixel(screenMemImg, 0, 0) & 0xFFFFFF, hasMmx ? 0x000202u : 0x000102u)
        << "MMX " << hasMmx;
    ReleaseSoftwareScreen();
  }
  cpuHasMmx = savedFlag;
}

}  // namespace
