// Anti-aliased painting of one sheet cell or icon: every pixel is sampled
// on a fine grid, shapes are painted over each other like layers, and the
// samples are averaged into the image. The background is black, the
// sheets' transparent colour, and fully transparent: each sample keeps its
// coverage too, which the icons use as their alpha.
#pragma once

#include <functional>
#include <vector>

#include "Image.h"

struct Color {
  float r = 0, g = 0, b = 0;
};

Color Mix(Color a, Color b, float t);
Color Scale(Color c, float factor);

// A region of the plane in cell pixels; grow widens it by that many pixels
// all around (used for outlines).
using Shape = std::function<bool(float x, float y, float grow)>;

Shape Circle(float cx, float cy, float radius);
// An ellipse with radii rx, ry, turned by angle radians.
Shape Ellipse(float cx, float cy, float rx, float ry, float angle = 0);
// A line segment with round ends.
Shape Capsule(float x1, float y1, float x2, float y2, float radius);
Shape Polygon(std::vector<std::pair<float, float>> points);
// The part of shape inside clip (clip does not grow).
Shape Clipped(Shape shape, Shape clip);

// Where a painter's pixels lie in the plane its shapes are given in: the
// top-left corner of pixel (0, 0) and the plane units one pixel spans. The
// sheet cells paint in pixels; an icon paints a cell's drawing at its own
// size.
struct View {
  float left = 0, top = 0;
  float unitsPerPixel = 1;
};

class Painter {
 public:
  Painter(int width, int height, int samplesPerSide = 6, View view = {});

  // Paints the shape, grown by grow pixels, in the colour with the opacity.
  void Fill(const Shape& shape, Color color, float opacity = 1, float grow = 0);
  // An outline of outlineWidth pixels in outlineColor, then the shape.
  void Part(const Shape& shape, Color color, Color outlineColor, float outlineWidth);
  // Paints every sample for which shade gives true with the colour it sets,
  // opaque.
  void Shade(const std::function<bool(float x, float y, Color& color)>& shade);

  // Averages the samples into the image with the cell's top-left corner at
  // (left, top): colours as painted over black, and the coverage as alpha.
  void Resolve(Image& image, int left, int top) const;

 private:
  // A colour over black, so premultiplied by its coverage.
  struct Sample {
    Color color;
    float coverage = 0;
  };

  template <class Visit>
  void EachSample(Visit visit);

  int width_, height_, samples_;
  View view_;
  std::vector<Sample> grid_;
};
