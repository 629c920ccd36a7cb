// Windows icon files (.ico): one image per size, each 32-bit with its
// alpha. Images below 256 pixels are stored as bitmaps, which every
// Windows reads; the 256-pixel image as PNG, as Windows Vista and later
// read it (older systems skip it and use the smaller ones).
#pragma once

#include <cstdint>
#include <vector>

#include "Image.h"

// The file's bytes for square images of 1 to 256 pixels; empty if one
// could not be encoded.
std::vector<uint8_t> EncodeIco(const std::vector<Image>& images);
