#include "engine/platform/headless/Direct3D9Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace headless {
namespace {

using namespace port;

struct Color {
  int r, g, b, a;
};

int Expand(uint32_t value, int bits) { return int(value * 255u / ((1u << bits) - 1u)); }

Color Decode(uint32_t format, uint32_t v) {
  switch (format) {
    case D3DFMT_A8R8G8B8: return {int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255), int(v >> 24)};
    case D3DFMT_R5G6B5: return {Expand(v >> 11 & 31, 5), Expand(v >> 5 & 63, 6), Expand(v & 31, 5), 255};
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
      return {Expand(v >> 10 & 31, 5), Expand(v >> 5 & 31, 5), Expand(v & 31, 5),
              format == D3DFMT_A1R5G5B5 ? int(v >> 15 & 1) * 255 : 255};
    case D3DFMT_A4R4G4B4:
      return {Expand(v >> 8 & 15, 4), Expand(v >> 4 & 15, 4), Expand(v & 15, 4), Expand(v >> 12 & 15, 4)};
    default: return {int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255), 255};
  }
}

// To the format, rounding each channel to the nearest step.
uint32_t EncodeColor(uint32_t format, const Color& c) {
  auto to = [](int value, int bits) { return uint32_t((value * ((1 << bits) - 1) + 127) / 255); };
  switch (format) {
    case D3DFMT_R5G6B5: return to(c.r, 5) << 11 | to(c.g, 6) << 5 | to(c.b, 5);
    case D3DFMT_X1R5G5B5: return to(c.r, 5) << 10 | to(c.g, 5) << 5 | to(c.b, 5);
    case D3DFMT_A1R5G5B5: return to(c.a, 1) << 15 | to(c.r, 5) << 10 | to(c.g, 5) << 5 | to(c.b, 5);
    case D3DFMT_A4R4G4B4: return to(c.a, 4) << 12 | to(c.r, 4) << 8 | to(c.g, 4) << 4 | to(c.b, 4);
    case D3DFMT_X8R8G8B8: return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
    default: return uint32_t(c.a) << 24 | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | uint32_t(c.b);
  }
}

int BytesOf(uint32_t format) {
  switch (format) {
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4: return 2;
    default: return 4;
  }
}

uint32_t Read(const RasterSurface& s, int x, int y) {
  uint32_t value = 0;
  std::memcpy(&value, s.pixels + size_t(y) * size_t(s.pitch) + size_t(x) * size_t(BytesOf(s.format)),
              size_t(BytesOf(s.format)));
  return value;
}

void Write(const RasterSurface& s, int x, int y, uint32_t value) {
  std::memcpy(s.pixels + size_t(y) * size_t(s.pitch) + size_t(x) * size_t(BytesOf(s.format)), &value,
              size_t(BytesOf(s.format)));
}

Color FromArgb(uint32_t v) { return {int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255), int(v >> 24)}; }

int Multiply(int a, int b) { return (a * b + 127) / 255; }

// The inputs of the texture stages at one pixel.
struct StageInputs {
  Color texture, diffuse, factor;
};

Color Argument(uint32_t argument, const StageInputs& in, const Color& current) {
  Color c;
  switch (argument & 0xF) {
    case D3DTA_DIFFUSE: c = in.diffuse; break;
    case D3DTA_CURRENT: c = current; break;
    case D3DTA_TEXTURE: c = in.texture; break;
    case D3DTA_TFACTOR: c = in.factor; break;
    default: c = in.diffuse; break;
  }
  if (argument & D3DTA_COMPLEMENT) c = {255 - c.r, 255 - c.g, 255 - c.b, 255 - c.a};
  return c;
}

int Operate(uint32_t op, int a1, int a2, int currentAlpha) {
  switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_MODULATE: return Multiply(a1, a2);
    case D3DTOP_MODULATE4X: return std::min(255, (a1 * a2 * 4 + 127) / 255);
    case D3DTOP_BLENDCURRENTALPHA:
      return (a1 * currentAlpha + a2 * (255 - currentAlpha) + 127) / 255;
    default: return a1;
  }
}

