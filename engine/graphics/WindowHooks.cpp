#include "engine/graphics/WindowHooks.h"

#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/DrawTarget.h"

int Direct3DObjectExists() { return displayDevice.direct3D != nullptr; }
int Direct3DDeviceExists() { return displayDevice.device != nullptr; }

// Only the Direct3D device has a scene to end and a swap chain to show; in
// software mode the window is repainted by WM_PAINT.
void PresentAfterActivation() {}

// A lost device belongs to the Direct3D path; the software screen survives
// every activation change.
int RebuildDisplay() { return 0; }

// Composition is switched off only for a full-screen Direct3D device.
void RestoreDesktopComposition() {}

int CurrentDrawTarget() { return currentDrawTarget; }

void ReapplyFrontTargetArea() {
  if (currentDrawTarget != TARGET_FRONT) return;
  const DrawArea& area = drawState.area;
  SetDrawArea(area.left, area.top, area.right, area.bottom);
}
