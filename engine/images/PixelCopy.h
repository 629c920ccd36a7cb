// Rectangle copies between pixel images: plain (clipped), scaled, halved
// and mirrored.
#pragma once

#include "engine/images/PixelImage.h"

// Copies (sx, sy, w, h) of source to (dx, dy) of destination, clipped to
// both images, converting formats. An empty result copies nothing.
int BltPixelImage(int sourceX, int sourceY, int width, int height, int destinationX,
                  int destinationY, PixelImage* source, PixelImage* destination);

// Stretches the source rectangle (x1, y1)-(x2, y2) onto the destination one,
// nearest pixel or bilinear, stepping the source in 16.16 fixed point.
int ScaleBltPixelImage(int sourceX1, int sourceY1, int sourceX2, int sourceY2, PixelImage* source,
                       int destinationX1, int destinationY1, int destinationX2,
                       int destinationY2, PixelImage* destination, int bilinear);

// Where HalfScalePixels reads from and writes to.
struct HalfScalePositions {
  int destinationX, destinationY;
  int sourceX, sourceY;
};

// Halves a 16- or 32-bit rectangle of sourceWidth x sourceHeight by
// averaging each channel over 2 x 2 blocks (pairs for a source 1 pixel wide
// or high). Each source dimension must be 1 or even.
int HalfScalePixels(const ColorFormat& format, void* destination, int destinationPitch,
                    const void* source, int sourcePitch, const HalfScalePositions* positions,
                    int sourceWidth, int sourceHeight);

// Reverses the pixels of every row in place.
int MirrorPixelImage(PixelImage* image);
