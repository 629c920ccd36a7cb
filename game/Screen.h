// The picture the game draws on.
#pragma once

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;
constexpr int SCREEN_COLOR_BITS = 32;
constexpr int SCREEN_REFRESH_RATE = 60;
