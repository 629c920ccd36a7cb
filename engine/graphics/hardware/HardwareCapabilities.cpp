#include "engine/graphics/hardware/HardwareCapabilities.h"

#include <cstdint>
#include <initializer_list>

#include "engine/core/Time.h"
#include "engine/graphics/hardware/SurfaceLock.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/GraphCreationOptions.h"
#include "engine/graphics/records/ScreenState.h"
#include "engine/graphics/records/TextureSet.h"
#include "engine/services/Log.h"

namespace {

using port::D3DADAPTER_DEFAULT;
using port::D3DDEVTYPE_HAL;

const char* FormatName(uint32_t format) {
  switch (format) {
    case port::D3DFMT_R5G6B5: return "D_D3DFMT_R5G6B5";
    case port::D3DFMT_X1R5G5B5: return "D_D3DFMT_X1R5G5B5";
    case port::D3DFMT_X8R8G8B8: return "D_D3DFMT_X8R8G8B8";
    case port::D3DFMT_A4R4G4B4: return "D_D3DFMT_A4R4G4B4";
    case port::D3DFMT_A8R8G8B8: return "D_D3DFMT_A8R8G8B8";
    case port::D3DFMT_A1R5G5B5: return "D_D3DFMT_A1R5G5B5";
    default: return "D_D3DFMT_UNKNOWN";
  }
}

bool Supported(uint32_t usage, uint32_t format) {
  return port::IDirect3D9_CheckDeviceFormat(displayDevice.direct3D, D3DADAPTER_DEFAULT,
                                            D3DDEVTYPE_HAL, displayDevice.backBufferFormat, usage,
                                            port::D3DRTYPE_TEXTURE, format) >= 0;
}

// The first supported format of the list, or 0.
uint32_t FirstSupported(uint32_t usage, std::initializer_list<uint32_t> formats) {
  for (uint32_t format : formats)
    if (Supported(usage, format)) return format;
  return 0;
}

// One row of the table: the first supported format, logged; -1 with the
// row's message when there is none.
int ProbeRow(int formatClass, std::initializer_list<uint32_t> formats, uint32_t fallback,
             const char* chosenLine, const char* missingLine) {
  uint32_t format = FirstSupported(0, formats);
  if (format == 0) format = fallback;
  if (format == 0) return WriteLog(missingLine);
  textureFormatTable[formatClass] = format;
  LogPrintf(chosenLine, FormatName(format));
  return 0;
}

// DXT1-DXT5: the block format itself, else the given class's format.
void ProbeBlockFormats() {
  static const uint32_t blockFormats[5] = {port::D3DFMT_DXT1, port::D3DFMT_DXT2, port::D3DFMT_DXT3,
                                           port::D3DFMT_DXT4, port::D3DFMT_DXT5};
  static const char* const lines[5] = {"ＤＸＴ１テクスチャフォーマットは%s",
                                       "ＤＸＴ２テクスチャフォーマットは%s",
                                       "ＤＸＴ３テクスチャフォーマットは%s",
                                       "ＤＸＴ４テクスチャフォーマットは%s",
                                       "ＤＸＴ５テクスチャフォーマットは%s"};
  static const char* const names[5] = {" D_D3DFMT_DXT1 です", " D_D3DFMT_DXT2 です",
                                       " D_D3DFMT_DXT3 です", " D_D3DFMT_DXT4 です",
                                       " D_D3DFMT_DXT5 です"};
  for (int kind = 0; kind < 5; ++kind) {
    bool supported = Supported(0, blockFormats[kind]);
    int fallbackClass = kind == 0 ? FORMAT_CLASS_ALPHA_TEST16 : FORMAT_CLASS_ALPHA32;
    textureFormatTable[FORMAT_CLASS_DXT1 + kind] =
        supported ? blockFormats[kind] : textureFormatTable[fallbackClass];
    LogPrintf(lines[kind], supported ? names[kind] : "使えません");
  }
}

void ProbeDrawableRow(int formatClass, std::initializer_list<uint32_t> formats,
                      const char* chosenLine, const char* missingLine) {
  uint32_t format = FirstSupported(port::D3DUSAGE_RENDERTARGET, formats);
  textureFormatTable[formatClass] = format;
  if (format == 0)
    WriteLog(missingLine);
  else
    LogPrintf(chosenLine, FormatName(format));
}

void ProbeDrawableFormats() {
  bool screenIs565 = displayDevice.backBufferFormat == port::D3DFMT_R5G6B5;
  uint32_t own16 = screenIs565 ? port::D3DFMT_R5G6B5 : port::D3DFMT_X1R5G5B5;
  uint32_t other16 = screenIs565 ? port::D3DFMT_X1R5G5B5 : port::D3DFMT_R5G6B5;
  ProbeDrawableRow(FORMAT_CLASS_DRAWABLE16, {own16, other16, port::D3DFMT_X8R8G8B8},
                   "描画用 16bit カラーフォーマットは %s です",
                   "使用できる描画用 16bit カラーフォーマットがありませんでした\n");
  ProbeDrawableRow(FORMAT_CLASS_DRAWABLE32, {port::D3DFMT_X8R8G8B8},
                   "描画用 32bit カラーフォーマットは %s です",
                   "使用できる描画用 32bit カラーフォーマットがありませんでした\n");
  ProbeDrawableRow(FORMAT_CLASS_DRAWABLE_ALPHA32, {port::D3DFMT_A8R8G8B8},
                   "描画用アルファ付き 32bit カラーフォーマットは %s です",
                   "使用できる描画用アルファ付き 32bit カラーフォーマットがありませんでした\n");
  // Classes 14 and 15 follow the 32-bit drawable and alpha-test formats on
  // a 32-bit screen; nothing of this system draws into them otherwise.
  bool screen32 = screenState.colorBits == 32;
  textureFormatTable[14] = screen32 ? textureFormatTable[FORMAT_CLASS_DRAWABLE32] : 0;
  textureFormatTable[15] = screen32 ? textureFormatTable[FORMAT_CLASS_ALPHA_TEST32] : 0;
}

// Reads a block of the back buffer a few times by one path; the time taken
// in microseconds, or -1 when the path does not work.
constexpr int READ_BLOCK_SIZE = 32;
constexpr int READ_REPEATS = 4;

int64_t TimeBackBufferReads(bool direct) {
  port::WindowRect block = {0, 0, READ_BLOCK_SIZE, READ_BLOCK_SIZE};
  if (block.right > screenState.width) block.right = screenState.width;
  if (block.bottom > screenState.height) block.bottom = screenState.height;
  uint64_t start = NowMicroseconds(1);
  for (int i = 0; i < READ_REPEATS; ++i) {
    SurfaceLock lock;
    int result = direct ? LockSurfaceDirect(displayDevice.backBuffer, block, &lock)
                        : LockSurfaceByCopy(displayDevice.backBuffer,
                                            displayDevice.backBufferFormat, block, &lock);
    if (result != 0) return -1;
    UnlockSurface(&lock);
  }
  return int64_t(NowMicroseconds(1) - start);
}

// Microseconds as nanoseconds for the log, held at the int's range (a slow
// read path, as under Wine, takes whole seconds).
int Nanoseconds(int64_t microseconds) {
  int64_t nanoseconds = microseconds * 1000;
  return nanoseconds > INT32_MAX ? INT32_MAX : int(nanoseconds);
}

}  // namespace

