// Which pixels the drawing routines touch: clipping, the scaled blit's
// stepping and mirroring, triangle coverage, lines and fills.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "SoftwareTestSupport.h"
#include "engine/graphics/software/MemImgTables.h"

namespace {

constexpr uint32_t UNTOUCHED = 0xDEADBEEF;

// A source whose pixel (x, y) is 0x00YYXX + 0x010101, so every pixel is
// distinct and none is 0.
void NumberPixels(OwnedMemImg& image) {
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) image.Set(x, y, (static_cast<uint32_t>(y) << 8 | x) + 0x010101);
  }
}
uint32_t Numbered(int x, int y) { return (static_cast<uint32_t>(y) << 8 | x) + 0x010101; }

TEST(BlitClipping, PartlyOutsideShowsTheVisibleColumns) {
  OwnedMemImg cell(48, 48, MEMIMG_TYPE_COLOR32);
  OwnedMemImg screen(64, 64, MEMIMG_TYPE_COLOR32);
  NumberPixels(cell);
  screen.Fill(UNTOUCHED);
  BlitMemImg(screen.get(), cell.get(), -10, 5, 0, nullptr, Settings(*screen, 0, 0));
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      bool inside = x < 38 && y >= 5 && y < 53;
      ASSERT_EQ(screen.At(x, y), inside ? Numbered(x + 10, y - 5) : UNTOUCHED) << x << ", " << y;
    }
  }
}

// Images whose rows follow each other without a gap are copied as one
// span. Every pixel arrives and none is written outside the destination,
// wherever the pixels start.
TEST(BlitWholeImages, GaplessCopiesAreExactAtEveryAlignment) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{800, 600}, {516, 509}, {256, 256}, {800, 1}};
  constexpr size_t GUARD = 8;  // pixels before and after the destination
  for (const Size& size : sizes) {
    const size_t count = static_cast<size_t>(size.width) * size.height;
    std::vector<uint32_t> sourcePixels(count);
    std::mt19937 random(static_cast<uint32_t>(count));
    for (uint32_t& pixel : sourcePixels) pixel = random();
    for (size_t offset : {0, 1, 2, 3}) {
      std::vector<uint32_t> target(count + 2 * GUARD + 4, UNTOUCHED);
      MEMIMG source{}, destination{};
      ASSERT_EQ(CreateMemImg(&source, size.width, size.height, size.width * 4, 0,
                             MEMIMG_TYPE_COLOR32, 0, 0, sourcePixels.data()),
                0);
      ASSERT_EQ(CreateMemImg(&destination, size.width, size.height, size.width * 4, 0,
                             MEMIMG_TYPE_COLOR32, 0, 0, &target[GUARD + offset]),
                0);
      BlitMemImg(&destination, &source, 0, 0, 0, nullptr, Settings(destination, 0, 0));
      ReleaseMemImg(&source);
      ReleaseMemImg(&destination);
      for (size_t i = 0; i < target.size(); ++i) {
        bool inside = i >= GUARD + offset && i < GUARD + offset + count;
        ASSERT_EQ(target[i], inside ? sourcePixels[i - GUARD - offset] : UNTOUCHED)
            << size.width << " x " << size.height << ", offset " << offset << ", pixel " << i;
      }
    }
  }
}

TEST(BlitClipping, DrawAreaLimitsEveryRoutine) {
  OwnedMemImg source(16, 16, MEMIMG_TYPE_COLOR32);
  OwnedMemImg blend(16, 16, MEMIMG_TYPE_GRAY8);
  NumberPixels(source);
  blend.Fill(0x80);
  SetBlendImageTable(0, 0);
  const Rect area{3, 4, 9, 11};
  auto expectOnlyInside = [&](OwnedMemImg& target, const char* what) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        ASSERT_EQ(target.At(x, y) != UNTOUCHED, inside) << what << " at " << x << ", " << y;
      }
    }
  };
  for (int mode : {0, 1, 2}) {
    OwnedMemImg target(16, 16, MEMIMG_TYPE_COLOR32);
    MemImgDrawSettings settings = Settings(*target, mode, 200);
    settings.drawArea = area;
    target.Fill(UNTOUCHED);
    BlitMemImg(target.get(), source.get(), 0, 0, 0, blend.get(), settings);
    expectOnlyInside(target, "blit");
    target.Fill(UNTOUCHED);
    BlitMemImgScaled(target.get(), source.get(), Rect{-5, -5, 20, 21}, 0, nullptr, settings);
    expectOnlyInside(target, "scaled blit");
    target.Fill(UNTOUCHED);
    MemImgVertex triangle1[3] = {{-4, -4, 0, 0}, {20, -4, 16, 0}, {-4, 20, 0, 16}};
    MemImgVertex triangle2[3] = {{20, -4, 16, 0}, {-4, 20, 0, 16}, {20, 20, 16, 16}};
    DrawMemImgTriangle(target.get(), source.get(), triangle1, 0, nullptr, settings);
    DrawMemImgTriangle(target.get(), source.get(), triangle2, 0, nullptr, settings);
    expectOnlyInside(target, "triangles");
    target.Fill(UNTOUCHED);
    Rect box{-3, -3, 30, 30};
    FillMemImgRect(target.get(), &box, 0x123456, settings);
    expectOnlyInside(target, "fill");
  }
}

