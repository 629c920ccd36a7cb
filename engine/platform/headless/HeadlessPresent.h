// Script and record of the headless presentation port: the display's mode
// list, whether mode changes succeed, and the last frame transferred to the
// window (kept so that tests and the demo renderer can read it).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/platform/PresentPort.h"

namespace headless {

struct PresentedFrame {
  int width = 0, height = 0;      // source size in pixels
  int destWidth = 0, destHeight = 0;
  int bitsPerPixel = 0;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  int stretched = 0;              // 1 when StretchDIBits carried it
  std::vector<uint8_t> pixels;    // top row first, width * bytes per pixel per row
  int count = 0;                  // frames transferred so far
};

// The frame of the last SetDIBitsToDevice or StretchDIBits.
const PresentedFrame& LastPresentedFrame();

// Called after every frame transferred (null: none). The demo renderer
// drives its key script and takes its pictures from here.
using FramePresentedHook = void (*)(const PresentedFrame& frame);
void SetFramePresentedHook(FramePresentedHook hook);

// The display's modes, in enumeration order. The default list holds 640 x
// 480, 800 x 600 and 1024 x 768 at 16 and 32 bits, 60 Hz.
void SetDisplayModes(const std::vector<port::DisplaySettings>& modes);
// Whether ChangeDisplaySettingsA with a mode succeeds (default yes).
void SetDisplayChangeSucceeds(bool succeeds);
// The modes passed to ChangeDisplaySettingsA so far (a null mode is
// recorded with all fields 0), and their flags.
struct DisplayChange {
  port::DisplaySettings mode;
  bool restore;  // null mode: the desktop's mode back
  uint32_t flags;
};
const std::vector<DisplayChange>& DisplayChanges();

// Back to the defaults; forgets the frame and the recorded changes.
void ResetPresentScript();

}  // namespace headless
