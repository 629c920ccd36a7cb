// sprite: one character walks over a field with the arrow keys, its cells
// stepping through a walk cycle while it moves; Esc or the close box ends
// the program. It shows the frame loop every Vexlo program has (pump,
// clear, draw, present), a sheet cut into cells by LoadGraphSheet, the
// keyboard read with IsKeyDown, and frames paced by PresentFrame: the
// character moves a fixed number of pixels per frame and PresentFrame
// waits for the display's refresh, so it walks at the same speed on every
// machine with a 60 Hz display.
//
// Its sheet, sprite.bmp, is drawn at build time by make_sheet.cpp and
// read from the working directory: start the program in its build folder.
#include <vexlo/Engine.h>

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;

// The sheet: one row per direction the character faces, one cell per
// step of its walk.
constexpr int CELL_SIZE = 48, STEPS = 4, DIRECTIONS = 4;
enum Direction { FACING_DOWN, FACING_LEFT, FACING_RIGHT, FACING_UP };

// DirectInput key numbers, as IsKeyDown takes them.
constexpr int KEY_ESCAPE = 1, KEY_UP = 200, KEY_LEFT = 203, KEY_RIGHT = 205, KEY_DOWN = 208;

constexpr int SPEED = 3;            // pixels per frame
constexpr int FRAMES_PER_STEP = 8;  // frames each cell of the walk shows

struct Walker {
  int x = (SCREEN_WIDTH - CELL_SIZE) / 2;
  int y = (SCREEN_HEIGHT - CELL_SIZE) / 2;
  Direction facing = FACING_DOWN;
  int walkedFrames = 0;  // frames spent moving; standing still resets it
};

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// Moves with the arrows held (two at once walk diagonally) and faces the
// way it last went.
void Update(Walker& walker) {
  int dx = 0, dy = 0;
  if (IsKeyDown(KEY_LEFT)) dx -= 1;
  if (IsKeyDown(KEY_RIGHT)) dx += 1;
  if (IsKeyDown(KEY_UP)) dy -= 1;
  if (IsKeyDown(KEY_DOWN)) dy += 1;
  if (dx == 0 && dy == 0) {
    walker.walkedFrames = 0;
    return;
  }
  if (dy != 0) walker.facing = dy < 0 ? FACING_UP : FACING_DOWN;
  if (dx != 0) walker.facing = dx < 0 ? FACING_LEFT : FACING_RIGHT;
  walker.x = Clamp(walker.x + dx * SPEED, 0, SCREEN_WIDTH - CELL_SIZE);
  walker.y = Clamp(walker.y + dy * SPEED, 0, SCREEN_HEIGHT - CELL_SIZE);
  walker.walkedFrames += 1;
}

// A field of grass in two shades, checked in 32-pixel squares.
void DrawField() {
  PaintBox(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x3C8C3C, 1);
  for (int y = 0; y < SCREEN_HEIGHT; y += 32)
    for (int x = (y / 32) % 2 * 32; x < SCREEN_WIDTH; x += 64)
      PaintBox(x, y, x + 32, y + 32, 0x358035, 1);
}

void Draw(const Walker& walker, const Handle* cells) {
  const int step = walker.walkedFrames == 0 ? 0 : 1 + (walker.walkedFrames / FRAMES_PER_STEP) % 3;
  DrawField();
  PutGraph(walker.x, walker.y, cells[walker.facing * STEPS + step], 1);
}

}  // namespace

int main() {
  // Settings come before start-up.
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60);
  SetMainWindowCaption("Vexlo example: sprite");
  EnableLogFile(0);  // 1 writes Log.txt: every step of start-up, and failures
  if (StartupEngine() != 0) return 1;
  // Whole frames are drawn on the back buffer and shown by PresentFrame.
  SelectDrawTarget(TARGET_BACK);

  Handle cells[STEPS * DIRECTIONS];
  if (LoadGraphSheet("sprite.bmp", STEPS * DIRECTIONS, STEPS, DIRECTIONS, CELL_SIZE, CELL_SIZE,
                     cells, 0) != 0) {
    ShutdownEngine();
    return 1;
  }

  Walker walker;
  while (PumpMessages() == 0 && !IsKeyDown(KEY_ESCAPE)) {
    Update(walker);
    ClearDrawTarget(nullptr);
    Draw(walker, cells);
    if (PresentFrame() != 0) break;
  }

  for (Handle cell : cells) ReleaseGraph(cell, 0);
  ShutdownEngine();
  return 0;
}
