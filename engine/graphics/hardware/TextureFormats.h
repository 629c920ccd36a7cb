// The pixel layout (ColorFormat) of each Direct3D format the engine reads
// or writes: textures, the back buffer and the surfaces read back.
#pragma once

#include <cstdint>

#include "engine/images/ColorFormat.h"

// The layout of a Direct3D format, built once on first use; null for a
// format without one (DXT, depth formats, anything unknown).
const ColorFormat* D3DFormatColorFormat(uint32_t d3dFormat);

// The DXT kind of a block-compressed format (1-5 for DXT1-DXT5), 0 for any
// other format.
int BlockCompressionOfFormat(uint32_t d3dFormat);
bool IsBlockCompressedFormat(uint32_t d3dFormat);