// A view inside a larger store: nothing outside the view changes, whatever
// draw area the caller passes.
TEST(BlitClipping, DrawingNeverLeavesTheDestinationView) {
  OwnedMemImg store(20, 20, MEMIMG_TYPE_COLOR32);
  OwnedMemImg source(30, 30, MEMIMG_TYPE_COLOR32);
  NumberPixels(source);
  store.Fill(UNTOUCHED);
  MEMIMG view{};
  DeriveMemImg(&view, store.get(), 5, 6, 8, 7);
  ASSERT_TRUE(IsMemImgValid(&view));
  MemImgDrawSettings settings = Settings(view, 0, 0);
  settings.drawArea = Rect{-100, -100, 100, 100};
  BlitMemImg(&view, source.get(), -3, -3, 0, nullptr, settings);
  BlitMemImgScaled(&view, source.get(), Rect{-50, -50, 50, 50}, 0, nullptr, settings);
  FillMemImgRect(&view, nullptr, 0x111111, settings);
  DrawMemImgLine(&view, -40, 3, 40, 3, 0x222222, settings);
  DrawMemImgLine(&view, 3, 40, 3, -40, 0x222222, settings);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool inView = x >= 5 && x < 13 && y >= 6 && y < 13;
      ASSERT_EQ(store.At(x, y) != UNTOUCHED, inView) << x << ", " << y;
    }
  }
  ReleaseMemImg(&view);
}

TEST(BlitChecks, UnsupportedCombinationsDrawNothing) {
  OwnedMemImg source32(4, 4, MEMIMG_TYPE_COLOR32);
  OwnedMemImg source16(4, 4, MEMIMG_TYPE_COLOR16);
  OwnedMemImg target32(4, 4, MEMIMG_TYPE_COLOR32);
  OwnedMemImg paletteTarget(4, 4, MEMIMG_TYPE_COLOR32, true);
  OwnedMemImg alphaTarget(4, 4, MEMIMG_TYPE_COLOR32, false, true);
  OwnedMemImg smallBlend(3, 4, MEMIMG_TYPE_GRAY8);
  OwnedMemImg colorBlend(4, 4, MEMIMG_TYPE_COLOR32);
  source32.Fill(0x00FF00);
  source16.Fill(0x07E0);
  for (OwnedMemImg* target : {&target32, &paletteTarget, &alphaTarget}) target->Fill(0);
  MemImgDrawSettings settings = Settings(*target32, 0, 0);
  BlitMemImg(target32.get(), source16.get(), 0, 0, 0, nullptr, settings);
  BlitMemImg(paletteTarget.get(), source32.get(), 0, 0, 0, nullptr, settings);
  BlitMemImg(alphaTarget.get(), source32.get(), 0, 0, 0, nullptr, settings);
  BlitMemImg(target32.get(), source32.get(), 0, 0, 0, smallBlend.get(), settings);
  BlitMemImg(target32.get(), source32.get(), 0, 0, 0, colorBlend.get(), settings);
  FillMemImgRect(paletteTarget.get(), nullptr, 5, settings);
  FillMemImgRect(alphaTarget.get(), nullptr, 5, settings);
  for (OwnedMemImg* target : {&target32, &paletteTarget, &alphaTarget}) {
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) EXPECT_EQ(target->At(x, y), 0u);
    }
  }
  EXPECT_EQ(MemImgBlitLoopName(target32.get(), source16.get(), 0, nullptr, settings), nullptr);
  EXPECT_EQ(MemImgFillLoopName(alphaTarget.get(), settings), nullptr);
}

// --- scaled blits ----------------------------------------------------------

