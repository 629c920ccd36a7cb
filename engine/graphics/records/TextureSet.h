// The shared pixel store of a created image: every graph cut from one image
// is a window onto the same TextureSet. In hardware mode the set holds the
// Direct3D textures the image was split into; in software mode one MEMIMG
// holding the whole image.
#pragma once

#include <cstdint>

#include "engine/graphics/software/MemImg.h"
#include "engine/platform/Direct3D9Port.h"

// What a TextureSet needs of its textures; TextureFormatTable maps it to a
// Direct3D format.
enum TextureFormatClass {
  FORMAT_CLASS_COLOR16 = 0,
  FORMAT_CLASS_COLOR32 = 1,
  FORMAT_CLASS_ALPHA16 = 2,
  FORMAT_CLASS_ALPHA32 = 3,
  FORMAT_CLASS_ALPHA_TEST16 = 4,
  FORMAT_CLASS_ALPHA_TEST32 = 5,
  FORMAT_CLASS_DXT1 = 6,  // DXT2-DXT5 follow as 7-10
  FORMAT_CLASS_DRAWABLE16 = 11,
  FORMAT_CLASS_DRAWABLE32 = 12,
  FORMAT_CLASS_DRAWABLE_ALPHA32 = 13,
  FORMAT_CLASS_COUNT = 16,
};

// The Direct3D format of each class; 0 = none found, the class cannot be
// created. The display set-up probes the device to fill it.
extern uint32_t textureFormatTable[FORMAT_CLASS_COUNT];
// The first choice of every row, used until a device has been probed.
void SetDefaultTextureFormats();

// How the set was made, one byte each.
struct CreationDescriptor {
  uint8_t hardware;   // 1 textures, 0 MEMIMG
  uint8_t alpha;      // the image has alpha or a separate alpha image
  uint8_t drawable;   // can be a draw target
  uint8_t software;   // 1 in software mode
  uint8_t staging;    // textures have a system-memory twin
  uint8_t dxtKind;    // 0 none, 1-5 DXT1-DXT5
  uint8_t mipLevels;
  uint8_t alphaTest;  // the alpha-test format option applied
  uint8_t bitDepth;   // 16 or 32
  uint8_t blendImage;
  uint8_t palette8;   // software mode: one byte per pixel, no alpha
};

// The format class a descriptor asks for.
int ChooseFormatClass(const CreationDescriptor& descriptor);

// One Direct3D texture of a hardware set.
struct TexturePiece {
  port::Direct3DTexture9Handle texture;
  port::Direct3DTexture9Handle staging;
  port::Direct3DSurface9Handle surface;       // mip level 0 of texture
  port::Direct3DSurface9Handle extraSurface;  // drawable sets only
  int x, y;                                   // position in the image
  int usedWidth, usedHeight;                  // min(texture size, image size - position)
  int textureWidth, textureHeight;            // powers of two
};

struct TextureSet {
  int refCount;  // graphs using the set; freed at 0
  int formatClass;
  CreationDescriptor descriptor;
  uint32_t colorKey;  // 0x00RRGGBB at creation
  int width, height;  // the whole image
  // Software mode: the whole image.
  MEMIMG memImg;
  // Hardware mode: the pieces follow the header (PiecesOf).
  int mipLevels;
  int pieceCount;
};

inline TexturePiece* PiecesOf(TextureSet* set) { return reinterpret_cast<TexturePiece*>(set + 1); }
static_assert(sizeof(TextureSet) % alignof(TexturePiece) == 0, "pieces follow the header");
