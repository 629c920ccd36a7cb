#include "engine/graphics/display/WindowHooks.h"

#include "engine/core/MainWindow.h"
#include "engine/graphics/display/DisplaySetUp.h"
#include "engine/graphics/display/DrawTarget.h"
#include "engine/graphics/display/Presentation.h"
#include "engine/graphics/graphs/GraphRestore.h"
#include "engine/graphics/hardware/DeviceRenderTarget.h"
#include "engine/graphics/hardware/GraphTextures.h"
#include "engine/graphics/hardware/HardwareDevice.h"
#include "engine/graphics/hardware/HardwareScene.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphicsMode.h"
#include "engine/input/Input.h"
#include "engine/services/Log.h"

DeviceRestoredCallback deviceRestoredCallback = nullptr;

int Direct3DObjectExists() { return displayDevice.direct3D != nullptr; }
int Direct3DDeviceExists() { return displayDevice.device != nullptr; }

namespace {

// The graphs' pixels after their textures were made again: the registered
// restore routine (the files by default), then the program's callback.
void RestoreGraphContents() {
  if (graphRestoreRoutine != nullptr)
    graphRestoreRoutine();
  else
    RestoreGraphsFromFiles();
  if (deviceRestoredCallback != nullptr) deviceRestoredCallback();
}

// Makes the graphs' textures on the device in force. A set that cannot be
// made (video memory short, a smaller largest texture) stays without
// textures and is logged; the rebuild goes on for everything else, and the
// set is tried again at the next activation or rebuild.
void RecreateTexturesOrLogMissing() {
  if (RecreateGraphTextures() != 0)
    WriteLog("作成できなかったテクスチャは次のアクティブ化で作り直します\n");
}

// The new device gets what the old one had: the graphs' textures, the draw
// target, the render states, two cleared frames and the graphs' pixels.
int RestoreDeviceContents() {
  RecreateTexturesOrLogMissing();
  int target = currentDrawTarget;
  if (target != 0) {
    // The stored size is kept: only the device's target is set again.
    if (IsScreenTarget(target))
      SetDeviceRenderTarget(nullptr);
    else
      SelectDrawTarget(target);
  }
  ResendCachedStates();
  for (int i = 0; i < 2; ++i) {
    ClearDrawTarget(nullptr);
    PresentScreen(nullptr, 0);
  }
  RestoreGraphContents();
  return 0;
}

// An activation on a working device completes what the last rebuild could
// not make, then fills the graphs again.
void CompleteMissingTextures() {
  if (!GraphTexturesMissing()) return;
  RecreateTexturesOrLogMissing();
  RestoreGraphContents();
}

}  // namespace

// Only the Direct3D device has a scene to end and a swap chain to show; in
// software mode the window is repainted by WM_PAINT. A device that cannot
// present was lost while the window was away: it is made again.
void PresentAfterActivation() {
  if (displayDevice.device == nullptr) {
    // A hardware run whose last rebuild failed tries again.
    if (hardwareMode && graphicsStarted) RebuildDisplay();
    return;
  }
  FlushBatch();
  EndSceneIfOpen();
  if (port::IDirect3DDevice9_Present(displayDevice.device, nullptr, nullptr, nullptr, nullptr) < 0)
    RebuildDisplay();
  else
    CompleteMissingTextures();
}

// The display is made again: the graphs' textures and the device released,
// the input layer re-initialised and the display set up anew (which, in full
// screen, changes the display mode back after the desktop's returned on
// deactivation). Every graph survives it. The mode chosen at start-up is
// kept: a software run stays in software mode (its graphs are MEMIMGs), and
// a hardware run whose device cannot be made again does not turn into
// software mode (its graphs are textures); it stays without a device, so
// PresentFrame fails, and the next activation tries again.
int RebuildDisplay() {
  if (!graphicsStarted) return 0;
  int wasHardware = hardwareMode;
  if (wasHardware) ReleaseGraphTextures();
  ReleaseDisplay();
  TerminateInput();
  InitializeInput();
  int result = SetUpDisplay(wasHardware);
  if (!wasHardware) return result;
  if (result != 0 || !hardwareMode) {
    hardwareMode = 1;
    return -1;
  }
  return RestoreDeviceContents();
}

void RestoreDesktopComposition() {
  if (displayDevice.compositionDisabled) SwitchDesktopComposition(1);
}

int CurrentDrawTarget() { return currentDrawTarget; }

void ReapplyFrontTargetArea() {
  if (currentDrawTarget != TARGET_FRONT) return;
  const DrawArea& area = drawState.area;
  SetDrawArea(area.left, area.top, area.right, area.bottom);
}
