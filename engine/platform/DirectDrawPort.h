// DirectDraw 7, held only to wait for the display's vertical blank. The
// object is made through COM (CoCreateInstance as the caller bound it from
// ole32.dll at run time); its methods are plain functions named
// IDirectDraw7_<method>, with the platform's own argument values.
//
// Where the platform has no DirectDraw (the sdl and headless adapters),
// DirectDrawAvailable() is 0 and WaitForDisplayRefresh() is the platform's
// own wait for the next refresh.
#pragma once

#include <cstdint>

#include "engine/platform/WindowPort.h"

namespace port {

using HResult = int32_t;

struct DirectDraw7Object;
using DirectDraw7Handle = DirectDraw7Object*;

// GUID.
struct ComGuid {
  uint32_t data1;
  uint16_t data2, data3;
  uint8_t data4[8];
};
inline constexpr ComGuid CLSID_DirectDraw7 = {
    0x3C305196, 0x50DB, 0x11D3, {0x9C, 0xFE, 0x00, 0xC0, 0x4F, 0xD9, 0x30, 0xC5}};
inline constexpr ComGuid IID_IDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};

// CoCreateInstance's class context for DirectDraw: in-process server,
// in-process handler and local server.
constexpr uint32_t CLSCTX_INPROC_SERVER = 0x1;
constexpr uint32_t CLSCTX_INPROC_HANDLER = 0x2;
constexpr uint32_t CLSCTX_LOCAL_SERVER = 0x4;

constexpr uint32_t DDSCL_NORMAL = 0x00000008;
constexpr uint32_t DDSCL_FPUPRESERVE = 0x00001000;
constexpr uint32_t DDWAITVB_BLOCKBEGIN = 0x00000001;

// CoCreateInstance(class id, outer object, class context, interface id,
// out object).
using CoCreateInstanceFunction = int32_t (*)(const void* classId, void* outer, uint32_t context,
                                             const void* interfaceId, void** object);

// 1 where the platform offers DirectDraw through COM.
int DirectDrawAvailable();
// coCreateInstance(CLSID_DirectDraw7, null, context, IID_IDirectDraw7, out):
// the object or a failure code (also when coCreateInstance is null).
HResult CoCreateDirectDraw7(CoCreateInstanceFunction coCreateInstance, uint32_t context,
                            DirectDraw7Handle* object);
HResult IDirectDraw7_Initialize(DirectDraw7Handle object, const ComGuid* driver);
HResult IDirectDraw7_SetCooperativeLevel(DirectDraw7Handle object, WindowHandle window,
                                         uint32_t flags);
HResult IDirectDraw7_WaitForVerticalBlank(DirectDraw7Handle object, uint32_t flags, void* event);
uint32_t IDirectDraw7_Release(DirectDraw7Handle object);

// Without DirectDraw: returns when the display's next refresh begins.
void WaitForDisplayRefresh();

}  // namespace port
