#include "game/FrameLoop.h"

#include "engine/core/Engine.h"
#include "game/Phase.h"
#include "game/PhaseLifetime.h"

// The phase that was current at the start of the turn draws the turn, even
// when its update switched to another; the new one is first updated in the
// next turn. Phases no longer reached go once they have drawn.
void RunFrameLoop() {
  for (;;) {
    if (PumpMessages() != 0) return;
    if (ClearDrawTarget(nullptr) != 0) return;
    Phase* phase = currentPhase;
    if (phase == nullptr) return;
    phase->Update();
    phase->Draw();
    ReleaseUnreachablePhases();
    if (PresentFrame() != 0) return;
  }
}