// The source columns shown along one row of a scaled blit.
std::vector<int> ShownColumns(int sourceWidth, const Rect& rect, const Rect& area) {
  OwnedMemImg source(sourceWidth, 1, MEMIMG_TYPE_COLOR32);
  NumberPixels(source);
  int width = std::max(area.right, 1);
  OwnedMemImg target(width, 1, MEMIMG_TYPE_COLOR32);
  target.Fill(UNTOUCHED);
  MemImgDrawSettings settings = Settings(*target, 0, 0);
  settings.drawArea = area;
  BlitMemImgScaled(target.get(), source.get(), rect, 0, nullptr, settings);
  std::vector<int> columns;
  for (int x = 0; x < width; ++x) {
    uint32_t v = target.At(x, 0);
    columns.push_back(v == UNTOUCHED ? -1 : static_cast<int>((v - 0x010101) & 0xFF));
  }
  return columns;
}

TEST(ScaledBlit, StepsThroughTheSourceInSixteenPointSixteen) {
  EXPECT_EQ(ShownColumns(2, Rect{0, 0, 5, 1}, Rect{0, 0, 5, 1}), (std::vector<int>{0, 0, 0, 1, 1}));
  EXPECT_EQ(ShownColumns(5, Rect{0, 0, 2, 1}, Rect{0, 0, 2, 1}), (std::vector<int>{0, 2}));
  // Mirrored: the columns are counted from the far end.
  EXPECT_EQ(ShownColumns(2, Rect{5, 0, 0, 1}, Rect{0, 0, 5, 1}), (std::vector<int>{1, 1, 1, 0, 0}));
}

// With c columns clipped off, column j (from the unclipped left edge) still
// shows floor(j * 65536 / step).
TEST(ScaledBlit, ClippingKeepsTheUnclippedStepping) {
  for (int sourceWidth : {3, 7, 13}) {
    for (int width : {5, 11, 29, 2}) {
      for (int left : {-7, -1, 0, 3}) {
        Rect rect{left, 0, left + width, 1};
        Rect area{2, 0, 9, 1};
        std::vector<int> shown = ShownColumns(sourceWidth, rect, area);
        int64_t step = (int64_t{width} << 16) / sourceWidth;
        for (int x = 0; x < area.right; ++x) {
          int j = x - left;
          bool drawn = x >= area.left && j >= 0 && j < width;
          int expected = drawn ? static_cast<int>(int64_t{j} * 65536 / step) : -1;
          ASSERT_EQ(shown[x], expected) << "source " << sourceWidth << ", width " << width
                                        << ", left " << left << ", x " << x;
        }
      }
    }
  }
}

TEST(ScaledBlit, OwnSizeIsThePlainBlitAndSwappedEdgesMirror) {
  OwnedMemImg source(6, 4, MEMIMG_TYPE_COLOR32, false, false, Numbered(2, 1));
  NumberPixels(source);
  OwnedMemImg plain(10, 10, MEMIMG_TYPE_COLOR32), scaled(10, 10, MEMIMG_TYPE_COLOR32);
  plain.Fill(0x808080);
  scaled.Fill(0x808080);
  MemImgDrawSettings settings = Settings(*plain, 1, 77);
  BlitMemImg(plain.get(), source.get(), 2, 3, 1, nullptr, settings);
  BlitMemImgScaled(scaled.get(), source.get(), Rect{2, 3, 8, 7}, 1, nullptr, settings);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(scaled.At(x, y), plain.At(x, y)) << x << ", " << y;
  }

  OwnedMemImg mirrored(6, 4, MEMIMG_TYPE_COLOR32);
  for (Rect rect : {Rect{6, 0, 0, 4}, Rect{0, 4, 6, 0}, Rect{6, 4, 0, 0}}) {
    mirrored.Fill(0);
    BlitMemImgScaled(mirrored.get(), source.get(), rect, 0, nullptr, Settings(*mirrored, 0, 0));
    bool flipX = rect.left > rect.right, flipY = rect.top > rect.bottom;
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 6; ++x) {
        ASSERT_EQ(mirrored.At(x, y), Numbered(flipX ? 5 - x : x, flipY ? 3 - y : y)) << x << ", " << y;
      }
    }
  }
}

