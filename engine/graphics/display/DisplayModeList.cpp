#include <cstdint>

#include "engine/graphics/display/Screen.h"
#include "engine/platform/PresentPort.h"
#include "engine/services/Memory.h"

namespace {

DisplayMode* modes = nullptr;
int modeCount = -1;  // -1: not built yet

void BuildModeList() {
  if (modeCount >= 0) return;
  modeCount = 0;
  int capacity = 0;
  port::DisplaySettings settings{};
  settings.dmSize = port::DEVMODE_SIZE;
  for (uint32_t index = 0; port::EnumDisplaySettingsA(nullptr, index, &settings); ++index) {
    if (settings.dmBitsPerPel < 16) continue;
    if (modeCount == capacity) {
      int grown = capacity == 0 ? 32 : capacity * 2;
      void* block = MemRealloc(modes, sizeof(DisplayMode) * size_t(grown), "", 0);
      if (block == nullptr) break;
      modes = static_cast<DisplayMode*>(block);
      capacity = grown;
    }
    modes[modeCount++] = {int(settings.dmPelsWidth), int(settings.dmPelsHeight),
                          int(settings.dmBitsPerPel), int(settings.dmDisplayFrequency)};
  }
}

}  // namespace

int DisplayModeCount() {
  BuildModeList();
  return modeCount;
}

DisplayMode GetDisplayMode(int index) {
  BuildModeList();
  if (index < 0 || index >= modeCount) return {-1, -1, -1, -1};
  return modes[index];
}

int DisplayModeExists(int width, int height, int bits) {
  BuildModeList();
  for (int i = 0; i < modeCount; ++i)
    if (modes[i].width == width && modes[i].height == height && modes[i].bits == bits) return 1;
  return 0;
}

int DisplayModeSizeExists(int width, int height) {
  BuildModeList();
  for (int i = 0; i < modeCount; ++i)
    if (modes[i].width == width && modes[i].height == height) return 1;
  return 0;
}

void ReleaseDisplayModeList() {
  MemFree(modes);
  modes = nullptr;
  modeCount = -1;
}
