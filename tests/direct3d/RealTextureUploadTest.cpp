// Hardware graphs on the system's own Direct3D 9: the image of the upload
// tests made into a graph on the 9Ex device and on a plain device, its
// texture read back texel by texel and held to the same expectation as on
// the fake (tests/support/UploadedTexels.h).
#include <string>
#include <vector>

#include "engine/core/MainWindow.h"
#include "engine/core/MainWindowProc.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/graphs/GraphCreation.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/platform/WindowPort.h"
#include "tests/direct3d/RealDeviceFixture.h"
#include "tests/graphics/BmpWriter.h"
#include "tests/support/UploadedTexels.h"

namespace {

using direct3dtest::RealDevice;
using RealTextureUpload = RealDevice;

// Level 0 of a lockable texture (system memory or managed), row by row.
std::vector<uint32_t> ReadTexels(port::Direct3DTexture9Handle texture, int width, int height) {
  std::vector<uint32_t> texels;
  port::D3DLockedRect locked{};
  if (port::IDirect3DTexture9_LockRect(texture, 0, &locked, nullptr, port::D3DLOCK_READONLY) < 0)
    return texels;
  for (int y = 0; y < height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
    texels.insert(texels.end(), row, row + width);
  }
  port::IDirect3DTexture9_UnlockRect(texture, 0);
  return texels;
}

// The texels of a graph's first texture as the engine wrote them: its
// system-memory twin on 9Ex, the managed texture itself on a plain device.
std::vector<uint32_t> WrittenTexels(Handle graph) {
  const TexturePiece& piece = PiecesOf(FindGraphRecord(graph)->textureSet)[0];
  return ReadTexels(piece.staging != nullptr ? piece.staging : piece.texture, piece.textureWidth,
                    piece.textureHeight);
}

// How many texels differ from the upload's expectation (the first few
// reported).
int WrongTexels(const std::vector<uint32_t>& texels) {
  int wrong = 0;
  for (int y = 0; y < testsupport::UPLOAD_TEXTURE_HEIGHT; ++y)
    for (int x = 0; x < testsupport::UPLOAD_TEXTURE_WIDTH; ++x) {
      size_t at = size_t(y * testsupport::UPLOAD_TEXTURE_WIDTH + x);
      uint32_t texel = at < texels.size() ? texels[at] : 0xDEADBEEF;
      if (texel != testsupport::ExpectedUploadTexel(x, y) && wrong++ < 5)
        ADD_FAILURE() << x << "," << y << ": " << std::hex << texel;
    }
  return wrong;
}

// A plain IDirect3DDevice9 on the engine's window, put in the place of the
// engine's 9Ex device while it lives (Direct3D offers the 9Ex object
// whenever it can, so the engine never makes a plain one by itself here).
class PlainDeviceInPlace {
 public:
  PlainDeviceInPlace() : saved_(displayDevice) {
    object_ = port::Direct3DCreate9(displayDevice.d3d9Module, port::D3D_SDK_VERSION);
    if (object_ == nullptr) return;
    port::D3DPresentParameters parameters{};
    parameters.BackBufferWidth = 800;
    parameters.BackBufferHeight = 600;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = port::D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = mainWindow;
    parameters.Windowed = 1;
    if (port::IDirect3D9_CreateDevice(object_, port::D3DADAPTER_DEFAULT, port::D3DDEVTYPE_HAL,
                                      mainWindow, port::D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                      &parameters, &device_) < 0)
      device_ = nullptr;
    if (device_ == nullptr) return;
    displayDevice.device = device_;
    displayDevice.isEx = 0;
  }
  ~PlainDeviceInPlace() {
    displayDevice.device = saved_.device;
    displayDevice.isEx = saved_.isEx;
    if (device_ != nullptr) port::IDirect3DDevice9_Release(device_);
    if (object_ != nullptr) port::IDirect3D9_Release(object_);
  }
  bool Made() const { return device_ != nullptr; }

