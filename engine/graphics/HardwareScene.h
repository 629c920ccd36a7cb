// The Direct3D scene of hardware mode and the hooks the vertex batch and
// the render-state caches hang on. Every step that changes the render
// target, reads pixels back or presents flushes the batch and ends the
// scene first.
#pragma once

// Draws the vertices waiting in the batch. The vertex batch is not built
// yet: nothing can be waiting, so there is nothing to draw. (The batch's
// own code replaces this body.)
void FlushBatch();
// BeginScene once before drawing; EndScene when a scene is open.
void BeginSceneIfNeeded();
void EndSceneIfOpen();
// Forgets the open scene (the device was released).
void ForgetScene();

// The render-state caches: forgotten when a device is made, and sent again
// to a rebuilt device. Until the blend table exists no state is cached, so
// there is nothing to forget or send.
void ResetStateCaches();
void ResendCachedStates();

// The Direct3D viewport (MinZ 0, MaxZ 1) over a rectangle of the render
// target; the batch is drawn first.
void SetDeviceViewport(int left, int top, int right, int bottom);
