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
constexpr int MODULATE = 255;
constexpr int ALPHA = 255;
constexpr int ADD = 255;
constexpr int SUB = 255;
constexpr int MUL = 255;
constexpr int INVERTED = 255;      // mode 10
constexpr int TOWARD_WHITE = 255;  // mode 11

// The game's frames mix all of these.
constexpr int FRAME = 255;

}  // namespace renderer_tolerance
