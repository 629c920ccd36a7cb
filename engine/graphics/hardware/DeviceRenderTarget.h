// Where the Direct3D device draws: the screen's surface or a drawable
// graph's texture, made the device's render target; and clearing it.
#pragma once

#include "engine/core/Engine.h"
#include "engine/platform/Direct3D9Port.h"

struct GraphRecord;

// The surface screen drawing goes to (the sub back buffer once it exists,
// else the back buffer).
port::Direct3DSurface9Handle ScreenRenderSurface();
// Makes the graph's surface (or, for null, the screen's) the device's render
// target, with the depth buffer.
void SetDeviceRenderTarget(GraphRecord* graph);
// Full screen: makes the sub back buffer on first use, with the back
// buffer's picture, and draws into it from then on. 0 or -1.
int EnsureSubBackBuffer();
// ClearDrawTarget on the device: the area (null: all) of the render target,
// which is targetWidth x targetHeight, to the background colour, and its
// depth; the viewport is the draw area again afterwards. Always 0.
int ClearDeviceTarget(const Rect* area, int targetWidth, int targetHeight);
