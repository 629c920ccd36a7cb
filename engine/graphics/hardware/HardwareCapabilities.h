// What the Direct3D device can do, read once after it is made: its caps
// and the values derived from them, the texture formats of every format
// class, and the faster way to read the back buffer.
#pragma once

#include <cstdint>

// A vertex or pixel shader version code of at least 2.0.
inline bool ShaderVersionAtLeast20(uint32_t version) { return (version & 0xFFFF) >= 0x200; }
// The smallest power of two not below value (at least 1).
uint32_t RoundUpToPowerOfTwo(uint32_t value);

// GetDeviceCaps of the device and the flags derived from it; the maximum
// texture size goes to the graph creation options. 0, or -1 logged.
int ReadDeviceCapabilities();
// Fills the texture-format table by probing the device, logging each
// choice. -1 (logged) when a class every graph may need has no format.
int ProbeTextureFormats();
// Times reading a block of the back buffer by locking it and by the copy
// path, and keeps the faster (the copy path when the lock does not work).
void ChooseBackBufferReadPath();
