#include "engine/graphics/WindowHooks.h"

#include "engine/graphics/DisplayDevice.h"
#include "engine/graphics/DrawState.h"
#include "engine/graphics/DrawTarget.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/input/Input.h"

int Direct3DObjectExists() { return displayDevice.direct3D != nullptr; }
int Direct3DDeviceExists() { return displayDevice.device != nullptr; }

// Only the Direct3D device has a scene to end and a swap chain to show; in
// software mode the window is repainted by WM_PAINT.
void PresentAfterActivation() {}

// The display is made again: the device released, the input layer
// re-initialised and the display set up anew (which, in full screen,
// changes the display mode back after the desktop's returned on
// deactivation). The software screen and every graph survive it.
int RebuildDisplay() {
  if (!graphicsStarted) return 0;
  ReleaseDisplay();
  TerminateInput();
  InitializeInput();
  return SetUpDisplay();
}

// Composition is switched off only for a full-screen Direct3D device.
void RestoreDesktopComposition() {}

int CurrentDrawTarget() { return currentDrawTarget; }

void ReapplyFrontTargetArea() {
  if (currentDrawTarget != TARGET_FRONT) return;
  const DrawArea& area = drawState.area;
  SetDrawArea(area.left, area.top, area.right, area.bottom);
}
