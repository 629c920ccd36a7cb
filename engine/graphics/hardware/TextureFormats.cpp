#include "engine/graphics/hardware/TextureFormats.h"

#include "engine/images/Direct3DFormatLayouts.h"
#include "engine/platform/Direct3D9Port.h"

namespace {

constexpr int MAX_LAYOUTS = 32;

}  // namespace

const ColorFormat* D3DFormatColorFormat(uint32_t d3dFormat) {
  // One ColorFormat per row of the shared layout table, built on first use.
  static ColorFormat formats[MAX_LAYOUTS];
  static int count = 0;
  static const Direct3DFormatLayout* layouts = nullptr;
  if (layouts == nullptr) {
    const Direct3DFormatLayout* table = Direct3DFormatLayouts(&count);
    if (count > MAX_LAYOUTS) count = MAX_LAYOUTS;
    for (int i = 0; i < count; ++i)
      SetGenericColorFormat(&formats[i], table[i].bits, table[i].red, table[i].green,
                            table[i].blue, table[i].alpha);
    layouts = table;
  }
  for (int i = 0; i < count; ++i)
    if (layouts[i].code == d3dFormat) return &formats[i];
  return nullptr;
}

bool IsBlockCompressedFormat(uint32_t d3dFormat) { return BlockCompressionOfFormat(d3dFormat) != 0; }

int BlockCompressionOfFormat(uint32_t d3dFormat) {
  const uint32_t blockFormats[5] = {port::D3DFMT_DXT1, port::D3DFMT_DXT2, port::D3DFMT_DXT3,
                                    port::D3DFMT_DXT4, port::D3DFMT_DXT5};
  for (int kind = 1; kind <= 5; ++kind)
    if (blockFormats[kind - 1] == d3dFormat) return kind;
  return 0;
}
