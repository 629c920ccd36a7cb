// The image that the texture-upload tests put into a hardware graph, both
// on the Direct3D 9 fake and on the system's real device, and the texels
// its 32-bit alpha-test texture (D3DFMT_A8R8G8B8) must then hold: the
// pixels, opaque, black ones (the colour key) transparent, the column and
// row past the image repeating its edge, the rest of the texture cleared.
#pragma once

#include <cstdint>

#include "engine/images/PixelImage.h"

namespace testsupport {

// 100 x 50 pixels: a 128 x 64 texture with room for the repeated edge.
constexpr int UPLOAD_IMAGE_WIDTH = 100;
constexpr int UPLOAD_IMAGE_HEIGHT = 50;
constexpr int UPLOAD_TEXTURE_WIDTH = 128;
constexpr int UPLOAD_TEXTURE_HEIGHT = 64;

// Every pixel tells its place; a scattering of them is black.
inline uint32_t UploadImageColor(int x, int y) {
  if ((x * 7 + y * 3) % 11 == 0) return 0;
  return uint32_t(x) << 16 | uint32_t(y) << 8 | uint32_t((x + y) & 0xFF);
}

inline PixelImage MakeUploadImage() {
  PixelImage image{};
  CreateXrgb8PixelImage(UPLOAD_IMAGE_WIDTH, UPLOAD_IMAGE_HEIGHT, &image);
  for (int y = 0; y < UPLOAD_IMAGE_HEIGHT; ++y)
    for (int x = 0; x < UPLOAD_IMAGE_WIDTH; ++x) {
      uint32_t color = UploadImageColor(x, y);
      SetPixelColor(&image, x, y, int(color >> 16), int(color >> 8 & 0xFF), int(color & 0xFF),
                    255);
    }
  return image;
}

inline uint32_t ExpectedUploadTexel(int x, int y) {
  if (x > UPLOAD_IMAGE_WIDTH || y > UPLOAD_IMAGE_HEIGHT) return 0;
  if (x == UPLOAD_IMAGE_WIDTH) x -= 1;
  if (y == UPLOAD_IMAGE_HEIGHT) y -= 1;
  uint32_t color = UploadImageColor(x, y);
  return color == 0 ? 0 : 0xFF000000u | color;
}

}  // namespace testsupport
