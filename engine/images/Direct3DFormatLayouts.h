// The pixel layouts of the Direct3D 9 formats (D3DFORMAT codes) that have
// one. A DDS file names its layout by the same code, and the graphics layer
// reads and writes textures and surfaces by it, so both take it from here.
#pragma once

#include <cstdint>

struct Direct3DFormatLayout {
  uint32_t code;  // the D3DFORMAT value
  int bits;
  uint32_t red, green, blue, alpha;  // masks; alpha 0 when absent
};

// The layout of a format, or null for a format without one (block
// compressed, depth, anything unknown).
const Direct3DFormatLayout* FindDirect3DFormatLayout(uint32_t code);

// The whole table, for building one ColorFormat per row.
const Direct3DFormatLayout* Direct3DFormatLayouts(int* count);
