// A score number that rises from where it was earned and fades out over its
// lifetime.
#pragma once

#include "game/Actor.h"

class ScoreEffect : public Actor {
 public:
  ScoreEffect();
  void Update() override;
  void Draw() override;

  int value = 0;     // the number shown
  int lifetime = 0;  // frames; it is drawn in lifetime - 1 of them
};
