#include "game/Overlay.h"

#include "engine/core/Engine.h"
#include "game/Colors.h"
#include "game/Screen.h"

void DimScreen() {
  ChooseBlendMode(BLEND_ALPHA, 160);
  PaintBox(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, COLOR_BLACK, 1);
  ChooseBlendMode(BLEND_NONE, 255);
}
