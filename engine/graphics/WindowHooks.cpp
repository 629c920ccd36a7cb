#include "engine/graphics/WindowHooks.h"

#include "engine/graphics/DrawTarget.h"

// Direct3D is not used yet: there is neither object nor device, so the
// activation steps that need them have nothing to do.
int Direct3DObjectExists() { return 0; }
int Direct3DDeviceExists() { return 0; }
void PresentAfterActivation() {}
int RebuildDisplay() { return 0; }
void RestoreDesktopComposition() {}
int CurrentDrawTarget() { return currentDrawTarget; }
void ReapplyFrontTargetArea() {}
