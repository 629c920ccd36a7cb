#include "game/Actor.h"

#include "game/Assets.h"

void Actor::Update() {
  frameCount += 1;
  x += vx;
  y += vy;
}

void Actor::Draw() {
  const int left = static_cast<int>(x - width / 2);
  const int top = static_cast<int>(y - height / 2);
  PutGraph(left, top, sprite, 1);
}

void Actor::Show(const SpriteCell& cell) {
  sprite = cell.handle;
  width = cell.width;
  height = cell.height;
}

int AnimationFrame(int frameCount) { return (frameCount / 3) % 3; }
