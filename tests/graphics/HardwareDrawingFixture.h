// Hardware-mode drawing on the Direct3D 9 fake: the engine started windowed
// at 800 x 600 on a 32-bit desktop with a device, and graphs made from
// images of known size, so that the vertices and states of each draw can be
// checked against known geometry.
#pragma once

#include <string>
#include <vector>

#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/images/PixelImage.h"
#include "tests/graphics/HardwareFixture.h"

namespace graphicstest {

// What the texture set says about transparency: an image without alpha
// with or without the alpha-test format, or an image with alpha.
enum class SetKind { Opaque, AlphaTest, Alpha };
constexpr SetKind OPAQUE_SET = SetKind::Opaque;
constexpr SetKind ALPHA_TEST_SET = SetKind::AlphaTest;
constexpr SetKind ALPHA_SET = SetKind::Alpha;

class HardwareDrawing : public HardwareFixture {
 protected:
  void SetUp() override {
    HardwareFixture::SetUp();
    ASSERT_EQ(StartWindowed(), 0);
    ASSERT_EQ(hardwareMode, 1);
  }

  // A graph made from a width x height image as the engine makes it.
  static Handle MakeImageGraph(int width, int height, SetKind kind = ALPHA_TEST_SET) {
    PixelImage image{};
    if (kind == ALPHA_SET)
      CreateArgb8PixelImage(width, height, &image);
    else
      CreateXrgb8PixelImage(width, height, &image);
    int saved = graphCreationOptions.alphaTestFormat;
    graphCreationOptions.alphaTestFormat = kind == ALPHA_TEST_SET;
    Handle graph = CreateGraphFromImage(&image, nullptr);
    graphCreationOptions.alphaTestFormat = saved;
    ReleasePixelImage(&image);
    EXPECT_GE(graph, 0);
    return graph;
  }

  // A 48 x 48 cell at (16, 0) of a 64 x 64 image: one 64 x 64 texture.
  static Handle MakeCell(SetKind kind = ALPHA_TEST_SET) {
    Handle whole = MakeImageGraph(64, 64, kind);
    Handle cell = DeriveGraph(whole, 16, 0, 48, 48);
    ReleaseGraph(whole, 0);
    EXPECT_GE(cell, 0);
    return cell;
  }

  // The texture of a graph's piece, as the device sees it bound.
  static port::Direct3DTexture9Handle TextureOf(Handle graph, int piece = 0) {
    GraphRecord* record = FindGraphRecord(graph);
    return record ? DrawPiecesOf(record)[piece].piece->texture : nullptr;
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
