// How an image dimension is covered by power-of-two textures.
#pragma once

constexpr int MAX_TEXTURE_SPLITS = 32;

// The power-of-two texture sizes that cover size, in order, for a device
// whose largest texture is maxTexture and a screen screenWidth wide: one
// texture when the size is below the screen width and fits with room to
// spare, else pieces of the largest fitting size, the last two merged when
// equal and the merge fits. Writes at most MAX_TEXTURE_SPLITS sizes into
// pieces and returns their count.
int SplitTextureSize(int size, int maxTexture, int screenWidth, int pieces[MAX_TEXTURE_SPLITS]);
