// input: everything the program can read from the player, shown on
// screen: the keys held (ReadKeyboard), the pads found with their axes,
// hat and buttons (QueryPadCount, ReadPad), and the mouse position
// (QueryMousePosition), marked by a cross. Pressing a pad's first button
// makes that pad vibrate for a moment (StartPadVibration), where the pad
// has force feedback and the system reaches it (DirectInput on Windows).
// Esc ends the program.
//
// Its font, font.bmp, is drawn at build time and read from the working
// directory: start the program in its build folder.
#include <cstdio>
#include <cstring>

#include <vexlo/Engine.h>

#include "Text.h"

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;
constexpr int KEY_ESCAPE = 1;
constexpr int PADS_SHOWN = 2;
constexpr int VIBRATION_POWER = 10000, VIBRATION_MILLISECONDS = 300;

// Names of the keys most programs use, by DirectInput key number; the
// others are shown by number.
struct KeyName {
  int key;
  const char* name;
};
constexpr KeyName KEY_NAMES[] = {
    {1, "ESC"},    {28, "RETURN"}, {57, "SPACE"}, {42, "LSHIFT"}, {54, "RSHIFT"},
    {29, "LCTRL"}, {15, "TAB"},    {14, "BACK"},  {200, "UP"},    {203, "LEFT"},
    {205, "RIGHT"}, {208, "DOWN"},  {16, "Q"},     {17, "W"},     {18, "E"},
    {19, "R"},     {20, "T"},      {21, "Y"},     {22, "U"},      {23, "I"},
    {24, "O"},     {25, "P"},      {30, "A"},     {31, "S"},      {32, "D"},
    {33, "F"},     {34, "G"},      {35, "H"},     {36, "J"},      {37, "K"},
    {38, "L"},     {44, "Z"},      {45, "X"},     {46, "C"},      {47, "V"},
    {48, "B"},     {49, "N"},      {50, "M"},     {11, "0"},      {2, "1"},
    {3, "2"},      {4, "3"},       {5, "4"},      {6, "5"},       {7, "6"},
    {8, "7"},      {9, "8"},       {10, "9"},
};

void NameKey(int key, char* name, size_t size) {
  for (const KeyName& known : KEY_NAMES)
    if (known.key == key) {
      std::snprintf(name, size, "%s", known.name);
      return;
    }
  std::snprintf(name, size, "#%d", key);
}

void DrawKeys(const Text& text, const uint8_t* keys) {
  text.Draw(16, 40, "KEYS HELD:", 255, 230, 120);
  int x = 148, y = 40;
  for (int key = 0; key < 256; ++key) {
    if (!keys[key]) continue;
    char name[16];
    NameKey(key, name, sizeof name);
    const int width = int(std::strlen(name) + 1) * Text::CHAR_WIDTH;
    if (x + width > SCREEN_WIDTH - 16) {
      x = 148;
      y += Text::LINE_HEIGHT + 2;
      if (y > 80) break;
    }
    text.Draw(x, y, name);
    x += width;
  }
}

// An axis as a bar from its centre: right of it for positive values.
void DrawAxis(const Text& text, int x, int y, const char* label, int value) {
  constexpr int HALF = 60;
  text.Draw(x, y, label, 200, 200, 200);
  const int centre = x + 40 + HALF;
  PaintBox(centre - HALF, y + 4, centre + HALF, y + 12, 0x303840, 1);
  const int end = centre + value * HALF / PAD_AXIS_LIMIT;
  PaintBox(centre, y + 4, end == centre ? centre + 1 : end, y + 12, 0x50B4FF, 1);
  PaintBox(centre, y + 2, centre + 1, y + 14, 0xFFFFFF, 1);
}

// A stick's square with its position as a dot.
void DrawStick(int x, int y, int stickX, int stickY) {
  constexpr int SIZE = 64;
  PaintBox(x, y, x + SIZE, y + SIZE, 0x303840, 1);
  PaintBox(x, y, x + SIZE, y + SIZE, 0x8090A0, 0);
  const int dotX = x + SIZE / 2 + stickX * (SIZE / 2 - 4) / PAD_AXIS_LIMIT;
  const int dotY = y + SIZE / 2 + stickY * (SIZE / 2 - 4) / PAD_AXIS_LIMIT;
  PaintBox(dotX - 3, dotY - 3, dotX + 4, dotY + 4, 0xFFD040, 1);
}

