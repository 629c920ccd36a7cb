// Hardware-mode drawing on the Direct3D 9 fake: the engine started windowed
// at 800 x 600 on a 32-bit desktop with a device, and graphs whose texture
// sets and draw pieces a test lays out by hand (textures made on the fake
// device, nothing uploaded), so that the vertices and states of each draw
// can be checked against known geometry.
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/DrawState.h"
#include "engine/graphics/GraphTable.h"
#include "engine/graphics/HardwareScene.h"
#include "engine/graphics/TextureSet.h"
#include "engine/services/Memory.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {

// One texture piece of a hand-made graph: the texture's size and the part
// of it the graph shows, placed at (destX, destY) in the graph.
struct PieceLayout {
  int textureWidth, textureHeight;
  int sourceX, sourceY;
  int destX, destY;
  int width, height;
};

// What the texture set says about transparency.
struct SetKind {
  int alpha;
  int alphaTest;
};
constexpr SetKind OPAQUE_SET = {0, 0};
constexpr SetKind ALPHA_TEST_SET = {0, 1};
constexpr SetKind ALPHA_SET = {1, 0};

class HardwareDrawing : public HardwareFixture {
 protected:
  void SetUp() override {
    HardwareFixture::SetUp();
    ASSERT_EQ(StartWindowed(), 0);
    ASSERT_EQ(hardwareMode, 1);
  }

  // A graph of the given size over the pieces, each piece on a texture of
  // its own (textures labelled "TextureN.0" by the fake).
  Handle MakeGraph(int width, int height, const std::vector<PieceLayout>& layouts,
                   SetKind kind = ALPHA_TEST_SET) {
    int count = int(layouts.size());
    auto* set = static_cast<TextureSet*>(
        MemCalloc(sizeof(TextureSet) + sizeof(TexturePiece) * size_t(count), "", 0));
    set->refCount = 1;
    set->descriptor.hardware = 1;
    set->descriptor.alpha = uint8_t(kind.alpha);
    set->descriptor.alphaTest = uint8_t(kind.alphaTest);
    set->descriptor.bitDepth = 32;
    set->width = width;
    set->height = height;
    set->mipLevels = 1;
    set->pieceCount = count;
    GraphRecord* record = AllocateGraphRecord(count);
    record->textureSet = set;
    record->width = width;
    record->height = height;
    record->drawPieceCount = count;
    for (int i = 0; i < count; ++i) {
      const PieceLayout& l = layouts[size_t(i)];
      TexturePiece& piece = PiecesOf(set)[i];
      piece.textureWidth = l.textureWidth;
      piece.textureHeight = l.textureHeight;
      piece.usedWidth = l.textureWidth;
      piece.usedHeight = l.textureHeight;
      port::IDirect3DDevice9_CreateTexture(displayDevice.device, uint32_t(l.textureWidth),
                                           uint32_t(l.textureHeight), 1, 0,
                                           port::D3DFMT_A8R8G8B8, port::D3DPOOL_MANAGED,
                                           &piece.texture);
      DrawPiece& draw = DrawPiecesOf(record)[i];
      draw.destX = l.destX;
      draw.destY = l.destY;
      draw.sourceX = l.sourceX;
      draw.sourceY = l.sourceY;
      draw.width = l.width;
      draw.height = l.height;
      float left = float(l.destX), top = float(l.destY);
      float right = left + float(l.width), bottom = top + float(l.height);
      float u0 = float(l.sourceX) / float(l.textureWidth);
      float u1 = float(l.sourceX + l.width) / float(l.textureWidth);
      float v0 = float(l.sourceY) / float(l.textureHeight);
      float v1 = float(l.sourceY + l.height) / float(l.textureHeight);
      draw.vertices[0] = {left, top, u0, v0};
      draw.vertices[1] = {right, top, u1, v0};
      draw.vertices[2] = {left, bottom, u0, v1};
      draw.vertices[3] = {right, bottom, u1, v1};
      draw.piece = &piece;
    }
    return record->handle;
  }

  // A 48 x 48 cell at (16, 0) of a 64 x 64 texture.
  Handle MakeCell(SetKind kind = ALPHA_TEST_SET) {
    return MakeGraph(48, 48, {{64, 64, 16, 0, 0, 0, 48, 48}}, kind);
  }

  static const std::vector<headless::Direct3D9Draw>& Draws() {
    return headless::Direct3D9Calls().draws;
  }

  // The draws made from here on, after the waiting vertices are drawn.
  static void StartRecording() {
    FlushBatch();
    headless::ClearDirect3D9Calls();
  }

  static std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const headless::Direct3D9Call& call : headless::Direct3D9Calls().calls)
      names.push_back(call.name);
    return names;
  }

  // How many state setters (render, stage, sampler, texture) were called.
  static int StateCalls() {
    int count = 0;
    for (const std::string& name : CallNames())
      count += name == "IDirect3DDevice9_SetRenderState" ||
               name == "IDirect3DDevice9_SetTextureStageState" ||
               name == "IDirect3DDevice9_SetSamplerState" ||
               name == "IDirect3DDevice9_SetTexture";
    return count;
  }
};

}  // namespace graphicstest
