// Every combination of depth, source kind, blend mode, parameter,
// modulation, transparency and blend image, drawn by the loop the renderer
// selects and by the forced general rule, against the reference written
// from the formulas: all must agree bit for bit.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "ReferenceRule.h"
#include "SoftwareTestSupport.h"
#include "engine/graphics/software/MemImgTables.h"

namespace {

using reference::ALPHA;
using reference::DIRECT;
using reference::Kind;
using reference::PALETTE;

constexpr int WIDTH = 23;  // five groups of four and a tail of three; two of eight and seven
constexpr int HEIGHT = 3;
constexpr int BLEND_BORDER = 90;
constexpr int BLEND_RANGE = 60;
constexpr uint32_t PALETTE_KEY = 7;

struct Modulation {
  const char* name;
  int rgb[3];
};
constexpr Modulation WHITE{"white", {255, 255, 255}};
constexpr Modulation TINT{"tint", {200, 128, 37}};

struct BlendCase {
  int depth;
  Kind kind;
  int mode;
  int parameter;
  Modulation modulation;
  bool transparent;
  bool blendImage;
  bool mmx;
};

std::string CaseName(const BlendCase& c) {
  static const char* const KINDS[] = {"palette", "direct", "alpha"};
  char name[128];
  std::snprintf(name, sizeof name, "d%d_%s_m%d_p%d_%s%s%s%s", c.depth, KINDS[c.kind], c.mode,
                c.parameter, c.modulation.name, c.transparent ? "_keyed" : "",
                c.blendImage ? "_blend" : "", c.mmx ? "" : "_nommx");
  return name;
}

void PrintTo(const BlendCase& c, std::ostream* os) { *os << CaseName(c); }

// The table: the drawn modes with the parameter values that are special (0,
// 128, 255) and ordinary ones around them, and two undrawn modes.
std::vector<BlendCase> AllCases() {
  std::vector<BlendCase> cases;
  for (int depth : {32, 16}) {
    for (Kind kind : {PALETTE, DIRECT, ALPHA}) {
      for (int mode : {0, 1, 2, 3, 4, 10, 11, 5, 12}) {
        for (int parameter : {0, 1, 100, 127, 128, 254, 255}) {
          for (const Modulation& modulation : {WHITE, TINT}) {
            for (bool transparent : {false, true}) {
              for (bool blendImage : {false, true}) {
                cases.push_back({depth, kind, mode, parameter, modulation, transparent, blendImage, true});
                bool saturating = (mode == 2 || mode == 3) && parameter == 255;
                if (saturating) {
                  cases.push_back(
                      {depth, kind, mode, parameter, modulation, transparent, blendImage, false});
                }
              }
            }
          }
        }
      }
    }
  }
  return cases;
}

// A channel value biased toward the extremes where rounding and saturation
// show.
uint32_t Channel(std::mt19937& random, uint32_t top) {
  switch (random() % 6) {
    case 0: return 0;
    case 1: return top;
    case 2: return 1;
    case 3: return top - 1;
    default: return random() % (top + 1);
  }
}

uint32_t Color(std::mt19937& random, int depth) {
  if (depth == 16) return Channel(random, 31) << 11 | Channel(random, 63) << 5 | Channel(random, 31);
  return Channel(random, 255) << 24 | Channel(random, 255) << 16 | Channel(random, 255) << 8 |
         Channel(random, 255);
}

struct Scene {
  OwnedMemImg source;
  OwnedMemImg destination;
  OwnedMemImg blend;
  std::vector<uint32_t> palette;
  uint32_t colorKey;

