// vexlo_demo: plays a scripted game of ほのみかさ on the headless platform and
// writes chosen frames as PNG.
//
//   vexlo_demo OUTDIR           writes the frames into OUTDIR
//   vexlo_demo --check GOLDEN   renders the frames and compares each, pixel
//                               for pixel, with the PNG of the same name in
//                               GOLDEN; exits 1 on any difference
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "game/WinMain.h"
#include "tools/demo/DemoScript.h"
#include "tools/demo/FramePng.h"

namespace {

// The frame the headless window received.
class TransferredPicture : public PresentedPicture {
 public:
  explicit TransferredPicture(const headless::PresentedFrame& frame) : frame_(frame) {}
  RgbFrame Capture() const override { return ToRgb(frame_); }

 private:
  const headless::PresentedFrame& frame_;
};

void OnFramePresented(const headless::PresentedFrame& frame) {
  DemoFramePresented(TransferredPicture(frame));
}

int Usage() {
  std::fprintf(stderr, "usage: vexlo_demo OUTDIR | vexlo_demo --check GOLDENDIR\n");
  return 2;
}

bool PlayDemo() {
  headless::Window().messageBoxAnswer = port::IDNO;  // windowed
  headless::DirectDrawScript display;
  display.refreshPeriodMicroseconds = DEMO_REFRESH_MICROSECONDS;
  headless::ScriptDirectDraw(display);
  StartDemoScript(DEMO_SEED);
  headless::SetFramePresentedHook(OnFramePresented);
  const int result = WinMain(nullptr, nullptr, nullptr, 0);
  std::string error;
  if (result != 0) {
    std::fprintf(stderr, "vexlo_demo: the game ended with %d\n", result);
    return false;
  }
  if (!DemoScriptFinished(&error)) {
    std::fprintf(stderr, "vexlo_demo: %s\n", error.c_str());
    return false;
  }
  return true;
}

int WriteShots(const std::string& directory) {
  for (const DemoShot& shot : DemoShots()) {
    const std::string path = directory + "/" + shot.name;
    if (!WritePng(path, shot.frame)) {
      std::fprintf(stderr, "vexlo_demo: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}

int CheckShots(const std::string& directory) {
  int failures = 0;
  for (const DemoShot& shot : DemoShots()) {
    const std::string path = directory + "/" + shot.name;
    RgbFrame golden;
    if (!ReadPng(path, &golden)) {
      std::fprintf(stderr, "%s: cannot read the golden frame\n", path.c_str());
      ++failures;
      continue;
    }
    if (golden.width != shot.frame.width || golden.height != shot.frame.height) {
      std::fprintf(stderr, "%s: %d x %d, rendered %d x %d\n", path.c_str(), golden.width,
                   golden.height, shot.frame.width, shot.frame.height);
      ++failures;
      continue;
    }
    size_t differing = 0;
    for (size_t i = 0; i < golden.rgb.size(); i += 3)
      if (std::memcmp(&golden.rgb[i], &shot.frame.rgb[i], 3) != 0) ++differing;
    std::printf("%s: %zu pixels differ\n", shot.name.c_str(), differing);
    if (differing != 0) ++failures;
  }
  std::printf("%zu passed, %d failed\n", DemoShots().size() - size_t(failures), failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') {
    if (!PlayDemo()) return 1;
    return WriteShots(argv[1]);
  }
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) {
    if (!PlayDemo()) return 1;
    return CheckShots(argv[2]);
  }
  return Usage();
}
