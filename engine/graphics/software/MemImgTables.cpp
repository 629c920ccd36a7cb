#include "engine/graphics/software/MemImgTables.h"

#include <algorithm>

int MulTable[256][256];
int SignedMulTable[256][512];
uint8_t Lerp6Table[64][64][64];
uint8_t BlendImageTable[256];

namespace {
bool tablesBuilt = false;
}

int BuildMemImgTables() {
  for (int i = 0; i < 256; ++i) {
    for (int k = 0; k < 256; ++k) MulTable[i][k] = i * k / 255;
    // C++ division truncates toward zero, as the table wants.
    for (int j = 0; j < 511; ++j) SignedMulTable[i][j] = i * (j - 255) / 255;
    SignedMulTable[i][511] = 0;
  }
  for (int k = 0; k < 64; ++k) {
    for (int r = 0; r < 64; ++r) {
      for (int c = 0; c < 64; ++c) {
        Lerp6Table[k][r][c] = static_cast<uint8_t>((k * r + (63 - k) * c) / 63);
      }
    }
  }
  tablesBuilt = true;
  return 0;
}

void EnsureMemImgTables() {
  if (!tablesBuilt) BuildMemImgTables();
}

void SetBlendImageTable(int borderParam, int borderRange) {
  int border = std::clamp(borderParam, 0, 255);
  int range = std::clamp(borderRange, 0, 255);
  int offset = 256 - ((65536 / (range + 1) + 256) * border) / 256;
  for (int k = 0; k < 256; ++k) {
    int v = k * 256 / (range + 1) + offset;
    BlendImageTable[k] = static_cast<uint8_t>(std::clamp(v, 0, 255));
  }
}
