#include "tools/headless_run/HeadlessRun.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/MainWindow.h"
#include "engine/input/VirtualKeyMap.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessInput.h"
#include "engine/platform/headless/HeadlessPresent.h"
#include "engine/platform/headless/HeadlessWindow.h"
#include "tools/demo/FramePng.h"

namespace {

// One refresh of a 60 Hz display: every wait for it moves the virtual
// clock on by this much.
constexpr uint64_t REFRESH_MICROSECONDS = 16667;

struct RunState {
  HeadlessRunOptions options;
  bool mouseWanted = false;
  port::Point mouse{0, 0};
  int framesShown = 0;
  bool kept = false;
  bool failed = false;
};

RunState& State() {
  static RunState state;
  return state;
}

const char* Setting(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// The numbers of a list such as "203,44", in bases 10 or 16 (0x...).
std::vector<long> Numbers(const std::string& text) {
  std::vector<long> numbers;
  const char* at = text.c_str();
  while (*at != '\0') {
    char* end = nullptr;
    numbers.push_back(std::strtol(at, &end, 0));
    if (end == at) break;
    at = *end == ',' ? end + 1 : end;
  }
  return numbers;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

// Holds a key given by its DirectInput number through the system key
// state, where the engine reads it: every virtual key that maps to it.
void HoldKey(long keyNumber) {
  for (const VirtualKeyRow* row = VirtualKeyMap; row->virtualKey != VIRTUAL_KEY_MAP_END; ++row)
    if (row->keyNumber == keyNumber) headless::PressVirtualKey(row->virtualKey, true);
}

headless::ScriptedPad PadFrom(const std::string& text) {
  std::vector<long> v = Numbers(text);
  v.resize(8, 0);
  headless::ScriptedPad pad;
  pad.state.lX = int32_t(v[0]);
  pad.state.lY = int32_t(v[1]);
  pad.state.lZ = int32_t(v[2]);
  pad.state.lRx = int32_t(v[3]);
  pad.state.lRy = int32_t(v[4]);
  pad.state.lRz = int32_t(v[5]);
  pad.state.rgdwPOV[0] = v[6] < 0 ? 0xFFFFFFFFu : uint32_t(v[6]);
  for (int i = 0; i < 32; ++i)
    pad.state.rgbButtons[i] = (uint32_t(v[7]) >> i) & 1 ? 0x80 : 0x00;
  return pad;
}

// The pads are DirectInput 8 game controllers with force feedback, so
// that vibration can be started on them too.
void OfferPads(const std::string& text) {
  headless::DirectInputScript script;
  script.version8 = true;
  for (const std::string& pad : Split(text, '/')) script.pads.push_back(PadFrom(pad));
  headless::ScriptDirectInput(script);
}

void Fail(const std::string& message) {
  std::fprintf(stderr, "headless run: %s\n", message.c_str());
  State().failed = true;
}

void Keep(const RgbFrame& frame) {
  const HeadlessRunOptions& options = State().options;
  State().kept = true;
  if (options.output != nullptr) {
    if (WritePng(options.output, frame))
      std::printf("frame %d written to %s\n", options.frame, options.output);
    else
      Fail(std::string("cannot write ") + options.output);
  }
  if (options.golden == nullptr) return;
  if (options.update) {
    if (!WritePng(options.golden, frame)) return Fail(std::string("cannot write ") + options.golden);
    std::printf("frame %d written to %s\n", options.frame, options.golden);
    return;
  }
  RgbFrame golden;
  if (!ReadPng(options.golden, &golden)) return Fail(std::string("cannot read ") + options.golden);
  if (golden.width != frame.width || golden.height != frame.height)
    return Fail(std::string(options.golden) + " is " + std::to_string(golden.width) + " x " +
                std::to_string(golden.height) + ", the frame " + std::to_string(frame.width) +
                " x " + std::to_string(frame.height));
  size_t differing = 0;
  for (size_t i = 0; i < golden.rgb.size(); i += 3)
    if (std::memcmp(&golden.rgb[i], &frame.rgb[i], 3) != 0) ++differing;
  std::printf("frame %d: %zu pixels differ from %s\n", options.frame, differing, options.golden);
  if (differing != 0) Fail("the frame differs from the golden one");
}

void OnFramePresented(const headless::PresentedFrame& frame) {
  RunState& state = State();
  state.framesShown += 1;
  if (state.mouseWanted) {
    const headless::WindowView window = headless::InspectWindow(mainWindow);
    headless::Window().cursorPosition = {window.client.left + state.mouse.x,
                                         window.client.top + state.mouse.y};
  }
  if (state.framesShown != state.options.frame) return;
  Keep(ToRgb(frame));
  headless::ClickCloseBox(mainWindow);
}

// After main() returned: a frame that was asked for and never shown, or
// that differed, fails the run whatever the program returned.
void Finish() {
  RunState& state = State();
  const bool wanted = state.options.output != nullptr || state.options.golden != nullptr;
  if (wanted && !state.kept)
    Fail("the program ended after " + std::to_string(state.framesShown) + " frames, before frame " +
         std::to_string(state.options.frame));
  if (!state.failed) return;
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(1);
}

void SetUpRun() {
  RunState& state = State();
  state.options.update = Setting("VEXLO_HEADLESS_UPDATE") != nullptr &&
                         std::strcmp(Setting("VEXLO_HEADLESS_UPDATE"), "0") != 0;
  if (const char* frame = Setting("VEXLO_HEADLESS_FRAME")) state.options.frame = std::atoi(frame);
  if (state.options.frame < 1) state.options.frame = 1;
  state.options.output = Setting("VEXLO_HEADLESS_OUTPUT");
  state.options.golden = Setting("VEXLO_HEADLESS_GOLDEN");
  if (const char* keys = Setting("VEXLO_HEADLESS_KEYS"))
    for (long key : Numbers(keys)) HoldKey(key);
  if (const char* mouse = Setting("VEXLO_HEADLESS_MOUSE")) {
    std::vector<long> at = Numbers(mouse);
    at.resize(2, 0);
    state.mouseWanted = true;
    state.mouse = {int(at[0]), int(at[1])};
  }
  if (const char* pads = Setting("VEXLO_HEADLESS_PADS")) OfferPads(pads);

  headless::DirectDrawScript display;
  display.refreshPeriodMicroseconds = REFRESH_MICROSECONDS;
  headless::ScriptDirectDraw(display);
  headless::SetFramePresentedHook(OnFramePresented);
  std::atexit(Finish);
}

// Before main(). The headless scripts used here are constant-initialised or
// made on first use, so no static of the platform undoes this set-up.
struct RunSetUp {
  RunSetUp() { SetUpRun(); }
} runSetUp;

}  // namespace

const HeadlessRunOptions& HeadlessRun() { return State().options; }
