// Writes an ARGB8 pixel image as an 8-bit RGBA PNG.
#pragma once

#include "engine/images/PixelImage.h"

// 0, or -1 with a message on stderr.
int WriteRgbaPng(const char* path, const PixelImage& argb);
