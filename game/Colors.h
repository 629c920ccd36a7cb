// The fixed colours of the game's texts and boxes, as 0xRRGGBB.
#pragma once

constexpr int COLOR_WHITE = 0xFFFFFF;
constexpr int COLOR_GREY = 0x646464;      // labels and the version line
constexpr int COLOR_BAR = 0x161616;       // the two status bars
constexpr int COLOR_RED = 0xFF0000;       // the last 30 seconds
constexpr int COLOR_BLACK = 0x000000;     // dimming overlays
