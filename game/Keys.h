// The keys the game reads, in DirectInput key numbers.
#pragma once

constexpr int KEY_ESCAPE = 1;
constexpr int KEY_Q = 16;
constexpr int KEY_Z = 44;
constexpr int KEY_UP = 200;
constexpr int KEY_LEFT = 203;
constexpr int KEY_RIGHT = 205;
constexpr int KEY_DOWN = 208;
