#include <gtest/gtest.h>

#include <set>

#include "engine/platform/emulated/PictureScaling.h"

namespace {

using emulated::FitPictureToScreen;
using emulated::PictureSize;
using emulated::ScaledPicture;

constexpr PictureSize GAME{800, 600};

TEST(PictureScaling, TheLargestRectangleOfThePicturesAspectCentred) {
  struct Case {
    PictureSize picture, screen;
    ScaledPicture expected;
    bool whole;
    emulated::ScalingSteps steps;
  } cases[] = {
      {GAME, {800, 600}, {0, 0, 800, 600, 1}, true, {1, false}},
      {GAME, {1024, 768}, {0, 0, 1024, 768, 1}, false, {1, true}},      // 1.28 times, no bars
      {GAME, {1280, 800}, {106, 0, 1067, 800, 1}, false, {1, true}},    // 1066.67 wide: bars at the sides
      {GAME, {1366, 768}, {171, 0, 1024, 768, 1}, false, {1, true}},
      {GAME, {1920, 1080}, {240, 0, 1440, 1080, 1}, false, {1, true}},
      {GAME, {1280, 1024}, {0, 32, 1280, 960, 1}, false, {1, true}},    // taller: bars above and below
      {GAME, {1600, 1200}, {0, 0, 1600, 1200, 2}, true, {2, false}},
      {GAME, {1920, 1200}, {160, 0, 1600, 1200, 2}, true, {2, false}},  // twice, with bars
      {GAME, {3840, 2160}, {480, 0, 2880, 2160, 3}, false, {3, true}},  // 3.6 times: 3 square, the rest smooth
      {GAME, {640, 480}, {0, 0, 640, 480, 0}, false, {1, true}},        // smaller than the picture
      {{640, 480}, {1920, 1080}, {240, 0, 1440, 1080, 2}, false, {2, true}},
      {GAME, {0, 768}, {0, 0, 0, 0, 0}, false, {1, true}},
      {{0, 600}, {1024, 768}, {0, 0, 0, 0, 0}, false, {1, true}},
  };
  for (const Case& c : cases) {
    const ScaledPicture shown = FitPictureToScreen(c.picture, c.screen);
    SCOPED_TRACE(testing::Message() << c.picture.width << "x" << c.picture.height << " on "
                                    << c.screen.width << "x" << c.screen.height);
    EXPECT_EQ(shown.x, c.expected.x);
    EXPECT_EQ(shown.y, c.expected.y);
    EXPECT_EQ(shown.width, c.expected.width);
    EXPECT_EQ(shown.height, c.expected.height);
    EXPECT_EQ(shown.wholeFactor, c.expected.wholeFactor);
    EXPECT_EQ(emulated::IsWholeMultiple(shown, c.picture), c.whole);
    const emulated::ScalingSteps steps = emulated::SharpScalingSteps(shown, c.picture);
    EXPECT_EQ(steps.wholeFactor, c.steps.wholeFactor);
    EXPECT_EQ(steps.smooth, c.steps.smooth);
  }
}

TEST(PictureScaling, ScreenPointsMapToThePicturePixelUnderThem) {
  struct Case {
    PictureSize screen;
    port::Point point, expected;
  } cases[] = {
      {{1024, 768}, {0, 0}, {0, 0}},
      {{1024, 768}, {512, 384}, {400, 300}},
      {{1024, 768}, {1023, 767}, {799, 599}},
      {{1280, 800}, {106, 0}, {0, 0}},        // the picture's first column
      {{1280, 800}, {1172, 799}, {799, 599}},  // its last
      {{1280, 800}, {640, 400}, {400, 300}},
      {{1280, 800}, {0, 400}, {0, 300}},       // the left bar: the picture's edge
      {{1280, 800}, {1279, 0}, {799, 0}},      // the right bar
      {{1280, 800}, {-50, 900}, {0, 599}},     // outside the screen
      {{1600, 1200}, {3, 3}, {1, 1}},
      {{640, 480}, {639, 479}, {799, 599}},
  };
  for (const Case& c : cases) {
    const ScaledPicture shown = FitPictureToScreen(GAME, c.screen);
    const port::Point picture = emulated::ScreenToPicture(c.point, shown, GAME);
    EXPECT_EQ(picture.x, c.expected.x) << c.screen.width << "x" << c.screen.height << " at " << c.point.x;
    EXPECT_EQ(picture.y, c.expected.y) << c.screen.width << "x" << c.screen.height << " at " << c.point.y;
  }
}

// Enlarged, every picture column is under some screen column, in order: the
// mouse reaches every one of them.
TEST(PictureScaling, EveryPictureColumnIsReachedInOrder) {
  for (PictureSize screen : {PictureSize{1024, 768}, PictureSize{1280, 800}, PictureSize{1920, 1080}}) {
    const ScaledPicture shown = FitPictureToScreen(GAME, screen);
    std::set<int> reached;
    int previous = 0;
    for (int x = 0; x < screen.width; ++x) {
      const int column = emulated::ScreenToPicture({x, 0}, shown, GAME).x;
      EXPECT_GE(column, previous) << "screen column " << x;
      previous = column;
      reached.insert(column);
    }
    EXPECT_EQ(reached.size(), 800u) << screen.width << "x" << screen.height;
  }
}

TEST(PictureScaling, PictureRectanglesOnTheScreen) {
  const ScaledPicture shown = FitPictureToScreen(GAME, {1280, 800});
  const port::WindowRect whole = emulated::PictureToScreen({0, 0, 800, 600}, shown, GAME);
  EXPECT_EQ(whole.left, 106);
  EXPECT_EQ(whole.top, 0);
  EXPECT_EQ(whole.right, 106 + 1067);
  EXPECT_EQ(whole.bottom, 800);
  const port::WindowRect quarter = emulated::PictureToScreen({400, 300, 800, 600}, shown, GAME);
  EXPECT_EQ(quarter.left, 106 + 533);
  EXPECT_EQ(quarter.top, 400);
  EXPECT_EQ(quarter.right, 106 + 1067);
}

}  // namespace