  Scene(const BlendCase& c, uint32_t key)
      : source(WIDTH, HEIGHT, c.depth == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32,
               c.kind == PALETTE, c.kind == ALPHA, key),
        destination(WIDTH, HEIGHT, c.depth == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32),
        blend(WIDTH, HEIGHT, MEMIMG_TYPE_GRAY8),
        colorKey(key) {}
};

uint32_t KeyFor(const BlendCase& c) {
  if (c.kind == PALETTE) return PALETTE_KEY;
  return c.depth == 16 ? 0xF81Fu : 0xFF00FF00u;
}

// Random pixels, about a quarter of them keyed and some differing from the
// key only in the fourth byte; alphas favour 0, 255 and their neighbours.
// Pixels come in blocks of four (the vector loops' groups) that are all
// keyed or clear, all unkeyed or opaque, or mixed, so that the loops'
// shortcuts for uniform groups run too.
void FillScene(Scene& scene, const BlendCase& c, std::mt19937& random) {
  if (c.kind == PALETTE) {
    scene.palette.resize(256);
    for (int i = 0; i < 256; ++i) {
      scene.palette[i] = Color(random, c.depth);
      scene.source.SetPaletteEntry(i, scene.palette[i]);
    }
  }
  enum Block { HIDDEN, SHOWN, MIXED };
  for (int y = 0; y < HEIGHT; ++y) {
    Block block = MIXED;
    for (int x = 0; x < WIDTH; ++x) {
      if (x % 4 == 0) block = static_cast<Block>(random() % 3);
      bool hidden = block == HIDDEN || (block == MIXED && random() % 3 == 0);
      uint32_t pixel;
      if (c.kind == PALETTE) {
        pixel = hidden ? PALETTE_KEY : (PALETTE_KEY + 1 + random() % 255) % 256;
      } else if (c.kind == DIRECT) {
        pixel = hidden ? scene.colorKey : Color(random, c.depth);
        if (block == MIXED && random() % 5 == 0 && c.depth == 32) pixel = scene.colorKey ^ 0x01000000;
      } else {
        uint32_t alpha = block == HIDDEN ? 0 : block == SHOWN ? 255 : Channel(random, 255);
        uint32_t color = Color(random, c.depth);
        pixel = c.depth == 32 ? (color & 0xFFFFFF) | alpha << 24
                              : (color & 0xFFFF) | alpha << 16 | (random() & 0xFFu) << 24;
      }
      scene.source.Set(x, y, pixel);
      scene.destination.Set(x, y, Color(random, c.depth));
      scene.blend.Set(x, y, Channel(random, 255));
    }
  }
}

class PixelRuleTest : public ::testing::TestWithParam<BlendCase> {
 protected:
  void SetUp() override {
    BuildMemImgTables();
    SetBlendImageTable(BLEND_BORDER, BLEND_RANGE);
    for (int k = 0; k < 256; ++k) weights_[k] = reference::BlendWeight(k, BLEND_BORDER, BLEND_RANGE);
  }

  // Draws the scene with the renderer into a copy of the destination and
  // checks every pixel against the reference.
  void ExpectReference(const BlendCase& c, Scene& scene, bool general, int vectorExtensions) {
    memImgForceGeneralRule = general;
    memImgVectorExtensions = vectorExtensions;
    memImgMmxAvailable = c.mmx ? 1 : 0;
    OwnedMemImg target(WIDTH, HEIGHT, c.depth == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32);
    target.CopyPixelsFrom(scene.destination);
    MemImgDrawSettings settings = Settings(*target, c.mode, c.parameter, c.modulation.rgb[0],
                                           c.modulation.rgb[1], c.modulation.rgb[2]);
    const char* loop = MemImgBlitLoopName(target.get(), scene.source.get(), c.transparent,
                                          c.blendImage ? scene.blend.get() : nullptr, settings);
    BlitMemImg(target.get(), scene.source.get(), 0, 0, c.transparent,
               c.blendImage ? scene.blend.get() : nullptr, settings);

    reference::Draw q{c.depth, c.kind, c.mode, c.parameter,
                      {c.modulation.rgb[0], c.modulation.rgb[1], c.modulation.rgb[2]},
                      c.transparent, c.blendImage, c.mmx, scene.colorKey, &scene.palette,
                      weights_};
    for (int y = 0; y < HEIGHT; ++y) {
      for (int x = 0; x < WIDTH; ++x) {
        uint32_t expected = reference::ImagePixel(q, scene.destination.At(x, y),
                                                  scene.source.At(x, y), scene.blend.At(x, y));
        ASSERT_EQ(target.At(x, y), expected)
            << "pixel (" << x << ", " << y << ") of " << (loop ? loop : "no loop") << std::hex
            << ": source 0x" << scene.source.At(x, y) << ", destination 0x"
            << scene.destination.At(x, y) << ", grey 0x" << scene.blend.At(x, y);
      }
    }
  }

