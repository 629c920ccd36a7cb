#include "engine/platform/emulated/PictureScaling.h"

#include <algorithm>
#include <cstdint>

namespace emulated {

namespace {

// numerator / denominator rounded to the nearest whole number (both
// positive).
int RoundedQuotient(int64_t numerator, int64_t denominator) {
  return int((2 * numerator + denominator) / (2 * denominator));
}

// value * to / from, rounded down also for negative values.
int ScaleDown(int64_t value, int64_t to, int64_t from) {
  const int64_t product = value * to;
  return int(product >= 0 ? product / from : -((-product + from - 1) / from));
}

}  // namespace

ScaledPicture FitPictureToScreen(PictureSize picture, PictureSize screen) {
  if (picture.width <= 0 || picture.height <= 0 || screen.width <= 0 || screen.height <= 0)
    return ScaledPicture{0, 0, 0, 0, 0};
  int width = screen.width;
  int height = screen.height;
  // The screen is relatively wider than the picture: the height decides,
  // bars at the sides; otherwise the width decides, bars above and below.
  if (int64_t(screen.width) * picture.height > int64_t(screen.height) * picture.width)
    width = RoundedQuotient(int64_t(screen.height) * picture.width, picture.height);
  else
    height = RoundedQuotient(int64_t(screen.width) * picture.height, picture.width);
  const int wholeFactor = std::min(width / picture.width, height / picture.height);
  return ScaledPicture{(screen.width - width) / 2, (screen.height - height) / 2, width, height,
                       wholeFactor};
}

bool IsWholeMultiple(const ScaledPicture& shown, PictureSize picture) {
  return shown.wholeFactor >= 1 && shown.width == shown.wholeFactor * picture.width &&
         shown.height == shown.wholeFactor * picture.height;
}

ScalingSteps SharpScalingSteps(const ScaledPicture& shown, PictureSize picture) {
  return ScalingSteps{std::max(shown.wholeFactor, 1), !IsWholeMultiple(shown, picture)};
}

port::Point ScreenToPicture(port::Point screen, const ScaledPicture& shown, PictureSize picture) {
  if (shown.width <= 0 || shown.height <= 0) return port::Point{0, 0};
  // The centre of the screen pixel, in the picture's coordinates.
  const int x = ScaleDown(2 * int64_t(screen.x - shown.x) + 1, picture.width, 2 * int64_t(shown.width));
  const int y = ScaleDown(2 * int64_t(screen.y - shown.y) + 1, picture.height, 2 * int64_t(shown.height));
  return port::Point{std::clamp(x, 0, picture.width - 1), std::clamp(y, 0, picture.height - 1)};
}

port::WindowRect PictureToScreen(const port::WindowRect& area, const ScaledPicture& shown,
                                 PictureSize picture) {
  if (picture.width <= 0 || picture.height <= 0) return port::WindowRect{0, 0, 0, 0};
  auto x = [&](int value) { return shown.x + ScaleDown(value, shown.width, picture.width); };
  auto y = [&](int value) { return shown.y + ScaleDown(value, shown.height, picture.height); };
  return port::WindowRect{x(area.left), y(area.top), x(area.right), y(area.bottom)};
}

}  // namespace emulated
