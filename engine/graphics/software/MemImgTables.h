// The software renderer's blending tables. Every channel multiplication by a
// fraction of 255 on the general paths is a lookup in one of them.
#pragma once

#include <cstdint>

// MulTable[i][k] = i * k / 255.
extern int MulTable[256][256];
// Row i, index j = 0..510: i * (j - 255) / 255, truncated toward zero. Rows
// are addressed at j = 255 (SignedMulRow), so that a signed difference
// -255..255 indexes them directly.
extern int SignedMulTable[256][512];
// Lerp6Table[k][r][c] = (k * r + (63 - k) * c) / 63.
extern uint8_t Lerp6Table[64][64][64];
// Blend-image weights by grey level, see SetBlendImageTable.
extern uint8_t BlendImageTable[256];

// Fills MulTable, SignedMulTable and Lerp6Table. Returns 0.
int BuildMemImgTables();
// Builds the tables unless they are built already.
void EnsureMemImgTables();

// Fills BlendImageTable: entry k = k * 256 / (range + 1) + 256 -
// ((65536 / (range + 1) + 256) * border) / 256, clamped to 0..255. border
// moves the threshold over the grey levels (0: every entry 255), range
// widens the ramp (0: a step, 255: one per grey level). Both 0..255.
void SetBlendImageTable(int borderParam, int borderRange);

// Row i of SignedMulTable, indexable by a difference -255..255.
inline const int* SignedMulRow(int i) { return &SignedMulTable[i][255]; }