  int weights_[256];
  RendererSwitches switches_;
};

TEST_P(PixelRuleTest, SelectedLoopAndGeneralRuleMatchTheReference) {
  const BlendCase& c = GetParam();
  Scene scene(c, KeyFor(c));
  ASSERT_TRUE(scene.source.created() && scene.destination.created() && scene.blend.created());
  std::mt19937 random(static_cast<uint32_t>(std::hash<std::string>()(CaseName(c))));
  FillScene(scene, c, random);
  for (int extensions : UsableVectorExtensionSets()) {
    SCOPED_TRACE("vector extensions " + std::to_string(extensions));
    ExpectReference(c, scene, false, extensions);
  }
  ExpectReference(c, scene, true, 0);
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, PixelRuleTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<BlendCase>& param) {
                           return CaseName(param.param);
                         });

// Every specialised loop of the table that this processor can run is
// chosen by some case above at some level of vector extensions, so the
// comparison covers them all.
TEST(SpanLoopTable, EverySpecialisedLoopIsExercised) {
  RendererSwitches switches;
  std::set<std::string> used;
  std::vector<int> levels = UsableVectorExtensionSets();
  for (int extensions : levels) {
    memImgVectorExtensions = extensions;
    for (const BlendCase& c : AllCases()) {
      memImgMmxAvailable = c.mmx ? 1 : 0;
      Scene scene(c, KeyFor(c));
      MemImgDrawSettings settings = Settings(*scene.destination, c.mode, c.parameter,
                                             c.modulation.rgb[0], c.modulation.rgb[1],
                                             c.modulation.rgb[2]);
      const char* name = MemImgBlitLoopName(scene.destination.get(), scene.source.get(),
                                            c.transparent, c.blendImage ? scene.blend.get() : nullptr,
                                            settings);
      if (name != nullptr) used.insert(name);
    }
  }
  const char* names[128];
  int count = ListMemImgSpanLoops(names, 128);
  ASSERT_GT(count, 1);
  for (int i = 0; i < count; ++i) EXPECT_EQ(used.count(names[i]), 1u) << names[i];
  // Forcing the general rule leaves nothing else selected.
  memImgForceGeneralRule = true;
  BlendCase plain{32, DIRECT, 0, 0, WHITE, false, false, true};
  Scene scene(plain, 0);
  EXPECT_STREQ(MemImgBlitLoopName(scene.destination.get(), scene.source.get(), 0, nullptr,
                                  Settings(*scene.destination, 0, 0)),
               "general rule");
}

// --- the colour members ----------------------------------------------------

struct ColorCase {
  int depth;
  int mode;
  int parameter;
  Modulation modulation;
};

std::vector<ColorCase> AllColorCases() {
  std::vector<ColorCase> cases;
  for (int depth : {32, 16}) {
    for (int mode : {0, 1, 2, 3, 4, 10, 11, 7}) {
      for (int parameter : {0, 1, 128, 160, 255}) {
        for (const Modulation& modulation : {WHITE, TINT}) {
          cases.push_back({depth, mode, parameter, modulation});
        }
      }
    }
  }
  return cases;
}

