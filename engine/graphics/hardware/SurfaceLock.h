// Reading Direct3D surfaces back: a render target locked directly, or
// copied into system memory and locked there.
#pragma once

#include "engine/core/Engine.h"
#include "engine/platform/Direct3D9Port.h"

struct GraphRecord;
struct PixelImage;

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

// The device's side of LockDrawScreen: a view of the rectangle of a drawable
// graph's texture, or of the screen (graph null) read directly when that is
// the faster way, else through a copy. One lock at a time. 0 or -1.
int LockDeviceTarget(GraphRecord* graph, const Rect& area, PixelImage* view);
// Ends the lock LockDeviceTarget made; nothing happens without one.
void UnlockDeviceTarget();