// The states a draw's pixels read, looked up once per draw.
struct StageStates {
  uint32_t colorOp, colorArg1, colorArg2, alphaOp, alphaArg1, alphaArg2;
};
struct PixelStates {
  StageStates stages[2];
  uint32_t sourceBlend, destBlend, blendOp;
};

PixelStates ReadPixelStates(const Direct3D9Draw& draw) {
  PixelStates states;
  for (uint32_t stage = 0; stage < 2; ++stage) {
    StageStates& s = states.stages[stage];
    s.colorOp = draw.StageState(stage, D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE);
    s.colorArg1 = draw.StageState(stage, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    s.colorArg2 = draw.StageState(stage, D3DTSS_COLORARG2, D3DTA_CURRENT);
    s.alphaOp = draw.StageState(stage, D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE);
    s.alphaArg1 = draw.StageState(stage, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    s.alphaArg2 = draw.StageState(stage, D3DTSS_ALPHAARG2, D3DTA_CURRENT);
  }
  states.sourceBlend = draw.RenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  states.destBlend = draw.RenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
  states.blendOp = draw.RenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  return states;
}

// Stages 0 and 1 (a disabled stage ends the cascade).
Color RunStages(const PixelStates& states, const StageInputs& in) {
  Color current = in.diffuse;
  for (const StageStates& stage : states.stages) {
    if (stage.colorOp == D3DTOP_DISABLE) break;
    Color c1 = Argument(stage.colorArg1, in, current);
    Color c2 = Argument(stage.colorArg2, in, current);
    Color a1 = Argument(stage.alphaArg1, in, current);
    Color a2 = Argument(stage.alphaArg2, in, current);
    Color next;
    next.r = Operate(stage.colorOp, c1.r, c2.r, current.a);
    next.g = Operate(stage.colorOp, c1.g, c2.g, current.a);
    next.b = Operate(stage.colorOp, c1.b, c2.b, current.a);
    next.a = stage.alphaOp == D3DTOP_DISABLE ? current.a : Operate(stage.alphaOp, a1.a, a2.a, current.a);
    current = next;
  }
  return current;
}

int Factor(uint32_t factor, int sourceChannel, int destChannel, const Color& source) {
  switch (factor) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_ONE: return 255;
    case D3DBLEND_SRCCOLOR: return sourceChannel;
    case D3DBLEND_INVSRCCOLOR: return 255 - sourceChannel;
    case D3DBLEND_SRCALPHA: return source.a;
    case D3DBLEND_INVSRCALPHA: return 255 - source.a;
    case D3DBLEND_DESTCOLOR: return destChannel;
    case D3DBLEND_INVDESTCOLOR: return 255 - destChannel;
    default: return 255;
  }
}

int BlendChannel(const PixelStates& states, int s, int d, const Color& source) {
  int sf = Factor(states.sourceBlend, s, d, source);
  int df = Factor(states.destBlend, s, d, source);
  int sourceTerm = s * sf, destTerm = d * df;
  int result;
  switch (states.blendOp) {
    case D3DBLENDOP_SUBTRACT: result = sourceTerm - destTerm; break;
    case D3DBLENDOP_REVSUBTRACT: result = destTerm - sourceTerm; break;
    default: result = sourceTerm + destTerm; break;
  }
  return std::clamp((result + 127) / 255, 0, 255);
}

struct Point {
  double x, y;
};

double Edge(const Point& a, const Point& b, const Point& p) {
  return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

// A pixel centre exactly on an edge belongs to the triangle when the edge
// is a left edge or a top edge (the triangle wound so that its area is
// positive).
bool OwnsTie(const Point& a, const Point& b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  return dy < 0 || (dy == 0 && dx > 0);
}

bool Inside(double e, bool ownsTie) { return e > 0 || (e == 0 && ownsTie); }

void RasterizeTriangle(const Direct3D9Draw& draw, const PixelStates& states, const Direct3D9Vertex* v[3],
                       const RasterSurface& target, int left, int top, int right, int bottom,
                       const RasterSurface* texture, uint32_t flatDiffuse) {
  Point p[3] = {{v[0]->x, v[0]->y}, {v[1]->x, v[1]->y}, {v[2]->x, v[2]->y}};
  double area = Edge(p[0], p[1], p[2]);
  if (area == 0) return;
  if (area < 0) {
    std::swap(p[1], p[2]);
    std::swap(v[1], v[2]);
    area = -area;
  }
  const bool ties[3] = {OwnsTie(p[1], p[2]), OwnsTie(p[2], p[0]), OwnsTie(p[0], p[1])};
  double minX = std::min({p[0].x, p[1].x, p[2].x}), maxX = std::max({p[0].x, p[1].x, p[2].x});
  double minY = std::min({p[0].y, p[1].y, p[2].y}), maxY = std::max({p[0].y, p[1].y, p[2].y});
  int x0 = std::max(left, int(std::ceil(minX))), x1 = std::min(right - 1, int(std::floor(maxX)));
  int y0 = std::max(top, int(std::ceil(minY))), y1 = std::min(bottom - 1, int(std::floor(maxY)));
  const bool flat = draw.RenderState(D3DRS_SHADEMODE, 2) == D3DSHADE_FLAT;
  const bool alphaTest = draw.RenderState(D3DRS_ALPHATESTENABLE, 0) != 0;
  const int alphaReference = int(draw.RenderState(D3DRS_ALPHAREF, 0));
  const bool blending = draw.RenderState(D3DRS_ALPHABLENDENABLE, 0) != 0;
  StageInputs in;
  in.factor = FromArgb(draw.RenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      Point at = {double(x), double(y)};
      double w0 = Edge(p[1], p[2], at), w1 = Edge(p[2], p[0], at), w2 = Edge(p[0], p[1], at);
      if (!Inside(w0, ties[0]) || !Inside(w1, ties[1]) || !Inside(w2, ties[2])) continue;
      in.texture = {0, 0, 0, 255};
      if (texture != nullptr) {
        double u = (w0 * v[0]->u + w1 * v[1]->u + w2 * v[2]->u) / area;
        double t = (w0 * v[0]->v + w1 * v[1]->v + w2 * v[2]->v) / area;
        int tx = std::clamp(int(std::floor(u * texture->width)), 0, texture->width - 1);
        int ty = std::clamp(int(std::floor(t * texture->height)), 0, texture->height - 1);
        in.texture = Decode(texture->format, Read(*texture, tx, ty));
      }
      in.diffuse = FromArgb(flat ? flatDiffuse : v[0]->diffuse);
      Color source = RunStages(states, in);
      if (alphaTest && !(source.a > alphaReference)) continue;
      Color out = source;
      if (blending) {
        Color dest = Decode(target.format, Read(target, x, y));
        out.r = BlendChannel(states, source.r, dest.r, source);
        out.g = BlendChannel(states, source.g, dest.g, source);
        out.b = BlendChannel(states, source.b, dest.b, source);
        out.a = BlendChannel(states, source.a, dest.a, source);
      }
      Write(target, x, y, EncodeColor(target.format, out));
    }
}

}  // namespace

void RasterizeDraw(const Direct3D9Draw& draw, const RasterSurface& target,
                   const D3DViewport& viewport, const RasterSurface* texture) {
  if (draw.primitiveType != D3DPT_TRIANGLELIST) return;
  int left = int(viewport.X), top = int(viewport.Y);
  int right = std::min(target.width, int(viewport.X + viewport.Width));
  int bottom = std::min(target.height, int(viewport.Y + viewport.Height));
  const PixelStates states = ReadPixelStates(draw);
  for (size_t first = 0; first + 2 < draw.vertices.size(); first += 3) {
    const Direct3D9Vertex* triangle[3] = {&draw.vertices[first], &draw.vertices[first + 1],
                                          &draw.vertices[first + 2]};
    // Flat shading takes the colour of the triangle's first vertex.
    RasterizeTriangle(draw, states, triangle, target, left, top, right, bottom, texture,
                      draw.vertices[first].diffuse);
  }
}

}  // namespace headless