 private:
  DisplayDevice saved_;
  port::Direct3D9Handle object_ = nullptr;
  port::Direct3DDevice9Handle device_ = nullptr;
};

// Makes the upload image into a graph on the device in force and checks
// every texel of the texture the engine wrote (its system-memory twin on
// 9Ex, the managed texture itself on the plain device) and the pool the
// device's texture lives in.
void CheckUpload(bool ex) {
  PixelImage image = testsupport::MakeUploadImage();
  Handle graph = CreateGraphFromImage(&image, nullptr);
  ASSERT_NE(graph, -1);
  const TexturePiece& piece = PiecesOf(FindGraphRecord(graph)->textureSet)[0];
  ASSERT_EQ(piece.textureWidth, testsupport::UPLOAD_TEXTURE_WIDTH);
  ASSERT_EQ(piece.textureHeight, testsupport::UPLOAD_TEXTURE_HEIGHT);
  EXPECT_EQ(piece.staging != nullptr, ex);
  port::D3DSurfaceDesc desc{};
  ASSERT_EQ(port::IDirect3DSurface9_GetDesc(piece.surface, &desc), 0);
  EXPECT_EQ(desc.Format, port::D3DFMT_A8R8G8B8);
  EXPECT_EQ(desc.Pool, ex ? port::D3DPOOL_DEFAULT : port::D3DPOOL_MANAGED);

  EXPECT_EQ(WrongTexels(WrittenTexels(graph)), 0);
  EXPECT_EQ(ReleaseGraph(graph, 0), 0);
  ReleasePixelImage(&image);
}

TEST_F(RealTextureUpload, OnThe9ExDeviceThroughItsSystemMemoryTwin) {
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  ASSERT_EQ(displayDevice.isEx, 1);
  // The 9Ex device has no managed pool, as the fake's default says.
  port::Direct3DTexture9Handle managed = nullptr;
  EXPECT_LT(port::IDirect3DDevice9_CreateTexture(displayDevice.device, 8, 8, 1, 0,
                                                 port::D3DFMT_A8R8G8B8, port::D3DPOOL_MANAGED,
                                                 &managed),
            0);
  if (managed != nullptr) port::IDirect3DTexture9_Release(managed);
  CheckUpload(true);
}

TEST_F(RealTextureUpload, OnAPlainDeviceIntoAManagedTexture) {
  SelectScreenMode(800, 600, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  PlainDeviceInPlace plain;
  ASSERT_TRUE(plain.Made());
  CheckUpload(false);
}

// Full screen at the desktop's size, where every activation rebuilds the
// device: a graph loaded from a file comes back into the new texture.
TEST_F(RealTextureUpload, AGraphFromAFileIsRestoredAfterTheDeviceIsRebuilt) {
  const int imageWidth = testsupport::UPLOAD_IMAGE_WIDTH;
  const int imageHeight = testsupport::UPLOAD_IMAGE_HEIGHT;
  graphicstest::WriteBmp(directory_ / "upload.bmp", imageWidth, imageHeight,
                         testsupport::UploadImageColor);
  int width = port::GetSystemMetrics(port::SM_CXSCREEN);
  int height = port::GetSystemMetrics(port::SM_CYSCREEN);
  ChangeWindowMode(0);
  SelectScreenMode(width, height, 32, 0);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(hardwareMode, 1) << Log();
  Handle graph = -1;
  ASSERT_EQ(LoadGraphSheet("upload.bmp", 1, 1, 1, imageWidth, imageHeight, &graph, 1), 0);
  EXPECT_EQ(WrongTexels(WrittenTexels(graph)), 0);
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_INACTIVE, 0);
  MainWindowProc(mainWindow, port::WM_ACTIVATE, port::WA_ACTIVE, 0);
  ASSERT_NE(displayDevice.device, nullptr) << Log();
  EXPECT_NE(Log().find("グラフィックを復帰します"), std::string::npos);
  EXPECT_EQ(WrongTexels(WrittenTexels(graph)), 0);
}

}  // namespace
