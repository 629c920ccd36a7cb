#include "engine/graphics/records/TextureSet.h"

uint32_t textureFormatTable[FORMAT_CLASS_COUNT];

void SetDefaultTextureFormats() {
  const uint32_t firstChoices[FORMAT_CLASS_COUNT] = {
      port::D3DFMT_R5G6B5,   port::D3DFMT_X8R8G8B8, port::D3DFMT_A4R4G4B4, port::D3DFMT_A8R8G8B8,
      port::D3DFMT_A1R5G5B5, port::D3DFMT_A8R8G8B8, port::D3DFMT_DXT1,     port::D3DFMT_DXT2,
      port::D3DFMT_DXT3,     port::D3DFMT_DXT4,     port::D3DFMT_DXT5,     port::D3DFMT_R5G6B5,
      port::D3DFMT_X8R8G8B8, port::D3DFMT_A8R8G8B8, port::D3DFMT_X8R8G8B8, port::D3DFMT_A8R8G8B8};
  for (int i = 0; i < FORMAT_CLASS_COUNT; ++i) textureFormatTable[i] = firstChoices[i];
}

int ChooseFormatClass(const CreationDescriptor& descriptor) {
  if (descriptor.dxtKind >= 1 && descriptor.dxtKind <= 5) return 5 + descriptor.dxtKind;
  int wide = descriptor.bitDepth == 16 ? 0 : 1;
  if (descriptor.drawable && descriptor.hardware) {
    if (descriptor.alpha || descriptor.alphaTest) return FORMAT_CLASS_DRAWABLE_ALPHA32;
    return FORMAT_CLASS_DRAWABLE16 + wide;
  }
  if (descriptor.alpha) return FORMAT_CLASS_ALPHA16 + wide;
  if (descriptor.alphaTest) return FORMAT_CLASS_ALPHA_TEST16 + wide;
  return FORMAT_CLASS_COLOR16 + wide;
}
