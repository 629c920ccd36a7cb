// Format-converting copies into MEMIMGs: from decoded images (graph
// creation) and between MEMIMGs.
#pragma once

#include "engine/core/Engine.h"
#include "engine/graphics/software/MemImg.h"

struct PixelImage;

// Converts the rectangle (srcX, srcY, width, height) of image (and of its
// separate alpha image, when given) to (dstX, dstY) of the MEMIMG. With
// useKey, pixels of the store's colour key get alpha 0 in a store with
// alpha. A palette store then takes the image's 256 palette entries in its
// own colour layout, in both halves of its palette block. The rectangle is
// clipped to both images. Returns the conversion's result: negative on
// failure (nothing left after clipping, an image that cannot be expanded).
int CopyImageToMemImg(PixelImage* image, const PixelImage* alphaImage, MEMIMG* memimg, int srcX,
                      int srcY, int width, int height, int dstX, int dstY, int useKey);

// Copies the rectangle of source (the whole source when null) to (x, y) of
// destination, converting between their formats; clipped to both. 0, or -1
// when nothing is copied.
int ConvertMemImg(MEMIMG* destination, const MEMIMG* source, const Rect* sourceRect, int x, int y);
