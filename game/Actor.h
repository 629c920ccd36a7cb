// Something that moves on the screen: a position (its centre, in screen
// pixels), a velocity in pixels per frame, a catch radius and the sheet cell
// it shows now. The game phase owns every actor, updates and draws it once
// per frame and destroys it once it reports itself dead.
#pragma once

#include "engine/core/Engine.h"

struct SpriteCell;

class Actor {
 public:
  virtual ~Actor() = default;

  // One frame of movement.
  virtual void Update();
  // Draws the cell shown now, centred on the position.
  virtual void Draw();

  float x = 0, y = 0;
  float vx = 0, vy = 0;
  float radius = 0;
  Handle sprite = 0;
  int width = 0, height = 0;
  bool alive = true;
  int frameCount = 0;

 protected:
  // Makes the cell the one drawn from now on.
  void Show(const SpriteCell& cell);
};

// The animation frame 0, 1 or 2 an actor shows after frameCount updates:
// each picture stays for three frames.
int AnimationFrame(int frameCount);
