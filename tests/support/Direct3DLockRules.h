// What the Direct3D 9 runtime lets a program lock, checked alike on the
// headless fake and on the system's own d3d9.dll, so that the fake refuses
// what the runtime refuses: a default-pool texture without dynamic usage,
// a render-target texture, a render target made unlockable. What can be
// locked comes with a pitch of at least a row's bytes.
#pragma once

#include <gtest/gtest.h>

#include "engine/platform/Direct3D9Port.h"

namespace testsupport {

inline void CheckDirect3DLockRules(port::Direct3DDevice9Handle device, bool ex) {
  using namespace port;
  constexpr uint32_t WIDTH = 40, HEIGHT = 20, ROW_BYTES = WIDTH * 4;
  struct TextureCase {
    const char* what;
    uint32_t usage, pool;
    bool lockable;
  } const textures[] = {
      {"default pool", 0, D3DPOOL_DEFAULT, false},
      {"render target", D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, false},
      {"dynamic, default pool", D3DUSAGE_DYNAMIC, D3DPOOL_DEFAULT, true},
      {"system memory", D3DUSAGE_DYNAMIC, D3DPOOL_SYSTEMMEM, true},
      {"managed pool", 0, ex ? D3DPOOL_SYSTEMMEM : D3DPOOL_MANAGED, true},
  };
  for (const TextureCase& c : textures) {
    SCOPED_TRACE(c.what);
    Direct3DTexture9Handle texture = nullptr;
    ASSERT_GE(IDirect3DDevice9_CreateTexture(device, WIDTH, HEIGHT, 1, c.usage, D3DFMT_A8R8G8B8,
                                             c.pool, &texture),
              0);
    D3DLockedRect locked{};
    bool didLock = IDirect3DTexture9_LockRect(texture, 0, &locked, nullptr, 0) >= 0;
    EXPECT_EQ(didLock, c.lockable);
    if (didLock) {
      EXPECT_GE(locked.Pitch, int32_t(ROW_BYTES));
      IDirect3DTexture9_UnlockRect(texture, 0);
    }
    IDirect3DTexture9_Release(texture);
  }
  for (int lockable : {0, 1}) {
    SCOPED_TRACE(lockable ? "lockable render target" : "unlockable render target");
    Direct3DSurface9Handle surface = nullptr;
    ASSERT_GE(IDirect3DDevice9_CreateRenderTarget(device, WIDTH, HEIGHT, D3DFMT_X8R8G8B8,
                                                  D3DMULTISAMPLE_NONE, 0, lockable, &surface),
              0);
    D3DLockedRect locked{};
    bool didLock = IDirect3DSurface9_LockRect(surface, &locked, nullptr, D3DLOCK_READONLY) >= 0;
    EXPECT_EQ(didLock, lockable != 0);
    if (didLock) {
      EXPECT_GE(locked.Pitch, int32_t(ROW_BYTES));
      IDirect3DSurface9_UnlockRect(surface);
    }
    IDirect3DSurface9_Release(surface);
  }
}

}  // namespace testsupport