TEST(ScaledBlit, BlendImageIsSampledWithTheSource) {
  OwnedMemImg source(2, 1, MEMIMG_TYPE_COLOR32);
  OwnedMemImg blend(2, 1, MEMIMG_TYPE_GRAY8);
  OwnedMemImg target(4, 1, MEMIMG_TYPE_COLOR32);
  source.Fill(0xFFFFFF);
  blend.Set(0, 0, 0);
  blend.Set(1, 0, 255);
  target.Fill(0);
  SetBlendImageTable(128, 0);  // a step: grey 0 weighs 0, grey 255 weighs 255
  BlitMemImgScaled(target.get(), source.get(), Rect{4, 0, 0, 1}, 0, blend.get(), Settings(*target, 0, 0));
  // Mirrored, so the right half shows grey 0 (nothing) and the left grey 255.
  EXPECT_EQ(target.At(0, 0), 0xFEFEFEu);
  EXPECT_EQ(target.At(1, 0), 0xFEFEFEu);
  EXPECT_EQ(target.At(2, 0), 0u);
  EXPECT_EQ(target.At(3, 0), 0u);
}

// --- triangles -------------------------------------------------------------

void DrawQuad(MEMIMG* target, const MEMIMG* source, const MemImgVertex corners[4],
              const MemImgDrawSettings& settings) {
  // Top-left, top-right, bottom-left, bottom-right; triangles (0, 1, 2)
  // and (1, 2, 3).
  MemImgVertex first[3] = {corners[0], corners[1], corners[2]};
  MemImgVertex second[3] = {corners[1], corners[2], corners[3]};
  DrawMemImgTriangle(target, source, first, 0, nullptr, settings);
  DrawMemImgTriangle(target, source, second, 0, nullptr, settings);
}

TEST(Triangles, AnUprightQuadIsThePlainBlit) {
  OwnedMemImg source(7, 5, MEMIMG_TYPE_COLOR32);
  NumberPixels(source);
  OwnedMemImg plain(16, 16, MEMIMG_TYPE_COLOR32), drawn(16, 16, MEMIMG_TYPE_COLOR32);
  plain.Fill(UNTOUCHED);
  drawn.Fill(UNTOUCHED);
  BlitMemImg(plain.get(), source.get(), 3, 4, 0, nullptr, Settings(*plain, 0, 0));
  MemImgVertex corners[4] = {{3, 4, 0, 0}, {10, 4, 7, 0}, {3, 9, 0, 5}, {10, 9, 7, 5}};
  DrawQuad(drawn.get(), source.get(), corners, Settings(*drawn, 0, 0));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) ASSERT_EQ(drawn.At(x, y), plain.At(x, y)) << x << ", " << y;
  }
}

// Where the integer point (px, py) lies against the convex quad: +1 inside,
// -1 outside, 0 on its boundary.
int QuadSide(const MemImgVertex c[4], int px, int py) {
  const MemImgVertex* ring[4] = {&c[0], &c[1], &c[3], &c[2]};
  int64_t area = 0;
  for (int i = 0; i < 4; ++i) {
    const MemImgVertex& a = *ring[i];
    const MemImgVertex& b = *ring[(i + 1) % 4];
    area += int64_t{a.x} * b.y - int64_t{b.x} * a.y;
  }
  bool onEdge = false;
  for (int i = 0; i < 4; ++i) {
    const MemImgVertex& a = *ring[i];
    const MemImgVertex& b = *ring[(i + 1) % 4];
    int64_t cross = (int64_t{b.x} - a.x) * (py - a.y) - (int64_t{b.y} - a.y) * (px - a.x);
    if (area > 0 ? cross < 0 : cross > 0) return -1;
    if (cross == 0) onEdge = true;
  }
  return onEdge ? 0 : 1;
}

