// How far Direct3D 9's pixels may stray from the software renderer's, per
// channel (0-255), by what is drawn. Copies, colour keying and clipping
// must agree exactly. Blends and modulation may differ by rounding: the
// fixed-function pipeline works on normalised colours and rounds, the
// software formulas divide by 256 or 255 and truncate. Each value is the
// largest difference measured under Wine's Direct3D 9 (on llvmpipe), so
// that any change of the drawing beyond rounding shows up.
#pragma once

namespace renderer_tolerance {

constexpr int EXACT = 0;
constexpr int MODULATE = 1;      // mode 0 with a modulation colour
constexpr int ALPHA = 2;         // mode 1, boxes included
constexpr int ADD = 2;           // mode 2
constexpr int SUB = 4;           // mode 3 (3 unmodulated, 4 modulated)
constexpr int MUL = 2;           // mode 4
constexpr int INVERTED = 1;      // mode 10
constexpr int TOWARD_WHITE = 2;  // mode 11

// The game's frames: copies, modulated glyphs and alpha blending.
constexpr int FRAME = MODULATE > ALPHA ? MODULATE : ALPHA;

}  // namespace renderer_tolerance
