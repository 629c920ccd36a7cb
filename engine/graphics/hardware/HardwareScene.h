// The Direct3D scene of hardware mode and the hooks of the vertex batch
// and the render-state caches. Every step that changes the render target,
// reads pixels back or presents flushes the batch and ends the scene first.
#pragma once

// Draws the vertices waiting in the batch (VertexBatch.cpp).
void FlushBatch();
// BeginScene once before drawing; EndScene when a scene is open.
void BeginSceneIfNeeded();
void EndSceneIfOpen();
// Forgets the open scene and drops the waiting vertices (the device was
// released, or is new).
void ForgetScene();

// The render-state caches (DeviceStateCache.cpp): forgotten when a device
// is made, and sent again to a rebuilt device.
void ResetStateCaches();
void ResendCachedStates();

// The Direct3D viewport (MinZ 0, MaxZ 1) over a rectangle of the render
// target; the batch is drawn first.
void SetDeviceViewport(int left, int top, int right, int bottom);
