#include "engine/graphics/hardware/VertexBatch.h"

#include <cstddef>

#include "engine/graphics/hardware/DeviceStateCache.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"

namespace {

constexpr int BATCH_BYTES = 65536;

static_assert(sizeof(UntexturedVertex) == 20, "D3DFVF_XYZRHW | D3DFVF_DIFFUSE");
static_assert(sizeof(TexturedVertex) == 28, "adds D3DFVF_TEX1");
static_assert(sizeof(TwoTextureVertex) == 40, "adds D3DFVF_SPECULAR and D3DFVF_TEX2");

alignas(16) uint8_t batchMemory[VERTEX_KIND_COUNT][BATCH_BYTES];

template <typename Vertex>
void Preset(uint8_t* memory, int capacity) {
  auto* vertices = reinterpret_cast<Vertex*>(memory);
  for (int i = 0; i < capacity; ++i) {
    vertices[i] = Vertex{};
    vertices[i].z = 0.0f;
    vertices[i].rhw = 1.0f;
  }
}

}  // namespace

const VertexKindLayout vertexKindLayouts[VERTEX_KIND_COUNT] = {
    {port::D3DFVF_XYZRHW | port::D3DFVF_DIFFUSE, sizeof(UntexturedVertex), 3225},
    {port::D3DFVF_XYZRHW | port::D3DFVF_DIFFUSE | port::D3DFVF_TEX1, sizeof(TexturedVertex), 2340},
    {port::D3DFVF_XYZRHW | port::D3DFVF_DIFFUSE | port::D3DFVF_SPECULAR | port::D3DFVF_TEX2,
     sizeof(TwoTextureVertex), 1638},
};

VertexBatch vertexBatch = {VERTEX_UNTEXTURED, 0, port::D3DPT_TRIANGLELIST, batchMemory[0]};

void PrepareVertexBatches() {
  Preset<UntexturedVertex>(batchMemory[VERTEX_UNTEXTURED], vertexKindLayouts[0].capacity);
  Preset<TexturedVertex>(batchMemory[VERTEX_TEXTURED], vertexKindLayouts[1].capacity);
  Preset<TwoTextureVertex>(batchMemory[VERTEX_TWO_TEXTURES], vertexKindLayouts[2].capacity);
  auto* two = reinterpret_cast<TwoTextureVertex*>(batchMemory[VERTEX_TWO_TEXTURES]);
  for (int i = 0; i < vertexKindLayouts[2].capacity; ++i) two[i].specular = 0xFFFFFFFFu;
  EmptyVertexBatches();
}

void EmptyVertexBatches() {
  vertexBatch.waiting = 0;
  vertexBatch.writePosition = batchMemory[vertexBatch.kind];
}

void* ReserveVertices(int kind, int count) {
  if (kind != vertexBatch.kind || vertexBatch.primitiveType != port::D3DPT_TRIANGLELIST) {
    FlushBatch();
    vertexBatch.kind = kind;
    vertexBatch.primitiveType = port::D3DPT_TRIANGLELIST;
    vertexBatch.writePosition = batchMemory[kind];
  }
  const VertexKindLayout& layout = vertexKindLayouts[kind];
  if (vertexBatch.waiting + count >= layout.capacity) FlushBatch();
  void* at = vertexBatch.writePosition;
  vertexBatch.writePosition += std::size_t(count) * layout.stride;
  vertexBatch.waiting += count;
  return at;
}

void FlushBatch() {
  if (vertexBatch.waiting == 0) return;
  port::Direct3DDevice9Handle device = displayDevice.device;
  if (device != nullptr) {
    const VertexKindLayout& layout = vertexKindLayouts[vertexBatch.kind];
    BeginSceneIfNeeded();
    SetVertexFormat(layout.fvf);
    port::IDirect3DDevice9_DrawPrimitiveUP(device, vertexBatch.primitiveType,
                                           uint32_t(vertexBatch.waiting / 3),
                                           batchMemory[vertexBatch.kind], layout.stride);
  }
  EmptyVertexBatches();
}