uint32_t RoundUpToPowerOfTwo(uint32_t value) {
  uint32_t power = 1;
  while (power < value && power < 0x80000000u) power <<= 1;
  return power;
}

int ReadDeviceCapabilities() {
  port::D3DCaps& caps = displayDevice.caps;
  if (port::IDirect3DDevice9_GetDeviceCaps(displayDevice.device, &caps) < 0)
    return WriteLog("デバイスの能力の取得に失敗しました\n");
  displayDevice.squareTexturesOnly = (caps.TextureCaps & port::D3DPTEXTURECAPS_SQUAREONLY) != 0;
  displayDevice.subtractiveBlend = (caps.PrimitiveMiscCaps & port::D3DPMISCCAPS_BLENDOP) != 0;
  displayDevice.temporaryRegister = (caps.PrimitiveMiscCaps & port::D3DPMISCCAPS_TSSARGTEMP) != 0;
  displayDevice.vertexShader20 = ShaderVersionAtLeast20(caps.VertexShaderVersion);
  displayDevice.pixelShader20 = ShaderVersionAtLeast20(caps.PixelShaderVersion);
  int width = caps.MaxTextureWidth != 0 ? int(caps.MaxTextureWidth) : 256;
  int height = caps.MaxTextureHeight != 0 ? int(caps.MaxTextureHeight) : 256;
  graphCreationOptions.maxTextureSize = width < height ? width : height;
  return 0;
}