void DrawButtons(int x, int y, const PadState& state) {
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
    const int left = x + (i % 16) * 18, top = y + (i / 16) * 18;
    PaintBox(left, top, left + 14, top + 14, state.buttons[i] ? 0x60E070 : 0x303840, 1);
  }
}

struct PadView {
  bool firstButtonWas = false;
  int vibratingUntil = 0;  // NowMilliseconds() when the vibration ends
  bool canVibrate = true;
};

void DrawPad(const Text& text, int number, const PadState& state, const PadView& view, int top) {
  char line[48];
  std::snprintf(line, sizeof line, "PAD %d", number);
  text.Draw(16, top, line, 255, 230, 120);
  if (state.pov < 0)
    std::snprintf(line, sizeof line, "HAT CENTRED");
  else
    std::snprintf(line, sizeof line, "HAT %d.%02d", state.pov / 100, state.pov % 100);
  text.Draw(100, top, line);
  const char* vibration = !view.canVibrate                       ? "NO VIBRATION"
                          : NowMilliseconds(0) < view.vibratingUntil ? "VIBRATING"
                                                                      : "BUTTON 1: VIBRATE";
  text.Draw(300, top, vibration, 200, 200, 200);
  const char* labels[] = {"X", "Y", "Z", "RX", "RY", "RZ"};
  const int values[] = {state.x, state.y, state.z, state.rx, state.ry, state.rz};
  for (int i = 0; i < 6; ++i)
    DrawAxis(text, 16 + (i / 3) * 170, top + 22 + (i % 3) * 18, labels[i], values[i]);
  DrawStick(360, top + 22, state.x, state.y);
  DrawStick(440, top + 22, state.rx, state.ry);
  DrawButtons(16, top + 80, state);
}

// The first button's press (not its hold) starts a vibration.
void VibrateOnFirstButton(int number, const PadState& state, PadView& view) {
  const bool pressed = state.buttons[0] != 0;
  if (pressed && !view.firstButtonWas) {
    view.canVibrate = StartPadVibration(number, VIBRATION_POWER, VIBRATION_MILLISECONDS) == 0;
    if (view.canVibrate) view.vibratingUntil = NowMilliseconds(0) + VIBRATION_MILLISECONDS;
  }
  view.firstButtonWas = pressed;
}

void DrawPads(const Text& text, PadView* views) {
  char line[32];
  const int count = QueryPadCount();
  std::snprintf(line, sizeof line, "PADS FOUND: %d", count < 0 ? 0 : count);
  text.Draw(16, 96, line, 255, 230, 120);
  for (int number = 1; number <= count && number <= PADS_SHOWN; ++number) {
    PadState state;
    if (ReadPad(number, &state) != 0) continue;
    VibrateOnFirstButton(number, state, views[number - 1]);
    DrawPad(text, number, state, views[number - 1], 120 + (number - 1) * 130);
  }
}

void DrawMouse(const Text& text) {
  int x = 0, y = 0;
  QueryMousePosition(&x, &y);
  char line[32];
  std::snprintf(line, sizeof line, "MOUSE %d, %d", x, y);
  text.Draw(16, SCREEN_HEIGHT - 28, line, 255, 230, 120);
  PaintBox(x - 10, y, x + 11, y + 1, 0xFF5050, 1);
  PaintBox(x, y - 10, x + 1, y + 11, 0xFF5050, 1);
}

}  // namespace

int main() {
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60);
  SetMainWindowCaption("Vexlo example: input");
  EnableLogFile(0);
  if (StartupEngine() != 0) return 1;
  SelectDrawTarget(TARGET_BACK);

  Text text;
  if (text.Load("font.bmp") != 0) {
    ShutdownEngine();
    return 1;
  }

  PadView views[PADS_SHOWN];
  uint8_t keys[256];
  while (PumpMessages() == 0 && ReadKeyboard(keys) == 0 && !keys[KEY_ESCAPE]) {
    ClearDrawTarget(nullptr);
    PaintBox(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x1E1E28, 1);
    text.Draw(16, 12, "INPUT");
    DrawKeys(text, keys);
    DrawPads(text, views);
    DrawMouse(text);
    if (PresentFrame() != 0) break;
  }

  text.Release();
  ShutdownEngine();
  return 0;
}
