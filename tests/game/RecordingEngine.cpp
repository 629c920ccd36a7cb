#include "tests/game/RecordingEngine.h"

#include <algorithm>

RecordingEngine recording;

int engineStarted = 0;

namespace {

constexpr int SCREEN_WIDTH = 800, SCREEN_HEIGHT = 600;

int Clamp255(int value) { return std::min(255, std::max(0, value)); }

// The graph handle of cell i of the n-th sheet: kind 1, the sheet number as
// the check value.
Handle SheetHandle(int sheet, int cell) { return ((sheet | (1 << 11)) << 16) | cell; }

RecordingEngine::Graph* LiveGraph(Handle handle) {
  auto found = recording.graphs.find(handle);
  if (found == recording.graphs.end() || found->second.released) return nullptr;
  return &found->second;
}

}  // namespace

void RecordingEngine::Reset() { *this = RecordingEngine(); engineStarted = 0; }

void RecordingEngine::Hold(int key, int firstTurn, int lastTurn) {
  for (int t = firstTurn; t <= lastTurn; ++t) keysByTurn[t].insert(key);
}

void RecordingEngine::HoldNow(std::initializer_list<int> keys) { keysByTurn[turn] = keys; }

void RecordingEngine::BeginTurn() {
  ++turn;
  clock += millisecondsPerTurn;
  if (onTurn) onTurn(turn);
}

std::vector<RecordedCall> RecordingEngine::Named(const std::string& name) const {
  std::vector<RecordedCall> matching;
  for (const RecordedCall& call : calls)
    if (call.name == name) matching.push_back(call);
  return matching;
}

std::vector<std::string> RecordingEngine::Names(bool withClock) const {
  std::vector<std::string> names;
  for (const RecordedCall& call : calls)
    if (withClock || call.name != "NowMilliseconds") names.push_back(call.name);
  return names;
}

RecordedCall& RecordingEngine::Record(const std::string& name, std::vector<long long> args) {
  RecordedCall call;
  call.name = name;
  call.args = std::move(args);
  call.turn = turn;
  call.blendMode = blendMode;
  call.blendParameter = blendParameter;
  call.modulation = modulation;
  calls.push_back(std::move(call));
  return calls.back();
}

void RecordingEngine::WaitWhileInactive() {
  auto away = inactiveMillisecondsByTurn.find(turn);
  if (away == inactiveMillisecondsByTurn.end()) return;
  clock += away->second;
  inactiveMillisecondsByTurn.erase(away);
}

bool RecordingEngine::IsHeld(int key) const {
  auto held = keysByTurn.find(turn);
  return held != keysByTurn.end() && held->second.count(key) != 0;
}

// ---- Life cycle ----

int StartupEngine() {
  recording.Record("StartupEngine", {});
  if (engineStarted) return 0;
  if (recording.startupResult != 0) return -1;
  engineStarted = 1;
  recording.blendMode = BLEND_NONE;
  recording.blendParameter = 255;
  recording.modulation = 0xFFFFFF;
  return 0;
}

int ShutdownEngine() {
  recording.Record("ShutdownEngine", {});
  engineStarted = 0;
  return 0;
}

int PumpMessages() {
  recording.Record("PumpMessages", {});
  if (recording.endAtTurn >= 0 && recording.turn + 1 >= recording.endAtTurn) return -1;
  recording.BeginTurn();
  return 0;
}

// ---- Settings ----

int ChangeWindowMode(int windowed) {
  recording.Record("ChangeWindowMode", {windowed});
  return 0;
}

int SelectScreenMode(int width, int height, int colorBits, int refreshRate) {
  recording.Record("SelectScreenMode", {width, height, colorBits, refreshRate});
  return 0;
}

int SetMainWindowCaption(const char* text) {
  recording.Record("SetMainWindowCaption", {}).text = text;
  return 0;
}

int EnableLogFile(int enable) {
  recording.Record("EnableLogFile", {enable});
  return 0;
}

int SetArchiveKey(const char* keyText) {
  recording.Record("SetArchiveKey", {keyText != nullptr}).text = keyText ? keyText : "";
  return 0;
}

// ---- Targets and presentation ----

int SelectDrawTarget(int target) {
  recording.Record("SelectDrawTarget", {target});
  if (!engineStarted) return -1;
  recording.WaitWhileInactive();
  return 0;
}