int ProbeTextureFormats() {
  if (ProbeRow(FORMAT_CLASS_COLOR16, {port::D3DFMT_R5G6B5, port::D3DFMT_X1R5G5B5}, 0,
               "16bit カラーフォーマットは %s です",
               "使用できる 16bit カラーフォーマットが見つかりませんでした\n") != 0)
    return -1;
  ProbeRow(FORMAT_CLASS_COLOR32, {port::D3DFMT_X8R8G8B8}, textureFormatTable[FORMAT_CLASS_COLOR16],
           "32bit カラーフォーマットは %s です", "");
  if (ProbeRow(FORMAT_CLASS_ALPHA16, {port::D3DFMT_A4R4G4B4, port::D3DFMT_A8R8G8B8}, 0,
               "アルファ付き 16bit カラーフォーマットは %s です",
               "使用できるアルファ付き 16bit カラーフォーマットが見つかりませんでした\n") != 0 ||
      ProbeRow(FORMAT_CLASS_ALPHA32, {port::D3DFMT_A8R8G8B8, port::D3DFMT_A4R4G4B4}, 0,
               "アルファ付き 32bit カラーフォーマットは %s です",
               "使用できるアルファ付き 32bit カラーフォーマットが見つかりませんでした\n") != 0 ||
      ProbeRow(FORMAT_CLASS_ALPHA_TEST16,
               {port::D3DFMT_A1R5G5B5, port::D3DFMT_A8R8G8B8, port::D3DFMT_A4R4G4B4}, 0,
               "アルファテスト用 16bit カラーフォーマットは %s です",
               "使用できるアルファテスト用 16bit カラーフォーマットが見つかりませんでした\n") != 0 ||
      ProbeRow(FORMAT_CLASS_ALPHA_TEST32,
               {port::D3DFMT_A8R8G8B8, port::D3DFMT_A1R5G5B5, port::D3DFMT_A4R4G4B4}, 0,
               "アルファテスト用 32bit カラーフォーマットは %s です",
               "使用できるアルファテスト用 32bit カラーフォーマットが見つかりませんでした\n") != 0)
    return -1;
  ProbeBlockFormats();
  ProbeDrawableFormats();
  return 0;
}

void ChooseBackBufferReadPath() {
  int64_t lockTime = TimeBackBufferReads(true);
  int64_t copyTime = TimeBackBufferReads(false);
  if (lockTime < 0 || copyTime < 0) {
    WriteLog("バックバッファロックはロックできません\n");
    // Whichever path works is used (the copy path when neither does).
    displayDevice.useBackBufferLock = lockTime >= 0;
    return;
  }
  LogPrintf("バックバッファロック転送の時間:%dnsec  一時的な描画可能バッファを使用した転送の時間:%dnsec",
            Nanoseconds(lockTime), Nanoseconds(copyTime));
  displayDevice.useBackBufferLock = lockTime <= copyTime;
  WriteLog(displayDevice.useBackBufferLock ? "バックバッファロックを使用します\n"
                                           : "バックバッファロックを使用しません\n");
}
