#include "Painter.h"

#include <algorithm>
#include <cmath>

Color Mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Color Scale(Color c, float factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

namespace {

float SegmentDistance(float x, float y, float x1, float y1, float x2, float y2) {
  const float dx = x2 - x1, dy = y2 - y1;
  const float lengthSquared = dx * dx + dy * dy;
  float t = lengthSquared > 0 ? ((x - x1) * dx + (y - y1) * dy) / lengthSquared : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

uint8_t ToByte(float value) {
  return uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

}  // namespace

Shape Circle(float cx, float cy, float radius) {
  return [=](float x, float y, float grow) {
    const float r = radius + grow;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

Shape Ellipse(float cx, float cy, float rx, float ry, float angle) {
  const float c = std::cos(angle), s = std::sin(angle);
  return [=](float x, float y, float grow) {
    const float u = (x - cx) * c + (y - cy) * s;
    const float v = -(x - cx) * s + (y - cy) * c;
    const float a = rx + grow, b = ry + grow;
    return (u * u) / (a * a) + (v * v) / (b * b) <= 1;
  };
}

Shape Capsule(float x1, float y1, float x2, float y2, float radius) {
  return [=](float x, float y, float grow) {
    return SegmentDistance(x, y, x1, y1, x2, y2) <= radius + grow;
  };
}

Shape Polygon(std::vector<std::pair<float, float>> points) {
  return [points = std::move(points)](float x, float y, float grow) {
    bool inside = false;
    float nearest = 1e9f;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const auto [xi, yi] = points[i];
      const auto [xj, yj] = points[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
      nearest = std::min(nearest, SegmentDistance(x, y, xi, yi, xj, yj));
    }
    return inside || (grow > 0 && nearest <= grow);
  };
}

Shape Clipped(Shape shape, Shape clip) {
  return [=](float x, float y, float grow) { return shape(x, y, grow) && clip(x, y, 0); };
}

Painter::Painter(int width, int height, int samplesPerSide, View view)
    : width_(width), height_(height), samples_(samplesPerSide), view_(view),
      grid_(size_t(width) * height * samplesPerSide * samplesPerSide) {}

template <class Visit>
void Painter::EachSample(Visit visit) {
  const int columns = width_ * samples_;
  for (int sy = 0; sy < height_ * samples_; ++sy) {
    const float y = view_.top + (sy + 0.5f) / samples_ * view_.unitsPerPixel;
    for (int sx = 0; sx < columns; ++sx) {
      const float x = view_.left + (sx + 0.5f) / samples_ * view_.unitsPerPixel;
      visit(x, y, grid_[size_t(sy) * columns + sx]);
    }
  }
}

void Painter::Fill(const Shape& shape, Color color, float opacity, float grow) {
  EachSample([&](float x, float y, Sample& sample) {
    if (!shape(x, y, grow)) return;
    // Painting over: the colour, kept premultiplied, mixes like the coverage.
    sample.color = Mix(sample.color, color, opacity);
    sample.coverage += (1 - sample.coverage) * opacity;
  });
}

void Painter::Part(const Shape& shape, Color color, Color outlineColor, float outlineWidth) {
  Fill(shape, outlineColor, 1, outlineWidth);
  Fill(shape, color);
}

void Painter::Shade(const std::function<bool(float x, float y, Color& color)>& shade) {
  EachSample([&](float x, float y, Sample& sample) {
    Color shaded = sample.color;
    if (shade(x, y, shaded)) sample = {shaded, 1};
  });
}

void Painter::Resolve(Image& image, int left, int top) const {
  const int columns = width_ * samples_;
  const float count = float(samples_ * samples_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Color sum;
      float coverage = 0;
      for (int j = 0; j < samples_; ++j) {
        for (int i = 0; i < samples_; ++i) {
          const Sample& s = grid_[size_t(y * samples_ + j) * columns + x * samples_ + i];
          sum.r += s.color.r;
          sum.g += s.color.g;
          sum.b += s.color.b;
          coverage += s.coverage;
        }
      }
      image.at(left + x, top + y) = Rgb{ToByte(sum.r / count), ToByte(sum.g / count),
                                        ToByte(sum.b / count)};
      image.alpha(left + x, top + y) = ToByte(coverage / count);
    }
  }
}
