// The display set-up's hardware attempt on the Direct3D 9 fake: the
// transcript of a whole set-up, the device's parameters, and the fall back
// to software mode at each step that can fail.
#include <algorithm>

#include "engine/core/MainWindow.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/TextureSet.h"
#include "tests/graphics/HardwareFixture.h"
#include "tests/support/Direct3DLockRules.h"

namespace graphicstest {
namespace {

using HardwareSetup = HardwareFixture;

// What follows the Direct3D object's line on the default fake (9Ex or
// plain), window mode, 800 x 600 on a 32-bit desktop.
const std::vector<std::string> DEVICE_TRANSCRIPT_TAIL = {
    "成功",
    "Driver:headless.dll  Description:Headless Direct3D 9 device",
    "画面のフォーマットは D3DFMT_X8R8G8B8 です",
    "Ｚバッファのフォーマットは D3DFMT_D16 です",
    "16bit カラーフォーマットは D_D3DFMT_R5G6B5 です",
    "32bit カラーフォーマットは D_D3DFMT_X8R8G8B8 です",
    "アルファ付き 16bit カラーフォーマットは D_D3DFMT_A4R4G4B4 です",
    "アルファ付き 32bit カラーフォーマットは D_D3DFMT_A8R8G8B8 です",
    "アルファテスト用 16bit カラーフォーマットは D_D3DFMT_A1R5G5B5 です",
    "アルファテスト用 32bit カラーフォーマットは D_D3DFMT_A8R8G8B8 です",
    "ＤＸＴ１テクスチャフォーマットは D_D3DFMT_DXT1 です",
    "ＤＸＴ２テクスチャフォーマットは使えません",
    "ＤＸＴ３テクスチャフォーマットは D_D3DFMT_DXT3 です",
    "ＤＸＴ４テクスチャフォーマットは使えません",
    "ＤＸＴ５テクスチャフォーマットは D_D3DFMT_DXT5 です",
    "描画用 16bit カラーフォーマットは D_D3DFMT_X1R5G5B5 です",
    "描画用 32bit カラーフォーマットは D_D3DFMT_X8R8G8B8 です",
    "描画用アルファ付き 32bit カラーフォーマットは D_D3DFMT_A8R8G8B8 です",
    "最大テクスチャサイズ　幅:2048 高さ:2048",
    "テクスチャステージテンポラリレジスタ：使用可",
    "減算合成のハードウェア対応：ネイティブ",
    "頂点シェーダーバージョンコード：fffe0200",
    "ピクセルシェーダーバージョンコード：ffff0200",
    "バックバッファロック転送の時間:0nsec  一時的な描画可能バッファを使用した転送の時間:0nsec",
    "バックバッファロックを使用します",
    "Ｚバッファを作成します.... 成功",
    "プログラマブルシェーダーを使用しません",
};

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST_F(HardwareSetup, The9ExDeviceIsMadeWithEveryLogLine) {
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 1);
  std::vector<std::string> expected =
      Join({"IDirect3D9Ex オブジェクトを取得します.... 成功",
            "IDirect3DDevice9Ex オブジェクトを取得します.... ハードウエア頂点演算を使用します"},
           DEVICE_TRANSCRIPT_TAIL);
  EXPECT_EQ(TranscriptUpTo("プログラマブルシェーダー"), expected);