// Each pixel of a quadrilateral drawn as two triangles is drawn exactly
// once: adding 1 per draw leaves 1 inside, 0 outside, never 2.
TEST(Triangles, AQuadCoversEachOfItsPixelsOnce) {
  OwnedMemImg ones(16, 16, MEMIMG_TYPE_COLOR32);
  ones.Fill(0x010101);
  std::mt19937 random(1234);
  std::vector<std::vector<MemImgVertex>> quads = {
      {{2, 2, 0, 0}, {30, 2, 16, 0}, {2, 30, 0, 16}, {30, 30, 16, 16}},
      {{10, 0, 0, 0}, {40, 12, 16, 0}, {0, 30, 0, 16}, {30, 40, 16, 16}},  // rotated
      {{12, 3, 0, 0}, {20, 3, 16, 0}, {1, 38, 0, 16}, {39, 38, 16, 16}},   // trapezoid
      {{5, 5, 0, 0}, {6, 5, 16, 0}, {5, 44, 0, 16}, {6, 44, 16, 16}},      // one column
  };
  for (int i = 0; i < 40; ++i) {
    // A rotated, scaled rectangle around a random centre.
    double angle = std::uniform_real_distribution<double>(0, 6.283)(random);
    double w = std::uniform_real_distribution<double>(3, 20)(random);
    double h = std::uniform_real_distribution<double>(3, 20)(random);
    double cx = 24, cy = 24, ca = std::cos(angle), sa = std::sin(angle);
    auto corner = [&](double dx, double dy, int u, int v) {
      return MemImgVertex{static_cast<int>(std::lround(cx + dx * ca - dy * sa)),
                          static_cast<int>(std::lround(cy + dx * sa + dy * ca)), u, v};
    };
    quads.push_back({corner(-w, -h, 0, 0), corner(w, -h, 16, 0), corner(-w, h, 0, 16),
                     corner(w, h, 16, 16)});
  }
  for (const std::vector<MemImgVertex>& quad : quads) {
    OwnedMemImg count(48, 48, MEMIMG_TYPE_COLOR32);
    count.Fill(0);
    DrawQuad(count.get(), ones.get(), quad.data(), Settings(*count, 2, 255));
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 48; ++x) {
        uint32_t hits = count.At(x, y) & 0xFF;
        int side = QuadSide(quad.data(), x, y);
        ASSERT_LE(hits, 1u) << "drawn twice at " << x << ", " << y;
        if (side != 0) {
          ASSERT_EQ(hits, side > 0 ? 1u : 0u) << x << ", " << y << " of quad at (" << quad[0].x
                                              << ", " << quad[0].y << ")";
        }
      }
    }
  }
}

TEST(Triangles, DegenerateTrianglesDrawNothingAndSamplesStayInTheSource) {
  OwnedMemImg source(4, 4, MEMIMG_TYPE_COLOR32);
  NumberPixels(source);
  OwnedMemImg target(20, 20, MEMIMG_TYPE_COLOR32);
  target.Fill(UNTOUCHED);
  MemImgVertex line[3] = {{0, 0, 0, 0}, {5, 5, 4, 4}, {10, 10, 4, 4}};
  DrawMemImgTriangle(target.get(), source.get(), line, 0, nullptr, Settings(*target, 0, 0));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(target.At(x, y), UNTOUCHED);
  }
  // Texture coordinates far outside the source read its edge pixels.
  MemImgVertex wild[3] = {{0, 0, -50, -50}, {19, 0, 90, -50}, {0, 19, -50, 90}};
  DrawMemImgTriangle(target.get(), source.get(), wild, 0, nullptr, Settings(*target, 0, 0));
  EXPECT_EQ(target.At(0, 0), Numbered(0, 0));
  EXPECT_EQ(target.At(17, 0), Numbered(3, 0));
}

// --- lines -----------------------------------------------------------------

std::vector<std::pair<int, int>> LinePixels(int x1, int y1, int x2, int y2, const Rect& area,
                                            int size = 12) {
  OwnedMemImg target(size, size, MEMIMG_TYPE_COLOR32);
  target.Fill(0);
  MemImgDrawSettings settings = Settings(*target, 0, 0);
  settings.drawArea = area;
  DrawMemImgLine(target.get(), x1, y1, x2, y2, 0xFFFFFF, settings);
  std::vector<std::pair<int, int>> pixels;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (target.At(x, y) != 0) pixels.emplace_back(x, y);
    }
  }
  return pixels;
}

using Pixels = std::vector<std::pair<int, int>>;

