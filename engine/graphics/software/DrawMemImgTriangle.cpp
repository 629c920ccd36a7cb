// The affinely textured triangle.
//
// Vertices sit half a pixel into their pixels, so pixel (px, py) is covered
// when the point (px, py) lies inside the triangle of the integer vertex
// coordinates. Points on an edge belong to the triangle whose edge is a top
// or left edge; an edge shared by two triangles is traversed in opposite
// directions by them, so exactly one of the two takes its points, and a
// quadrilateral drawn as two triangles covers each pixel once. Coverage is
// decided in exact integer arithmetic, one row span at a time.
//
// Texture coordinates are 14.18 fixed point: their gradients along x and y
// come from the cross products, scaled by 262144 and divided by the doubled
// signed area in floating point, truncated toward zero; each pixel samples
// the source pixel that contains its (u, v).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "engine/graphics/software/DrawSetup.h"
#include "engine/graphics/software/MemImgClip.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/SpanGather.h"

namespace {

constexpr int FRACTION_BITS = 18;
constexpr int64_t FIXED_ONE = int64_t{1} << FRACTION_BITS;
constexpr double ONE = 262144.0;  // FIXED_ONE
// Vertex coordinates are refused beyond this, so that the edge products fit
// in 64 bits; gradients are held below 2^36 (a 2^18-texel jump per pixel),
// so that interpolated coordinates fit too.
constexpr int64_t MAX_COORDINATE = int64_t{1} << 24;
constexpr double MAX_GRADIENT = 68719476736.0;  // 2^36

int64_t FloorDiv(int64_t a, int64_t b) {  // b > 0
  int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// One edge a -> b of a triangle of positive orientation: its function
// A * (px - ax) + B * (py - ay) is positive inside.
struct Edge {
  int64_t ax, ay, a, b;
  bool takesPointsOn;  // top and left edges keep the points on them

  Edge(const MemImgVertex& from, const MemImgVertex& to)
      : ax(from.x), ay(from.y), a(-(int64_t{to.y} - from.y)), b(int64_t{to.x} - from.x) {
    takesPointsOn = a > 0 || (a == 0 && b > 0);
  }

  // Narrows [first, end) to the columns of row py that this edge lets in.
  void Limit(int64_t py, int64_t* first, int64_t* end) const {
    // A * px + c > 0 (or >= 0 on the edge's own points).
    int64_t c = b * (py - ay) - a * ax;
    if (a == 0) {
      if (c < 0 || (c == 0 && !takesPointsOn)) *end = *first;
      return;
    }
    if (a > 0) {
      int64_t lowest = takesPointsOn ? CeilDiv(-c, a) : FloorDiv(-c, a) + 1;
      *first = std::max(*first, lowest);
    } else {
      int64_t highest = takesPointsOn ? FloorDiv(c, -a) : CeilDiv(c, -a) - 1;
      *end = std::min(*end, highest + 1);
    }
  }
};

int64_t Gradient(double numerator, double doubledArea) {
  double g = std::trunc(numerator * ONE / doubledArea);
  return static_cast<int64_t>(std::clamp(g, -MAX_GRADIENT, MAX_GRADIENT));
}

}  // namespace

void DrawMemImgTriangle(MEMIMG* destination, const MEMIMG* source,
                        const MemImgVertex vertices[3], int transparent,
                        const MEMIMG* blendImage, const MemImgDrawSettings& settings) {
  if (vertices == nullptr) return;
  for (int i = 0; i < 3; ++i) {
    for (int64_t value : {vertices[i].x, vertices[i].y, vertices[i].u, vertices[i].v}) {
      if (value > MAX_COORDINATE || value < -MAX_COORDINATE) return;
    }
  }
  MemImgVertex v[3] = {vertices[0], vertices[1], vertices[2]};
  std::stable_sort(v, v + 3, [](const MemImgVertex& p, const MemImgVertex& q) { return p.y < q.y; });
  int64_t area = (int64_t{v[1].x} - v[0].x) * (int64_t{v[2].y} - v[0].y) -
                 (int64_t{v[1].y} - v[0].y) * (int64_t{v[2].x} - v[0].x);
  if (area == 0) return;
  ImageDrawSetup setup;
  if (!PrepareImageDraw(destination, source, transparent, blendImage, settings, &setup)) return;
  Rect clip = DrawingClip(*destination, settings.drawArea);
  if (IsRectEmpty(clip)) return;

  // Gradients from the sorted vertices; the topmost one is the base.
  double x1 = v[1].x - v[0].x, y1 = v[1].y - v[0].y, x2 = v[2].x - v[0].x, y2 = v[2].y - v[0].y;
  double u1 = v[1].u - v[0].u, u2 = v[2].u - v[0].u, w1 = v[1].v - v[0].v, w2 = v[2].v - v[0].v;
  double doubled = static_cast<double>(area);
  int64_t dudx = Gradient(u1 * y2 - u2 * y1, doubled), dudy = Gradient(u2 * x1 - u1 * x2, doubled);
  int64_t dvdx = Gradient(w1 * y2 - w2 * y1, doubled), dvdy = Gradient(w2 * x1 - w1 * x2, doubled);

  // Coverage wants a positive orientation.
  MemImgVertex c0 = v[0], c1 = v[1], c2 = v[2];
  if (area < 0) std::swap(c1, c2);
  const Edge edges[3] = {Edge(c0, c1), Edge(c1, c2), Edge(c2, c0)};

  int64_t rowFirst = std::max<int64_t>(clip.top, v[0].y);
  int64_t rowEnd = std::min<int64_t>(clip.bottom, int64_t{v[2].y} + 1);
  int64_t maxU = source->width - 1, maxV = source->height - 1;
  SpanGather gather(setup, *source, blendImage);
  for (int64_t py = rowFirst; py < rowEnd; ++py) {
    int64_t first = clip.left, end = clip.right;
    for (const Edge& edge : edges) edge.Limit(py, &first, &end);
    if (first >= end) continue;
    int64_t dx = first - v[0].x, dy = py - v[0].y;
    int64_t u = int64_t{v[0].u} * FIXED_ONE + dudx * dx + dudy * dy;
    int64_t w = int64_t{v[0].v} * FIXED_ONE + dvdx * dx + dvdy * dy;
    gather.Begin(MemImgPixelAddress(*destination, static_cast<int>(first), static_cast<int>(py)));
    for (int64_t px = first; px < end; ++px) {
      // An arithmetic shift: the floor, for negative coordinates too.
      int64_t sx = std::clamp<int64_t>(u >> FRACTION_BITS, 0, maxU);
      int64_t sy = std::clamp<int64_t>(w >> FRACTION_BITS, 0, maxV);
      gather.Add(static_cast<int>(sx), static_cast<int>(sy));
      u += dudx;
      w += dvdx;
    }
    gather.Flush();
  }
}
