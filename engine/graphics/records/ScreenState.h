// The screen mode in force, fixed by the display set-up.
#pragma once

struct ScreenState {
  int width, height;
  int colorBits;    // 16 or 32
  int refreshRate;  // 0 = any
};
extern ScreenState screenState;