  const headless::Direct3D9Record& calls = headless::Direct3D9Calls();
  EXPECT_TRUE(calls.lastDeviceWasEx);
  EXPECT_FALSE(calls.lastDisplayModeGiven);  // window mode passes no display mode
  const port::D3DPresentParameters& p = calls.lastParameters;
  EXPECT_EQ(p.BackBufferWidth, 800u);
  EXPECT_EQ(p.BackBufferHeight, 600u);
  EXPECT_EQ(p.BackBufferFormat, port::D3DFMT_X8R8G8B8);
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.Windowed, 1);
  EXPECT_EQ(p.SwapEffect, port::D3DSWAPEFFECT_COPY);
  EXPECT_EQ(p.Flags, port::D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
  EXPECT_EQ(p.PresentationInterval, port::D3DPRESENT_INTERVAL_ONE);
  EXPECT_EQ(p.MultiSampleType, port::D3DMULTISAMPLE_NONE);
  EXPECT_EQ(p.EnableAutoDepthStencil, 0);
  EXPECT_EQ(p.hDeviceWindow, mainWindow);
  EXPECT_EQ(calls.lastBehaviorFlags, port::D3DCREATE_MIXED_VERTEXPROCESSING);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9Ex_SetMaximumFrameLatency").at(0).arguments,
            "1");
  EXPECT_EQ(calls.renderStates.at(port::D3DRS_ZENABLE), 1u);
  // Four clears and presents so that no buffer shows garbage.
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_Present").size(), 4u);
  // The depth buffer has power-of-two sides and is cleared once made.
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_CreateDepthStencilSurface").at(0).arguments,
            "1024,1024,80,0,0,1");
  EXPECT_EQ(graphCreationOptions.maxTextureSize, 2048);
  EXPECT_EQ(textureFormatTable[FORMAT_CLASS_DXT1 + 1], port::D3DFMT_A8R8G8B8);  // DXT2: class 3's
  EXPECT_EQ(textureFormatTable[14], port::D3DFMT_X8R8G8B8);
  EXPECT_EQ(displayDevice.useBackBufferLock, 1);
}

TEST_F(HardwareSetup, WithoutDirect3D9ExThePlainDeviceIsMade) {
  script_.exportsCreate9Ex = false;
  Script();
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 1);
  std::vector<std::string> expected = Join(
      {"IDirect3D9Ex オブジェクトを取得します.... IDirect3D9 オブジェクトを取得します.... 成功",
       "IDirect3DDevice9 オブジェクトを取得します.... ハードウエア頂点演算を使用します"},
      DEVICE_TRANSCRIPT_TAIL);
  EXPECT_EQ(TranscriptUpTo("プログラマブルシェーダー"), expected);
  EXPECT_FALSE(headless::Direct3D9Calls().lastDeviceWasEx);
  EXPECT_TRUE(headless::Direct3D9CallsNamed("IDirect3DDevice9Ex_SetMaximumFrameLatency").empty());
}

TEST_F(HardwareSetup, AFailedExObjectFallsBackToThePlainOne) {
  Fail("Direct3DCreate9Ex");
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_FALSE(headless::Direct3D9Calls().lastDeviceWasEx);
}

TEST_F(HardwareSetup, MixedVertexProcessingRefusedIsRetriedInSoftware) {
  script_.mixedProcessingFails = true;
  Script();
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 1);
  auto creates = headless::Direct3D9CallsNamed("IDirect3D9Ex_CreateDeviceEx");
  ASSERT_EQ(creates.size(), 2u);
  EXPECT_EQ(creates[0].arguments, "0,1,0x80,null");
  EXPECT_EQ(creates[1].arguments, "0,1,0x20,null");
  EXPECT_TRUE(LogHas("ソフトウエア頂点演算を使用します"));
}

