// blend_modes: every blend mode side by side, a visual reference of what
// each does. Each column draws the same graph in one mode (ChooseBlendMode)
// over the same background of black, white, grey and blue bars; each row
// uses one value of the mode's parameter, and the last row sweeps it from
// 0 to 255 and back, once every four seconds. The engine draws the same
// modes with Direct3D (Windows) and with its software renderer (Linux, or
// Windows without Direct3D 9): run it on both to compare. Esc ends it.
//
// Its pictures, ball.bmp and font.bmp, are drawn at build time and read
// from the working directory: start the program in its build folder.
#include <cstdio>

#include <vexlo/Engine.h>

#include "Text.h"

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;
constexpr int KEY_ESCAPE = 1;

struct Mode {
  int mode;
  const char* name;
};
constexpr Mode MODES[] = {{BLEND_NONE, "NONE"},
                          {BLEND_ALPHA, "ALPHA"},
                          {BLEND_ADD, "ADD"},
                          {BLEND_SUB, "SUB"},
                          {BLEND_MUL, "MUL"}};
constexpr int MODE_COUNT = sizeof MODES / sizeof MODES[0];
constexpr int PARAMETERS[] = {0, 85, 170, 255};
constexpr int ROWS = sizeof PARAMETERS / sizeof PARAMETERS[0] + 1;  // and the sweep
constexpr int SWEEP_MILLISECONDS = 4000;

// The grid: a label column, then one column per mode, under a header row.
constexpr int LABEL_WIDTH = 80, CELL_WIDTH = 112, CELL_HEIGHT = 80, GRID_TOP = 56;
constexpr int BALL_SIZE = 64;

// The background of a cell: four bars that show what a mode does to dark,
// light, middle and coloured pixels.
constexpr uint32_t BARS[] = {0x000000, 0xFFFFFF, 0x808080, 0x2850C8};

void DrawCellBackground(int left, int top) {
  const int bar = CELL_WIDTH / 4;
  for (int i = 0; i < 4; ++i)
    PaintBox(left + i * bar, top, left + (i + 1) * bar, top + CELL_HEIGHT - 4, BARS[i], 1);
}

// 0 ... 255 ... 0 over one sweep period.
int SweepParameter(int elapsed) {
  const int phase = elapsed % SWEEP_MILLISECONDS;
  const int half = SWEEP_MILLISECONDS / 2;
  return (phase < half ? phase : SWEEP_MILLISECONDS - phase) * 255 / half;
}

void DrawLabels(const Text& text, int sweep) {
  text.Draw(8, 8, "BLEND MODES", 255, 230, 120);
  for (int column = 0; column < MODE_COUNT; ++column)
    text.Draw(LABEL_WIDTH + column * CELL_WIDTH + 8, GRID_TOP - 20, MODES[column].name);
  char label[16];
  for (int row = 0; row < ROWS - 1; ++row) {
    std::snprintf(label, sizeof label, "P %d", PARAMETERS[row]);
    text.Draw(8, GRID_TOP + row * CELL_HEIGHT + CELL_HEIGHT / 2 - 10, label);
  }
  const int sweepTop = GRID_TOP + (ROWS - 1) * CELL_HEIGHT;
  std::snprintf(label, sizeof label, "P %d", sweep);
  text.Draw(8, sweepTop + CELL_HEIGHT / 2 - 20, "SWEEP", 170, 220, 255);
  text.Draw(8, sweepTop + CELL_HEIGHT / 2, label, 170, 220, 255);
}

void DrawGrid(Handle ball, int sweep) {
  for (int row = 0; row < ROWS; ++row) {
    const int parameter = row < ROWS - 1 ? PARAMETERS[row] : sweep;
    for (int column = 0; column < MODE_COUNT; ++column) {
      const int left = LABEL_WIDTH + column * CELL_WIDTH, top = GRID_TOP + row * CELL_HEIGHT;
      DrawCellBackground(left, top);
      ChooseBlendMode(MODES[column].mode, parameter);
      PutGraph(left + (CELL_WIDTH - BALL_SIZE) / 2, top + (CELL_HEIGHT - 4 - BALL_SIZE) / 2, ball, 1);
      ChooseBlendMode(BLEND_NONE, 0);
    }
  }
}

}  // namespace

int main() {
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60);
  SetMainWindowCaption("Vexlo example: blend modes");
  EnableLogFile(0);
  if (StartupEngine() != 0) return 1;
  SelectDrawTarget(TARGET_BACK);

  Handle ball = -1;
  Text text;
  if (LoadGraphSheet("ball.bmp", 1, 1, 1, BALL_SIZE, BALL_SIZE, &ball, 0) != 0 ||
      text.Load("font.bmp") != 0) {
    ShutdownEngine();
    return 1;
  }

  const int start = NowMilliseconds(0);
  while (PumpMessages() == 0 && !IsKeyDown(KEY_ESCAPE)) {
    const int sweep = SweepParameter(NowMilliseconds(0) - start);
    ClearDrawTarget(nullptr);
    PaintBox(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x202428, 1);
    DrawGrid(ball, sweep);
    DrawLabels(text, sweep);
    if (PresentFrame() != 0) break;
  }

  text.Release();
  ReleaseGraph(ball, 0);
  ShutdownEngine();
  return 0;
}
