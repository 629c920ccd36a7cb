// The fixed pixel layouts of MEMIMG stores, built once on first use.
#pragma once

struct ColorFormat;

// The layout of a store of this pixel type (0-3) with or without alpha or a
// palette. For palette stores the masks describe the palette entries.
const ColorFormat* MemImgColorFormat(int pixelType, bool hasAlpha, bool usesPalette);
