// Loading an image file from the installed stream functions (loose, in an
// archive) or from memory, with an optional separate alpha image named
// with "_a" before the extension.
#pragma once

#include <cstddef>

#include "engine/images/PixelImage.h"

// The path goes through the installed StreamFunctions (Open(path, 0, 1, 0));
// with fromMemory the block is read instead. With mirror every row is
// reversed after decoding. 0 / -1.
int LoadPixelImage(const char* path, const void* memory, int size, int fromMemory, int mirror,
                   PixelImage* image);

// Alpha modes of LoadPixelImageWithAlpha.
constexpr int ALPHA_FROM_FILE = 0;    // AlphaFileName(path) from the stream functions
constexpr int ALPHA_FROM_MEMORY = 1;  // the alpha block
// -1 when the image cannot be loaded; 0 with an alpha image, 1 without one
// (also when it was asked for and could not be loaded).
int LoadPixelImageWithAlpha(const char* path, const void* memory, int size, int fromMemory,
                            const void* alphaMemory, int alphaSize, int alphaMode,
                            PixelImage* image, PixelImage* alphaImage, int mirror);

// The path with "_a" before its last "." (double-byte characters kept
// whole), or at the end when it has none; cut to outputSize - 1 bytes.
constexpr size_t ALPHA_FILE_NAME_BYTES = 256;
int AlphaFileName(const char* path, char* output, size_t outputSize = ALPHA_FILE_NAME_BYTES);