void PrintTo(const ColorCase& c, std::ostream* os) {
  *os << "depth " << c.depth << ", mode " << c.mode << ", P " << c.parameter << ", "
      << c.modulation.name;
}

class ColorRuleTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorRuleTest, FillsMatchTheReferenceWithAndWithoutTheSpecialisedLoops) {
  const ColorCase& c = GetParam();
  RendererSwitches switches;
  BuildMemImgTables();
  int type = c.depth == 16 ? MEMIMG_TYPE_COLOR16 : MEMIMG_TYPE_COLOR32;
  std::mt19937 random(static_cast<uint32_t>(c.depth * 1000 + c.mode * 10 + c.parameter));
  OwnedMemImg original(WIDTH, HEIGHT, type);
  for (int y = 0; y < HEIGHT; ++y) {
    for (int x = 0; x < WIDTH; ++x) original.Set(x, y, Color(random, c.depth));
  }
  for (uint32_t color : {Color(random, c.depth), c.depth == 16 ? 0xFFFFu : 0x00FFFFFFu, 0u}) {
    for (bool general : {false, true}) {
      memImgForceGeneralRule = general;
      OwnedMemImg target(WIDTH, HEIGHT, type);
      target.CopyPixelsFrom(original);
      FillMemImgRect(target.get(), nullptr, color,
                     Settings(*target, c.mode, c.parameter, c.modulation.rgb[0],
                              c.modulation.rgb[1], c.modulation.rgb[2]));
      for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
          uint32_t expected = reference::ColorPixel(c.depth, c.mode, c.parameter,
                                                    c.modulation.rgb, original.At(x, y), color);
          ASSERT_EQ(target.At(x, y), expected)
              << "pixel (" << x << ", " << y << "), general " << general << std::hex
              << ", colour 0x" << color << ", destination 0x" << original.At(x, y);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, ColorRuleTest, ::testing::ValuesIn(AllColorCases()),
                         [](const ::testing::TestParamInfo<ColorCase>& param) {
                           const ColorCase& c = param.param;
                           return "d" + std::to_string(c.depth) + "_m" + std::to_string(c.mode) +
                                  "_p" + std::to_string(c.parameter) + "_" + c.modulation.name;
                         });

// --- named values --------------------------------------------------------

class NamedValues : public ::testing::Test {
 protected:
  NamedValues() : source_(1, 1, MEMIMG_TYPE_COLOR32), target_(1, 1, MEMIMG_TYPE_COLOR32) {}
  uint32_t Draw(uint32_t source, uint32_t destination, int mode, int parameter) {
    source_.Set(0, 0, source);
    target_.Set(0, 0, destination);
    BlitMemImg(target_.get(), source_.get(), 0, 0, 0, nullptr, Settings(*target_, mode, parameter));
    return target_.At(0, 0);
  }
  RendererSwitches switches_;
  OwnedMemImg source_;
  OwnedMemImg target_;
};

TEST_F(NamedValues, HalvingFloorsEachHalf) { EXPECT_EQ(Draw(0x000001, 0x000001, 1, 128), 0u); }

TEST_F(NamedValues, AddAtFullStrength) {
  // Blue 200 + 100 saturates; the exact byte add gives green 1 + 1 = 2.
  EXPECT_EQ(Draw(0x000164, 0x0001C8, 2, 255), 0x0002FFu);
  // Without the saturating byte arithmetic the packed form ORs green's
  // lowest bits (and blue's carry) instead of adding them.
  memImgMmxAvailable = 0;
  EXPECT_EQ(Draw(0x000164, 0x0001C8, 2, 255), 0x0001FFu);
  EXPECT_EQ(Draw(0x000101, 0x000101, 2, 255), 0x000102u);
  EXPECT_EQ(Draw(0x000202, 0x000202, 2, 255), 0x000404u);
}

TEST_F(NamedValues, ModeOneAtFullStrengthIsModeZeroAndAtZeroDrawsNothing) {
  EXPECT_EQ(Draw(0xAB123456, 0x00FFFFFF, 1, 255), 0xAB123456u);
  EXPECT_EQ(Draw(0xAB123456, 0x00FFFFFF, 1, 0), 0x00FFFFFFu);
}

TEST_F(NamedValues, ModesNotDrawnInSoftwareLeaveTheDestination) {
  for (int mode : {5, 6, 7, 8, 9, 12, 13, 14, -1, 99}) {
    EXPECT_EQ(Draw(0x123456, 0x654321, mode, 200), 0x654321u) << "mode " << mode;
  }
}

TEST(AlphaSources, MultiplyTurnsClearPixelsBlack) {
  OwnedMemImg source(2, 1, MEMIMG_TYPE_COLOR32, false, true);
  OwnedMemImg target(2, 1, MEMIMG_TYPE_COLOR32);
  source.Set(0, 0, 0x00FFFFFF);
  source.Set(1, 0, 0xFFFFFFFF);
  target.Fill(0x808080);
  BlitMemImg(target.get(), source.get(), 0, 0, 1, nullptr, Settings(*target, 4, 0));
  EXPECT_EQ(target.At(0, 0), 0u);
  EXPECT_EQ(target.At(1, 0), 0x7F7F7Fu);  // 128 * 255 >> 8
}

// An opaque pixel of an alpha source under transparency: modes 1 to 4 drop
// the alpha weight, modes 10 and 11 keep it (a = 255 weighs 255/256), in
// the selected loop and in the general rule alike.
TEST(AlphaSources, OpaquePixelsKeepTheirAlphaWeightOnlyInModesTenAndEleven) {
  struct Case {
    int mode;
    uint32_t source, destination, expected;
  };
  const Case cases[] = {
      // 126 - 2 blended by 148 * 255: 2 + floor(124 * 37740 / 65536) = 73;
      // by P alone green would be 66, not 67.
      {10, 0xFF81E8D8, 0xFF027FEB, 0x49437A},
      {11, 0xFF7203AC, 0xFF5DCD9C, 0x3F587E},  // by P alone: 0x3E577D
      {1, 0xFFC4281B, 0xFF6F63E2, 0xA0406E},   // by P and a = 255: 0x9F416F
  };
  RendererSwitches switches;
  BuildMemImgTables();
  for (bool general : {false, true}) {
    memImgForceGeneralRule = general;
    for (const Case& c : cases) {
      OwnedMemImg source(1, 1, MEMIMG_TYPE_COLOR32, false, true);
      OwnedMemImg target(1, 1, MEMIMG_TYPE_COLOR32);
      source.Set(0, 0, c.source);
      target.Set(0, 0, c.destination);
      BlitMemImg(target.get(), source.get(), 0, 0, 1, nullptr, Settings(*target, c.mode, 148));
      EXPECT_EQ(target.At(0, 0), c.expected)
          << "mode " << c.mode << (general ? ", general rule" : ", selected loop");
    }
  }
}

TEST(KeyedSources, KeyIsComparedOnAllThirtyTwoBits) {
  OwnedMemImg source(3, 1, MEMIMG_TYPE_COLOR32, false, false, 0xFF000000);
  OwnedMemImg target(3, 1, MEMIMG_TYPE_COLOR32);
  source.Set(0, 0, 0xFF000000);
  source.Set(1, 0, 0x00000000);
  source.Set(2, 0, 0xFF102030);
  target.Fill(0x11111111);
  BlitMemImg(target.get(), source.get(), 0, 0, 1, nullptr, Settings(*target, 0, 0));
  EXPECT_EQ(target.At(0, 0), 0x11111111u);
  EXPECT_EQ(target.At(1, 0), 0x00000000u);
  EXPECT_EQ(target.At(2, 0), 0xFF102030u);
}

}  // namespace
