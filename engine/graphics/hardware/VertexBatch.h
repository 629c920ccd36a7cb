// The vertex batch of hardware mode: quads collect in system memory and go
// to the device in one DrawPrimitiveUP when something changes (a texture,
// a state, the vertex kind), when the batch is full, or when the target is
// presented, changed or read back.
#pragma once

#include <cstdint>

// The three kinds of pre-transformed 2D vertices, one array of each.
enum VertexKind {
  VERTEX_UNTEXTURED = 0,   // boxes
  VERTEX_TEXTURED = 1,     // graphs
  VERTEX_TWO_TEXTURES = 2,
  VERTEX_KIND_COUNT = 3,
};

struct UntexturedVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
};
struct TexturedVertex {
  float x, y, z, rhw;
  uint32_t diffuse;
  float u, v;
};
struct TwoTextureVertex {
  float x, y, z, rhw;
  uint32_t diffuse, specular;
  float u1, v1, u2, v2;
};

struct VertexKindLayout {
  uint32_t fvf;
  uint32_t stride;  // bytes per vertex
  int capacity;     // vertices
};
extern const VertexKindLayout vertexKindLayouts[VERTEX_KIND_COUNT];

// The batch being filled.
struct VertexBatch {
  int kind;
  int waiting;  // vertices not yet drawn
  uint32_t primitiveType;
  uint8_t* writePosition;
};
extern VertexBatch vertexBatch;

// Pre-sets every vertex of the three arrays (z 0, rhw 1.0, the second
// kind's specular white) and empties the batch: drawing writes positions,
// depth, colours and texture coordinates only, so rhw must stay 1.0.
void PrepareVertexBatches();
// Drops the waiting vertices without drawing them (the device is gone).
void EmptyVertexBatches();

// Room for count vertices of a triangle list of the kind. The waiting
// vertices are drawn first when they are of another kind or primitive, or
// when count more would reach the kind's capacity.
void* ReserveVertices(int kind, int count);

// Draws the waiting vertices: BeginScene if needed, the kind's FVF when it
// differs from the one set, one DrawPrimitiveUP; then the batch is empty.
void FlushBatch();
