#include "game/ScoreEffect.h"

#include <cstdio>
#include <cstring>

#include "game/Colors.h"
#include "game/Text.h"

ScoreEffect::ScoreEffect() { vy = -5; }

void ScoreEffect::Update() {
  x += vx;
  frameCount += 1;
  alive = frameCount < lifetime;
  y += vy;
}

void ScoreEffect::Draw() {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  // Fades linearly from nearly opaque to nearly invisible. An effect
  // without a lifetime is dead before it is ever drawn; it draws invisibly
  // rather than divide by zero.
  const int opacity = lifetime != 0 ? 255 - frameCount * 255 / lifetime : 0;
  ChooseBlendMode(BLEND_ALPHA, opacity);
  const int length = static_cast<int>(std::strlen(text));
  const int left = static_cast<int>(x - length * (GLYPH_SIZE / 2));
  const int top = static_cast<int>(y - GLYPH_SIZE / 2);
  DrawString(COLOR_WHITE, text, left, top);
  ChooseBlendMode(BLEND_NONE, 0);
}
