// PNG files of images with their alpha, written by libpng: 8-bit RGBA,
// straight (not premultiplied) colours, no time stamp, so the same image
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Image.h"

// The PNG file's bytes; empty if libpng failed.
std::vector<uint8_t> EncodePng(const Image& image);

// False when the file cannot be written whole.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
