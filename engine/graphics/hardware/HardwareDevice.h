// Making and releasing the Direct3D 9 device of hardware mode.
#pragma once

#include "engine/graphics/records/DisplayDevice.h"

// The hardware attempt's steps, in this order: the Direct3D object; the
// device; its preparation (state caches, vertex batches, the first clears
// and presents, the back buffer and swap chain, the refresh timed, the caps
// read, the depth and texture formats chosen); the depth buffer. The
// display set-up measures the refresh interval between the device and its
// preparation. 0, or -1 with the step's log line.
int CreateDirect3DObject();
int CreateDirect3DDevice();
int PrepareDirect3DDevice();
int CreateDepthBuffer();
// Releases the depth buffer, sub back buffer, back buffer, swap chain and
// device (logging the release with the given line), then the object.
void ReleaseDirect3D(const char* deviceReleaseLine);

// The screen-sized render target that takes the back buffer's place in
// full screen (a flip leaves the back buffer undefined). 0, or -1 logged.
int CreateSubBackBuffer();

// Switches desktop composition (dwmapi.dll's DwmEnableComposition, when the
// system has it) on or off; nothing happens when the state is in force.
void SwitchDesktopComposition(int on);