TEST(Lines, StepAlongTheLongerAxisAndStopBeforeTheEnd) {
  Rect all{0, 0, 12, 12};
  EXPECT_EQ(LinePixels(0, 0, 4, 0, all), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
  EXPECT_EQ(LinePixels(4, 0, 0, 0, all), (Pixels{{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
  EXPECT_EQ(LinePixels(0, 0, 3, 3, all), (Pixels{{0, 0}, {1, 1}, {2, 2}}));
  // The error grows by 2 per pixel and steps y when it reaches 5.
  EXPECT_EQ(LinePixels(0, 0, 5, 2, all), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));
  EXPECT_EQ(LinePixels(2, 5, 0, 0, all), (Pixels{{1, 1}, {1, 2}, {2, 3}, {2, 4}, {2, 5}}));
  EXPECT_TRUE(LinePixels(3, 3, 3, 3, all).empty());
}

// A clipped line shows exactly the pixels of the whole line inside the area,
// including the last column and row of the area.
TEST(Lines, ClippingKeepsThePixelsOfTheWholeLine) {
  std::mt19937 random(99);
  std::uniform_int_distribution<int> coordinate(-30, 42);
  Rect area{3, 2, 12, 9};
  for (int i = 0; i < 400; ++i) {
    int x1 = coordinate(random), y1 = coordinate(random), x2 = coordinate(random), y2 = coordinate(random);
    OwnedMemImg whole(120, 120, MEMIMG_TYPE_COLOR32);
    whole.Fill(0);
    // The same line shifted into a canvas large enough to hold all of it.
    DrawMemImgLine(whole.get(), x1 + 40, y1 + 40, x2 + 40, y2 + 40, 1, Settings(*whole, 0, 0));
    Pixels expected;
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 12; ++x) {
        bool inArea = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
        if (inArea && whole.At(x + 40, y + 40) != 0) expected.emplace_back(x, y);
      }
    }
    ASSERT_EQ(LinePixels(x1, y1, x2, y2, area), expected)
        << "(" << x1 << ", " << y1 << ") to (" << x2 << ", " << y2 << ")";
  }
}

TEST(Lines, AnOutlineAlongTheAreaEdgesIsClosed) {
  // PaintBox's outline of the whole area: the bottom-right pixel is drawn.
  OwnedMemImg target(8, 6, MEMIMG_TYPE_COLOR32);
  target.Fill(0);
  const MemImgLine border[4] = {
      {0, 0, 8, 0, 1}, {0, 5, 8, 5, 1}, {0, 0, 0, 6, 1}, {7, 0, 7, 6, 1}};
  DrawMemImgLines(target.get(), border, 4, Settings(*target, 0, 0));
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) {
      bool edge = x == 0 || x == 7 || y == 0 || y == 5;
      ASSERT_EQ(target.At(x, y), edge ? 1u : 0u) << x << ", " << y;
    }
  }
}

// --- fills -----------------------------------------------------------------

TEST(Fills, RectangleIsOrderedAndClippedNullFillsTheWholeView) {
  OwnedMemImg target(10, 10, MEMIMG_TYPE_COLOR32);
  MemImgDrawSettings settings = Settings(*target, 0, 0);
  settings.drawArea = Rect{1, 1, 8, 8};
  target.Fill(0);
  Rect swapped{6, 7, 2, 3};
  FillMemImgRect(target.get(), &swapped, 5, settings);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(target.At(x, y), (x >= 2 && x < 6 && y >= 3 && y < 7) ? 5u : 0u) << x << ", " << y;
    }
  }
  FillMemImgRect(target.get(), nullptr, 9, settings);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) ASSERT_EQ(target.At(x, y), 9u);
  }
}

TEST(Fills, ModulationScalesEachFieldByMOver256) {
  OwnedMemImg target32(1, 1, MEMIMG_TYPE_COLOR32), target16(1, 1, MEMIMG_TYPE_COLOR16);
  FillMemImgRect(target32.get(), nullptr, 0x80FF40, Settings(*target32, 0, 0, 128, 255, 0));
  EXPECT_EQ(target32.At(0, 0), 0x40FE00u);
  // 5-6-5 fields 31, 63, 31 times 128, 255, 64 over 256: 15, 62, 7.
  FillMemImgRect(target16.get(), nullptr, 0xFFFF, Settings(*target16, 0, 0, 128, 255, 64));
  EXPECT_EQ(target16.At(0, 0), (15u << 11) | (62u << 5) | 7u);
}

TEST(Fills, PaintBoxBarsAreTheSameInModeZeroAndModeOneAtFullStrength) {
  OwnedMemImg a(80, 10, MEMIMG_TYPE_COLOR32), b(80, 10, MEMIMG_TYPE_COLOR32);
  a.Fill(0x445566);
  b.Fill(0x445566);
  Rect bar{0, 0, 80, 6};
  FillMemImgRect(a.get(), &bar, 0x161616, Settings(*a, 0, 0));
  FillMemImgRect(b.get(), &bar, 0x161616, Settings(*b, 1, 255));
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 80; ++x) {
      ASSERT_EQ(a.At(x, y), y < 6 ? 0x161616u : 0x445566u);
      ASSERT_EQ(b.At(x, y), a.At(x, y));
    }
  }
}

}  // namespace
