// DirectDraw 7 forwarded to the real ddraw.dll through COM.
//
// The port header comes first: ddraw.h defines macros with the names of the
// port's constants and of its functions (IDirectDraw7_Initialize ...), so the
// definitions below put each function name in parentheses, which a
// function-like macro does not expand.
#include "engine/platform/DirectDrawPort.h"

#include <windows.h>
#include <ddraw.h>

#include <cstring>

namespace {

IDirectDraw7* Object(port::DirectDraw7Handle handle) {
  return reinterpret_cast<IDirectDraw7*>(handle);
}

static_assert(sizeof(GUID) == sizeof(port::ComGuid), "GUID layout");

bool SameGuid(const port::ComGuid& portGuid, const GUID& guid) {
  return std::memcmp(&portGuid, &guid, sizeof guid) == 0;
}

}  // namespace

namespace port {

int DirectDrawAvailable() { return 1; }

HResult CoCreateDirectDraw7(CoCreateInstanceFunction coCreateInstance, uint32_t context,
                            DirectDraw7Handle* object) {
  *object = nullptr;
  if (coCreateInstance == nullptr) return E_NOTIMPL;
  if (!SameGuid(CLSID_DirectDraw7, ::CLSID_DirectDraw7) ||
      !SameGuid(IID_IDirectDraw7, ::IID_IDirectDraw7))
    return E_FAIL;
  void* created = nullptr;
  HResult result = coCreateInstance(&::CLSID_DirectDraw7, nullptr, context,
                                    &::IID_IDirectDraw7, &created);
  if (SUCCEEDED(result)) *object = static_cast<DirectDraw7Handle>(created);
  return result;
}

HResult(IDirectDraw7_Initialize)(DirectDraw7Handle object, const ComGuid* driver) {
  return Object(object)->Initialize(reinterpret_cast<GUID*>(const_cast<ComGuid*>(driver)));
}

HResult(IDirectDraw7_SetCooperativeLevel)(DirectDraw7Handle object, WindowHandle window,
                                          uint32_t flags) {
  return Object(object)->SetCooperativeLevel(static_cast<HWND>(window), flags);
}

HResult(IDirectDraw7_WaitForVerticalBlank)(DirectDraw7Handle object, uint32_t flags,
                                           void* event) {
  return Object(object)->WaitForVerticalBlank(flags, static_cast<HANDLE>(event));
}

uint32_t(IDirectDraw7_Release)(DirectDraw7Handle object) { return Object(object)->Release(); }

// DirectDraw is always there on Windows; this serves only the adapters
// without it, but keeps its meaning here: about one refresh of 60 Hz.
void WaitForDisplayRefresh() { Sleep(16); }

}  // namespace port