TEST_F(HardwareSetup, ShadersBelow20ChooseSoftwareVertexProcessing) {
  script_.caps.PixelShaderVersion = port::D3DPS_VERSION(1, 4);
  Script();
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(headless::Direct3D9Calls().lastBehaviorFlags, port::D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  EXPECT_TRUE(LogHas("ソフトウエア頂点演算を使用します"));
}

// Each step that can stop the attempt: the log names it, the engine runs in
// software mode, and nothing of Direct3D is left alive.
TEST_F(HardwareSetup, EachFailingStepFallsBackToSoftwareMode) {
  struct Case {
    const char* name;
    void (*arrange)(headless::Direct3D9Script&);
    const char* lastLine;  // the last line of the attempt
    bool deviceMade;       // the device was made and is released with line 2
  } const cases[] = {
      {"no object",
       [](headless::Direct3D9Script& s) {
         s.failures = {{"Direct3DCreate9Ex", 0}, {"Direct3DCreate9", 0}};
       },
       "IDirect3D9Ex オブジェクトを取得します.... IDirect3D9 オブジェクトを取得します.... "
       "IDirect3D9 オブジェクトの取得に失敗しました",
       false},
      {"no exports",
       [](headless::Direct3D9Script& s) { s.exportsCreate9Ex = s.exportsCreate9 = false; },
       "IDirect3D9Ex オブジェクトを取得します.... IDirect3D9 オブジェクトを取得します.... "
       "Direct3DCreate9 APIのアドレス取得に失敗しました",
       false},
      {"no device",
       [](headless::Direct3D9Script& s) { s.failures = {{"IDirect3D9Ex_CreateDeviceEx", 0}}; },
       "IDirect3DDevice9Ex オブジェクトを取得します.... Direct3DDevice9Ex の作成に失敗しました",
       false},
      {"no plain device",
       [](headless::Direct3D9Script& s) {
         s.exportsCreate9Ex = false;
         s.failures = {{"IDirect3D9_CreateDevice", 0}};
       },
       "IDirect3DDevice9 オブジェクトを取得します.... Direct3DDevice9 の作成に失敗しました", false},
      {"no desktop mode",
       [](headless::Direct3D9Script& s) { s.failures = {{"IDirect3D9_GetAdapterDisplayMode", 0}}; },
       "デスクトップの画面モードの取得に失敗しました", false},
      {"no back buffer",
       [](headless::Direct3D9Script& s) { s.failures = {{"IDirect3DDevice9_GetBackBuffer", 0}}; },
       "バックバッファの取得に失敗しました", true},
      {"no swap chain",
       [](headless::Direct3D9Script& s) { s.failures = {{"IDirect3DDevice9_GetSwapChain", 0}}; },
       "スワップチェインの取得に失敗しました", true},
      {"no caps",
       [](headless::Direct3D9Script& s) { s.failures = {{"IDirect3DDevice9_GetDeviceCaps", 0}}; },
       "デバイスの能力の取得に失敗しました", true},
      {"no depth format",
       [](headless::Direct3D9Script& s) { s.depthFormats.clear(); },
       "使用できる Zバッファフォーマットが見つかりませんでした", true},
      {"no 16-bit format",
       [](headless::Direct3D9Script& s) {
         s.textureFormats = {port::D3DFMT_X8R8G8B8, port::D3DFMT_A8R8G8B8};
       },
       "使用できる 16bit カラーフォーマットが見つかりませんでした", true},
      {"no alpha format",
       [](headless::Direct3D9Script& s) {
         s.textureFormats = {port::D3DFMT_R5G6B5, port::D3DFMT_X8R8G8B8};
       },
       "使用できるアルファ付き 16bit カラーフォーマットが見つかりませんでした", true},
      {"no format answers",
       [](headless::Direct3D9Script& s) {
         s.failures = {{"IDirect3D9_CheckDeviceFormat", 0}};
       },
       "使用できる 16bit カラーフォーマットが見つかりませんでした", true},
      {"no depth buffer",
       [](headless::Direct3D9Script& s) {
         s.failures = {{"IDirect3DDevice9_CreateDepthStencilSurface", 0}};
       },
       "Ｚバッファを作成します.... Ｚバッファの作成に失敗しました", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    c.arrange(script_);
    Script();
    ASSERT_EQ(StartWindowed(), 0);
    EXPECT_EQ(hardwareMode, 0);
    std::vector<std::string> transcript = DisplayTranscript();
    auto last = std::find(transcript.begin(), transcript.end(), c.lastLine);
    std::string all;
    for (const std::string& line : transcript) all += line + "\n";
    ASSERT_NE(last, transcript.end()) << "missing: " << c.lastLine << "\nin:\n" << all;
    bool released = last + 1 != transcript.end() && *(last + 1) == "Direct3DDevice9 の解放 2";
    EXPECT_EQ(released, c.deviceMade);
    EXPECT_EQ(headless::Direct3D9Calls().liveObjects, 0);
    // Software mode draws and reads back.
    PaintBox(0, 0, 4, 4, 0x00FF00, 1);
    EXPECT_EQ(ReadPixel(1, 1), 0x00FF00);
  }
}

TEST_F(HardwareSetup, ASixteenBitDesktopMakesASixteenBitScreenInWindowMode) {
  script_.desktop.Format = port::D3DFMT_R5G6B5;
  Script();
  ASSERT_EQ(StartWindowed(800, 600, 32), 0);
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(ScreenColorBits(), 16);
  EXPECT_EQ(headless::Direct3D9Calls().lastParameters.BackBufferFormat, port::D3DFMT_R5G6B5);
  EXPECT_TRUE(LogHas("画面のフォーマットは D3DFMT_R5G6B5 です"));
  EXPECT_TRUE(LogHas("描画用 16bit カラーフォーマットは D_D3DFMT_R5G6B5 です"));
  EXPECT_EQ(textureFormatTable[14], 0u);
}

int compositionCalls[2];
int32_t PORT_WINAPI FakeDwmEnableComposition(uint32_t action) {
  compositionCalls[action ? 1 : 0] += 1;
  return 0;
}

TEST_F(HardwareSetup, FullScreenSixteenBitsWithoutR5G6B5ModesUsesX1R5G5B5) {
  script_.r5g6b5ModeCount = 0;
  Script();
  compositionCalls[0] = compositionCalls[1] = 0;
  headless::ProvideProcedure("dwmapi.dll", "DwmEnableComposition",
                             reinterpret_cast<port::ProcAddress>(&FakeDwmEnableComposition));
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 16, 60);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(hardwareMode, 1);
  const headless::Direct3D9Record& calls = headless::Direct3D9Calls();
  EXPECT_EQ(calls.lastParameters.BackBufferFormat, port::D3DFMT_X1R5G5B5);
  EXPECT_EQ(calls.lastParameters.Windowed, 0);
  EXPECT_EQ(calls.lastParameters.FullScreen_RefreshRateInHz, 60u);
  ASSERT_TRUE(calls.lastDisplayModeGiven);
  EXPECT_EQ(calls.lastDisplayMode.Size, 24u);
  EXPECT_EQ(calls.lastDisplayMode.Format, port::D3DFMT_X1R5G5B5);
  EXPECT_EQ(calls.lastDisplayMode.RefreshRate, 60u);
  EXPECT_EQ(calls.lastDisplayMode.ScanLineOrdering, port::D3DSCANLINEORDERING_PROGRESSIVE);
  EXPECT_TRUE(LogHas("画面のフォーマットは D3DFMT_X1R5G5B5 です"));
  EXPECT_TRUE(LogHas("16bit カラーフォーマットは D_D3DFMT_R5G6B5 です"));
  EXPECT_TRUE(LogHas("描画用 16bit カラーフォーマットは D_D3DFMT_X1R5G5B5 です"));
  // Hardware full screen changes no display mode itself; composition is off
  // while it runs and on again after shut-down.
  EXPECT_TRUE(headless::DisplayChanges().empty());
  EXPECT_EQ(compositionCalls[0], 1);
  EXPECT_TRUE(LogHas("Desktop Window Manager を無効にしました"));
  ShutdownEngine();
  EXPECT_EQ(compositionCalls[1], 1);
}

// Nothing in the engine draws with 8 bits: an 8-bit full-screen request is
// served with 32 bits, and the log says so. (In a window the desktop's depth
// takes the request's place anyway.)
TEST_F(HardwareSetup, AnEightBitRequestIsServedWithThirtyTwoBitsAndLogged) {
  ChangeWindowMode(0);
  SelectScreenMode(800, 600, 8, 60);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(hardwareMode, 1);
  EXPECT_EQ(ScreenColorBits(), 32);
  EXPECT_TRUE(LogHas("非対応のバックバッファービット深度が指定されました"));
  EXPECT_EQ(headless::Direct3D9Calls().lastParameters.BackBufferFormat, port::D3DFMT_X8R8G8B8);
}

// The fake refuses the locks the runtime refuses (the same checks run on
// the system's d3d9.dll under Wine), and pads its rows as drivers do.
TEST_F(HardwareSetup, TheFakeLocksAsTheRuntimeDoes) {
  for (bool ex : {true, false}) {
    SCOPED_TRACE(ex ? "9Ex" : "plain");
    script_.exportsCreate9Ex = ex;
    Script();
    ASSERT_EQ(StartWindowed(), 0);
    testsupport::CheckDirect3DLockRules(displayDevice.device, displayDevice.isEx != 0);
    port::Direct3DTexture9Handle texture = nullptr;
    ASSERT_GE(port::IDirect3DDevice9_CreateTexture(displayDevice.device, 40, 20, 1,
                                                   port::D3DUSAGE_DYNAMIC, port::D3DFMT_A8R8G8B8,
                                                   port::D3DPOOL_SYSTEMMEM, &texture),
              0);
    port::D3DLockedRect locked{};
    ASSERT_GE(port::IDirect3DTexture9_LockRect(texture, 0, &locked, nullptr, 0), 0);
    EXPECT_GT(locked.Pitch, 40 * 4);
    port::IDirect3DTexture9_UnlockRect(texture, 0);
    port::IDirect3DTexture9_Release(texture);
    ShutdownEngine();
  }
}

TEST_F(HardwareSetup, NeitherSoftwareRequestNorTheBuildDefaultTouchDirect3D) {
  // Software mode requested with the attempt on; the attempt off (the
  // shipped default) without a request.
  for (int requested : {1, 0}) {
    TearDown();
    SetUp();
    displayOptions.softwareModeRequested = requested;
    displayOptions.hardwareAttempt = requested;
    ASSERT_EQ(StartWindowed(), 0);
    EXPECT_EQ(hardwareMode, 0);
    EXPECT_EQ(headless::Direct3D9Calls().objectsCreated, 0);
    displayOptions.softwareModeRequested = 0;
  }
}

TEST_F(HardwareSetup, AnUnlockableBackBufferIsReadThroughTheCopyPath) {
  Fail("IDirect3DSurface9_LockRect", 1);
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_TRUE(LogHas("バックバッファロックはロックできません"));
  EXPECT_EQ(displayDevice.useBackBufferLock, 0);
}

TEST_F(HardwareSetup, ShutDownReleasesInOrderAndLeavesNothingAlive) {
  ASSERT_EQ(StartWindowed(), 0);
  headless::ClearDirect3D9Calls();
  ShutdownEngine();
  std::vector<std::string> releases;
  for (const headless::Direct3D9Call& call : headless::Direct3D9Calls().calls)
    if (call.name.find("Release") != std::string::npos)
      releases.push_back(call.name + "(" + call.arguments + ")");
  const std::vector<std::string> expected = {
      "IDirect3DSurface9_Release(DepthStencil1)", "IDirect3DSurface9_Release(BackBuffer)",
      "IDirect3DSwapChain9_Release()", "IDirect3DDevice9_Release()", "IDirect3D9_Release()"};
  EXPECT_EQ(releases, expected);
  EXPECT_EQ(headless::Direct3D9Calls().liveObjects, 0);
  EXPECT_EQ(headless::Direct3D9Calls().librariesFreed, 1);
  std::vector<std::string> texts = LogTexts();
  auto device = std::find(texts.begin(), texts.end(), "Direct3DDevice9 の解放 3");
  auto library = std::find(texts.begin(), texts.end(), "Direct3D9 DLL の解放 4");
  ASSERT_NE(device, texts.end());
  EXPECT_LT(device, library);
}

}  // namespace
}  // namespace graphicstest

namespace graphicstest {
namespace {

// Multisampling asked beyond what the device offers is lowered until both
// the back buffer and D16 take it; with it the swap effect discards and the
// back buffer is not lockable.
TEST_F(HardwareSetup, MultisamplingIsLoweredToWhatTheDeviceTakes) {
  displayOptions.multiSampleType = 4;
  displayOptions.multiSampleQuality = 3;
  ASSERT_EQ(StartWindowed(), 0);
  EXPECT_EQ(hardwareMode, 1);
  const port::D3DPresentParameters& p = headless::Direct3D9Calls().lastParameters;
  EXPECT_EQ(p.MultiSampleType, port::D3DMULTISAMPLE_2_SAMPLES);
  EXPECT_EQ(p.MultiSampleQuality, 0u);
  EXPECT_EQ(p.SwapEffect, port::D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(p.Flags, 0u);
  EXPECT_EQ(headless::Direct3D9CallsNamed("IDirect3DDevice9_CreateDepthStencilSurface").at(0).arguments,
            "1024,1024,80,2,0,1");
}

}  // namespace
}  // namespace graphicstest
