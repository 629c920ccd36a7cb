// Reading the pixels of the current draw target.
#pragma once

#include "engine/core/Engine.h"
#include "engine/platform/Direct3D9Port.h"

struct PixelImage;

// A view of the rectangle (0 <= left < right <= target width, likewise for
// the rows) of the current target: size, pitch, colour format and the
// address of its first pixel. The view does not own the pixels. 0, or -1
// for a rectangle outside the target or when the target cannot be read.
int LockDrawScreen(const Rect& area, PixelImage* view);
// Ends the lock; nothing happens when nothing is locked.
void UnlockDrawScreen();

// 1 while a lock is held.
extern int drawScreenLocked;

// A locked Direct3D surface (hardware mode): the surface itself, or the
// system-memory copy made of it.
struct SurfaceLock {
  port::Direct3DSurface9Handle locked;
  int isCopy;  // locked is a copy, released at unlock
  port::D3DLockedRect bits;
};
// Locks the rectangle of the surface for reading, directly. 0 or -1.
int LockSurfaceDirect(port::Direct3DSurface9Handle surface, const port::WindowRect& area,
                      SurfaceLock* lock);
// Copies the rectangle through a temporary render target into a
// system-memory surface and locks that. 0, or -1 (logged when a surface
// cannot be made).
int LockSurfaceByCopy(port::Direct3DSurface9Handle surface, uint32_t format,
                      const port::WindowRect& area, SurfaceLock* lock);
void UnlockSurface(SurfaceLock* lock);
