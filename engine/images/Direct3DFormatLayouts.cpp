#include "engine/images/Direct3DFormatLayouts.h"

#include "engine/platform/Direct3D9Port.h"

namespace {

constexpr Direct3DFormatLayout LAYOUTS[] = {
    {port::D3DFMT_R8G8B8, 24, 0xFF0000, 0xFF00, 0xFF, 0},
    {port::D3DFMT_A8R8G8B8, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {port::D3DFMT_X8R8G8B8, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {port::D3DFMT_R5G6B5, 16, 0xF800, 0x7E0, 0x1F, 0},
    {port::D3DFMT_X1R5G5B5, 16, 0x7C00, 0x3E0, 0x1F, 0},
    {port::D3DFMT_A1R5G5B5, 16, 0x7C00, 0x3E0, 0x1F, 0x8000},
    {port::D3DFMT_A4R4G4B4, 16, 0xF00, 0xF0, 0xF, 0xF000},
    {port::D3DFMT_R3G3B2, 8, 0xE0, 0x1C, 0x3, 0},
    {port::D3DFMT_A8R3G3B2, 16, 0xE0, 0x1C, 0x3, 0xFF00},
    {port::D3DFMT_X4R4G4B4, 16, 0xF00, 0xF0, 0xF, 0},
    {port::D3DFMT_A2B10G10R10, 32, 0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000},
    {port::D3DFMT_A8B8G8R8, 32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000},
    {port::D3DFMT_X8B8G8R8, 32, 0xFF, 0xFF00, 0xFF0000, 0},
    {port::D3DFMT_A2R10G10B10, 32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000},
};
constexpr int LAYOUT_COUNT = int(sizeof LAYOUTS / sizeof LAYOUTS[0]);

}  // namespace

const Direct3DFormatLayout* FindDirect3DFormatLayout(uint32_t code) {
  for (const Direct3DFormatLayout& layout : LAYOUTS)
    if (layout.code == code) return &layout;
  return nullptr;
}

const Direct3DFormatLayout* Direct3DFormatLayouts(int* count) {
  *count = LAYOUT_COUNT;
  return LAYOUTS;
}