int ClearDrawTarget(const Rect* area) {
  if (area != nullptr)
    recording.Record("ClearDrawTarget", {1, area->left, area->top, area->right, area->bottom});
  else
    recording.Record("ClearDrawTarget", {0});
  return recording.turn == recording.failClearInTurn ? -1 : 0;
}

int PresentFrame() {
  recording.Record("PresentFrame", {});
  if (!engineStarted) return -1;
  return recording.turn == recording.failPresentInTurn ? -1 : 0;
}

int ReadPixel(int x, int y) {
  recording.Record("ReadPixel", {x, y});
  if (recording.pixelAnswers.empty()) return recording.pixelWhenUnscripted;
  const int answer = recording.pixelAnswers.front();
  recording.pixelAnswers.pop_front();
  return answer;
}

// ---- Graphs ----

int SetColorKey(int red, int green, int blue) {
  recording.Record("SetColorKey", {red, green, blue});
  return 0;
}

int LoadGraphSheet(const char* fileName, int cellCount, int columns, int rows, int cellWidth,
                   int cellHeight, Handle* handles, int notUsed) {
  recording.Record("LoadGraphSheet", {cellCount, columns, rows, cellWidth, cellHeight, notUsed})
      .text = fileName;
  recording.WaitWhileInactive();
  const int sheet = recording.sheetsLoaded++;
  if (recording.unreadableFiles.count(fileName) != 0) return -1;
  for (int i = 0; i < cellCount; ++i) {
    handles[i] = SheetHandle(sheet, i);
    recording.graphs[handles[i]] = RecordingEngine::Graph{cellWidth, cellHeight, false};
  }
  return 0;
}

int QueryGraphSize(Handle graph, int* width, int* height) {
  recording.Record("QueryGraphSize", {graph});
  if (graph == TARGET_BACK || graph == TARGET_FRONT) {
    if (width) *width = SCREEN_WIDTH;
    if (height) *height = SCREEN_HEIGHT;
    return 0;
  }
  const RecordingEngine::Graph* found = LiveGraph(graph);
  if (found == nullptr) return -1;
  if (width) *width = found->width;
  if (height) *height = found->height;
  return 0;
}

int ReleaseGraph(Handle graph, int flag) {
  recording.Record("ReleaseGraph", {graph, flag});
  RecordingEngine::Graph* found = LiveGraph(graph);
  if (found == nullptr) return -1;
  found->released = true;
  return 0;
}

// ---- Drawing ----

int PutGraph(int x, int y, Handle graph, int transparent) {
  recording.Record("PutGraph", {x, y, graph, transparent});
  if (!engineStarted) return -1;
  recording.WaitWhileInactive();
  return LiveGraph(graph) != nullptr ? 0 : -1;
}

int PaintBox(int x1, int y1, int x2, int y2, uint32_t color, int filled) {
  recording.Record("PaintBox", {x1, y1, x2, y2, color, filled});
  recording.WaitWhileInactive();
  return 0;
}

int ChooseBlendMode(int mode, int parameter) {
  recording.Record("ChooseBlendMode", {mode, parameter});
  parameter = Clamp255(parameter);
  if (mode != recording.blendMode || parameter != recording.blendParameter)
    recording.WaitWhileInactive();
  recording.blendMode = mode;
  recording.blendParameter = parameter;
  return 0;
}

int SetModulateColor(int red, int green, int blue) {
  recording.Record("SetModulateColor", {red, green, blue});
  recording.modulation = Clamp255(red) << 16 | Clamp255(green) << 8 | Clamp255(blue);
  return 0;
}

// ---- Input and time ----

int ReadKeyboard(uint8_t keys[256]) {
  recording.Record("ReadKeyboard", {});
  recording.WaitWhileInactive();
  for (int key = 0; key < 256; ++key) keys[key] = recording.IsHeld(key) ? 1 : 0;
  return 0;
}

int IsKeyDown(int key) {
  recording.Record("IsKeyDown", {key});
  recording.WaitWhileInactive();
  return key >= 0 && key < 256 && recording.IsHeld(key) ? 1 : 0;
}

int NowMilliseconds(int unused) {
  recording.Record("NowMilliseconds", {unused});
  return recording.clock & 0x7FFFFFFF;
}

// ---- The question box ----

namespace port {

int MessageBoxA(WindowHandle owner, const char* text, const char* caption, unsigned style) {
  RecordedCall& call = recording.Record("MessageBoxA", {owner != nullptr, style});
  call.text = text;
  call.caption = caption;
  return recording.messageBoxAnswer;
}

}  // namespace port
