// Lines: the pixels of the stepped line from (x1, y1) that lie inside the
// draw area. The line is stepped as if nothing were clipped, so a clipped
// line shows exactly the pixels of the whole line that fall inside, its end
// pixels at the area's edges included.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgDraw.h"

namespace {

// Coordinates beyond this are refused, so that every product below fits in
// 64 bits.
constexpr int64_t MAX_LINE_COORDINATE = int64_t{1} << 30;

int64_t CeilDiv(int64_t a, int64_t b) {  // b > 0
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// The steps i (start inclusive, end exclusive) at which start + sign * f(i)
// lies in [low, high), for f(i) = i along the major axis.
void MajorRange(int64_t start, int sign, int64_t low, int64_t high, int64_t* first,
                int64_t* end) {
  if (sign > 0) {
    *first = low - start;
    *end = high - start;
  } else {
    *first = start - high + 1;
    *end = start - low + 1;
  }
}

// The steps at which the minor coordinate start + sign * floor(i * minor /
// major) lies in [low, high).
void MinorRange(int64_t start, int sign, int64_t minor, int64_t major, int64_t low,
                int64_t high, int64_t* first, int64_t* end) {
  int64_t kLow = sign >= 0 ? low - start : start - high + 1;
  int64_t kHigh = sign >= 0 ? high - 1 - start : start - low;
  if (minor == 0) {
    bool inside = kLow <= 0 && 0 <= kHigh;
    *first = 0;
    *end = inside ? major : 0;
    return;
  }
  // floor(i * minor / major) >= kLow  <=>  i >= ceil(kLow * major / minor);
  // floor(i * minor / major) <= kHigh <=>  i <  ceil((kHigh + 1) * major / minor).
  *first = kLow <= 0 ? 0 : CeilDiv(kLow * major, minor);
  *end = kHigh < 0 ? 0 : CeilDiv((kHigh + 1) * major, minor);
}

}  // namespace

void DrawMemImgLine(MEMIMG* destination, int x1, int y1, int x2, int y2, uint32_t color,
                    const MemImgDrawSettings& settings) {
  ColorDrawSetup setup;
  if (!PrepareColorDraw(destination, color, settings, &setup)) return;
  Rect clip = DrawingClip(*destination, settings.drawArea);
  if (IsRectEmpty(clip)) return;
  for (int64_t v : {x1, y1, x2, y2}) {
    if (std::llabs(v) > MAX_LINE_COORDINATE) return;
  }
  int64_t dx = int64_t{x2} - x1, dy = int64_t{y2} - y1;
  int64_t major = std::max(std::llabs(dx), std::llabs(dy));
  if (major == 0) return;
  bool alongX = std::llabs(dx) >= std::llabs(dy);
  int64_t minor = alongX ? std::llabs(dy) : std::llabs(dx);
  int majorSign = (alongX ? dx : dy) < 0 ? -1 : 1;
  int minorSign = (alongX ? dy : dx) < 0 ? -1 : 1;
  int64_t majorStart = alongX ? x1 : y1, minorStart = alongX ? y1 : x1;
  int64_t majorLow = alongX ? clip.left : clip.top, majorHigh = alongX ? clip.right : clip.bottom;
  int64_t minorLow = alongX ? clip.top : clip.left, minorHigh = alongX ? clip.bottom : clip.right;

  int64_t first, end, minorFirst, minorEnd;
  MajorRange(majorStart, majorSign, majorLow, majorHigh, &first, &end);
  MinorRange(minorStart, minorSign, minor, major, minorLow, minorHigh, &minorFirst, &minorEnd);
  first = std::max<int64_t>({first, minorFirst, 0});
  end = std::min({end, minorEnd, major});
  if (first >= end) return;

  // The error term of step i is i * minor mod major; the minor axis moves
  // whenever it reaches major.
  int64_t k = first * minor / major;
  int64_t error = first * minor - k * major;
  for (int64_t i = first; i < end; ++i) {
    int64_t a = majorStart + majorSign * i, b = minorStart + minorSign * k;
    int x = static_cast<int>(alongX ? a : b), y = static_cast<int>(alongX ? b : a);
    setup.choice.loop(MemImgPixelAddress(*destination, x, y), 1, setup.context);
    error += minor;
    if (error >= major) {
      ++k;
      error -= major;
    }
  }
}

void DrawMemImgLines(MEMIMG* destination, const MemImgLine* lines, int count,
                     const MemImgDrawSettings& settings) {
  if (lines == nullptr) return;
  for (int i = 0; i < count; ++i) {
    const MemImgLine& line = lines[i];
    DrawMemImgLine(destination, line.x1, line.y1, line.x2, line.y2, line.color, settings);
  }
}
