#include <cstdlib>
#include <cstring>

#include "engine/platform/headless/HeadlessPresent.h"

namespace {

std::vector<port::DisplaySettings> DefaultModes() {
  std::vector<port::DisplaySettings> modes;
  const int sizes[3][2] = {{640, 480}, {800, 600}, {1024, 768}};
  for (const auto& size : sizes)
    for (uint32_t bits : {16u, 32u})
      modes.push_back({port::DEVMODE_SIZE,
                       port::DM_BITSPERPEL | port::DM_PELSWIDTH | port::DM_PELSHEIGHT |
                           port::DM_DISPLAYFREQUENCY,
                       bits, uint32_t(size[0]), uint32_t(size[1]), 60});
  return modes;
}

struct PresentScript {
  std::vector<port::DisplaySettings> modes = DefaultModes();
  bool changeSucceeds = true;
  std::vector<headless::DisplayChange> changes;
  headless::PresentedFrame frame;
  headless::FramePresentedHook hook = nullptr;
};

PresentScript& Script() {
  static PresentScript script;
  return script;
}

int KeepFrame(int srcWidth, int srcHeight, int destWidth, int destHeight, const void* bits,
              const port::BitmapInfo* info, int stretched) {
  if (bits == nullptr || info == nullptr || srcWidth <= 0 || srcHeight <= 0) return 0;
  headless::PresentedFrame& frame = Script().frame;
  frame.width = srcWidth;
  frame.height = srcHeight;
  frame.destWidth = destWidth;
  frame.destHeight = destHeight;
  frame.bitsPerPixel = info->biBitCount;
  std::memcpy(frame.masks, info->masks, sizeof frame.masks);
  frame.stretched = stretched;
  // The DIB's rows are padded to 4 bytes; the kept frame is packed.
  size_t rowBytes = size_t(srcWidth) * info->biBitCount / 8;
  size_t dibPitch = (size_t(std::abs(info->biWidth)) * info->biBitCount / 8 + 3) & ~size_t(3);
  frame.pixels.resize(rowBytes * size_t(srcHeight));
  const uint8_t* source = static_cast<const uint8_t*>(bits);
  for (int row = 0; row < srcHeight; ++row)
    std::memcpy(frame.pixels.data() + rowBytes * size_t(row), source + dibPitch * size_t(row),
                rowBytes);
  frame.count += 1;
  if (Script().hook) Script().hook(frame);
  return srcHeight;
}

}  // namespace

namespace headless {

const PresentedFrame& LastPresentedFrame() { return Script().frame; }
void SetDisplayModes(const std::vector<port::DisplaySettings>& modes) { Script().modes = modes; }
void SetDisplayChangeSucceeds(bool succeeds) { Script().changeSucceeds = succeeds; }
const std::vector<DisplayChange>& DisplayChanges() { return Script().changes; }
void SetFramePresentedHook(FramePresentedHook hook) { Script().hook = hook; }
void ResetPresentScript() { Script() = PresentScript(); }

}  // namespace headless

namespace port {

int EnumDisplaySettingsA(const char*, uint32_t modeNumber, DisplaySettings* mode) {
  const auto& modes = Script().modes;
  if (mode == nullptr || modeNumber >= modes.size()) return 0;
  *mode = modes[modeNumber];
  return 1;
}

long ChangeDisplaySettingsA(const DisplaySettings* mode, uint32_t flags) {
  headless::DisplayChange change{};
  change.restore = mode == nullptr;
  if (mode) change.mode = *mode;
  change.flags = flags;
  Script().changes.push_back(change);
  if (mode == nullptr || Script().changeSucceeds) return DISP_CHANGE_SUCCESSFUL;
  return DISP_CHANGE_FAILED;
}


int SetDIBitsToDevice(DeviceContext, int, int, uint32_t width, uint32_t height, int, int, uint32_t,
                      uint32_t, const void* bits, const BitmapInfo* info, unsigned) {
  return KeepFrame(int(width), int(height), int(width), int(height), bits, info, 0);
}

int StretchDIBits(DeviceContext, int, int, int destWidth, int destHeight, int, int, int srcWidth,
                  int srcHeight, const void* bits, const BitmapInfo* info, unsigned, uint32_t) {
  return KeepFrame(srcWidth, srcHeight, destWidth, destHeight, bits, info, 1);
}

}  // namespace port
