#include "engine/graphics/hardware/HardwareDrawing.h"

#include <algorithm>

#include "engine/graphics/hardware/BlendTable.h"
#include "engine/graphics/hardware/DeviceStateCache.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/hardware/TextureFormats.h"
#include "engine/graphics/hardware/VertexBatch.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/images/ColorFormat.h"

namespace {

// Direct3D 9 puts pixel centres on integer coordinates: a textured quad
// starts half a pixel up and left so that texel centres land on them.
constexpr float HALF_PIXEL = 0.5f;
// The corners top-left, top-right, bottom-left, bottom-right as the six
// vertices of two triangles.
constexpr int QUAD_ORDER[6] = {0, 1, 2, 3, 2, 1};
constexpr int BLEND_ADD_FOR_SUBTRACTION = 5;

using Corner = DrawPiece::Vertex;

DrawConditions ConditionsFor(const TextureSet* set, int transparent) {
  DrawConditions conditions{};
  conditions.textured = set != nullptr;
  conditions.transparent = transparent;
  conditions.textureAlpha = set ? set->descriptor.alpha : 0;
  conditions.textureAlphaTest = set ? set->descriptor.alphaTest : 0;
  conditions.blendMode = drawState.blendMode;
  conditions.modulationWhite = ModulationIsWhite();
  conditions.subtractiveBlend = displayDevice.subtractiveBlend;
  return conditions;
}

// The scene, the texture (none for boxes) and the states for the draw.
void PrepareDraw(const TextureSet* set, int transparent) {
  BeginSceneIfNeeded();
  if (set == nullptr) BindTexture(nullptr);
  ApplyDrawSetup(ChooseDrawSetup(ConditionsFor(set, transparent)), drawState.filter,
                 drawState.maxAnisotropy);
}

// Moves every coordinate beyond an edge of the area onto it, and its
// texture coordinate with it (graphs are drawn one texel per pixel).
// False when the quad collapsed to nothing.
bool ClipCorners(Corner corners[4], float textureWidth, float textureHeight,
                 const DrawArea& area) {
  for (int i = 0; i < 4; ++i) {
    Corner& c = corners[i];
    if (c.x < area.leftF) {
      c.u += (area.leftF - c.x) / textureWidth;
      c.x = area.leftF;
    } else if (c.x > area.rightF) {
      c.u -= (c.x - area.rightF) / textureWidth;
      c.x = area.rightF;
    }
    if (c.y < area.topF) {
      c.v += (area.topF - c.y) / textureHeight;
      c.y = area.topF;
    } else if (c.y > area.bottomF) {
      c.v -= (c.y - area.bottomF) / textureHeight;
      c.y = area.bottomF;
    }
  }
  return corners[0].x < corners[3].x && corners[0].y < corners[3].y;
}

void AppendGraphQuad(const Corner corners[4]) {
  auto* vertices = static_cast<TexturedVertex*>(ReserveVertices(VERTEX_TEXTURED, 6));
  const float z = drawState.depth2D;
  const uint32_t diffuse = drawState.vertexColor;
  for (int i = 0; i < 6; ++i) {
    const Corner& corner = corners[QUAD_ORDER[i]];
    TexturedVertex& vertex = vertices[i];
    vertex.x = corner.x - HALF_PIXEL;
    vertex.y = corner.y - HALF_PIXEL;
    vertex.z = z;
    vertex.diffuse = diffuse;
    vertex.u = corner.u;
    vertex.v = corner.v;
  }
}

// One quad per DrawPiece; a graph wholly inside the area is not clipped.
// The clipping works on pixel edges, before the half-pixel shift, so that
// a clipped quad still samples texel centres.
void DrawGraphQuads(int x, int y, GraphRecord* graph, int transparent) {
  PrepareDraw(graph->textureSet, transparent);
  const DrawArea& area = drawState.area;
  const bool inside = x >= area.left && y >= area.top && x + graph->width <= area.right &&
                      y + graph->height <= area.bottom;
  const DrawPiece* pieces = DrawPiecesOf(graph);
  for (int i = 0; i < graph->drawPieceCount; ++i) {
    const DrawPiece& piece = pieces[i];
    // A texture a rebuild could not make yet draws nothing (a null texture
    // would sample as opaque black).
    if (piece.piece->texture == nullptr) continue;
    Corner corners[4];
    for (int k = 0; k < 4; ++k)
      corners[k] = {float(x) + piece.vertices[k].x, float(y) + piece.vertices[k].y,
                    piece.vertices[k].u, piece.vertices[k].v};
    if (!inside && !ClipCorners(corners, float(piece.piece->textureWidth),
                                float(piece.piece->textureHeight), area))
      continue;
    BindTexture(piece.piece->texture);
    AppendGraphQuad(corners);
  }
}

Rect Intersect(const Rect& a, const DrawArea& area) {
  return {std::max(a.left, area.left), std::max(a.top, area.top), std::min(a.right, area.right),
          std::min(a.bottom, area.bottom)};
}

bool IsEmpty(const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }

// Flat shading takes a triangle's colour from its first vertex: only the
// first vertex of each triangle gets the colour.
void AppendBoxQuad(const Rect& box, uint32_t diffuse) {
  auto* vertices = static_cast<UntexturedVertex*>(ReserveVertices(VERTEX_UNTEXTURED, 6));
  const float left = float(box.left), top = float(box.top);
  const float right = float(box.right), bottom = float(box.bottom);
  const float corners[4][2] = {{left, top}, {right, top}, {left, bottom}, {right, bottom}};
  const float z = drawState.depth2D;
  for (int i = 0; i < 6; ++i) {
    vertices[i].x = corners[QUAD_ORDER[i]][0];
    vertices[i].y = corners[QUAD_ORDER[i]][1];
    vertices[i].z = z;
  }
  vertices[0].diffuse = diffuse;
  vertices[3].diffuse = diffuse;
}

// The box colour: the value split with the screen's format, each channel
// modulated, and the vertex colour's alpha.
uint32_t BoxDiffuse(uint32_t color) {
  const ColorFormat* format = D3DFormatColorFormat(displayDevice.backBufferFormat);
  if (format == nullptr) format = D3DFormatColorFormat(port::D3DFMT_X8R8G8B8);
  int red = 0, green = 0, blue = 0;
  DecodeColor(*format, color, &red, &green, &blue, nullptr);
  const uint32_t r = uint32_t(red) * drawState.modulateRed / 255u;
  const uint32_t g = uint32_t(green) * drawState.modulateGreen / 255u;
  const uint32_t b = uint32_t(blue) * drawState.modulateBlue / 255u;
  return (drawState.vertexColor & 0xFF000000u) | r << 16 | g << 8 | b;
}

// The box filled, or its border as four one-pixel strips (rows top and
// bottom-1, columns left and right-1), each clipped to the area.
void DrawBoxStrips(const Rect& box, uint32_t diffuse, int filled) {
  PrepareDraw(nullptr, 0);
  const DrawArea& area = drawState.area;
  if (filled) {
    AppendBoxQuad(Intersect(box, area), diffuse);
    return;
  }
  const Rect strips[4] = {{box.left, box.top, box.right, box.top + 1},
                          {box.left, box.bottom - 1, box.right, box.bottom},
                          {box.left, box.top, box.left + 1, box.bottom},
                          {box.right - 1, box.top, box.right, box.bottom}};
  for (const Rect& strip : strips) {
    Rect clipped = Intersect(strip, area);
    if (!IsEmpty(clipped)) AppendBoxQuad(clipped, diffuse);
  }
}

void SetBlend(int mode, int parameter, uint8_t red, uint8_t green, uint8_t blue) {
  drawState.blendMode = mode;
  drawState.blendParameter = parameter;
  drawState.modulateRed = red;
  drawState.modulateGreen = green;
  drawState.modulateBlue = blue;
  RecomputeVertexColor();
}

// A device without subtractive blending subtracts in three passes: the
// rectangle is inverted (a white source with the inverting factors gives
// 1 - dst), the source is added in mode 5, and the rectangle is inverted
// again: 1 - ((1 - dst) + src) = dst - src. The draw state is the
// caller's again afterwards.
template <typename DrawSource>
void SubtractInThreePasses(const Rect& rectangle, DrawSource drawSource) {
  const int parameter = drawState.blendParameter;
  const uint8_t red = drawState.modulateRed, green = drawState.modulateGreen,
                blue = drawState.modulateBlue;
  const Rect inverted = Intersect(rectangle, drawState.area);
  SetBlend(BLEND_SUB, 255, 255, 255, 255);
  DrawBoxStrips(inverted, drawState.vertexColor, 1);
  SetBlend(BLEND_ADD_FOR_SUBTRACTION, parameter, red, green, blue);
  drawSource();
  SetBlend(BLEND_SUB, 255, 255, 255, 255);
  DrawBoxStrips(inverted, drawState.vertexColor, 1);
  SetBlend(BLEND_SUB, parameter, red, green, blue);
}

bool SubtractionEmulated() {
  return drawState.blendMode == BLEND_SUB && !displayDevice.subtractiveBlend;
}

}  // namespace

void PutGraphOnDevice(int x, int y, GraphRecord* graph, int transparent) {
  if (displayDevice.device == nullptr) return;
  if (!SubtractionEmulated()) {
    DrawGraphQuads(x, y, graph, transparent);
    return;
  }
  Rect rectangle = {x, y, x + graph->width, y + graph->height};
  if (IsEmpty(Intersect(rectangle, drawState.area))) return;
  SubtractInThreePasses(rectangle, [&] { DrawGraphQuads(x, y, graph, transparent); });
}

void PaintBoxOnDevice(const Rect& box, uint32_t color, int filled) {
  if (displayDevice.device == nullptr) return;
  if (IsEmpty(Intersect(box, drawState.area))) return;
  if (!SubtractionEmulated()) {
    DrawBoxStrips(box, BoxDiffuse(color), filled);
    return;
  }
  SubtractInThreePasses(box, [&] { DrawBoxStrips(box, BoxDiffuse(color), filled); });
}
