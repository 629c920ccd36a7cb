// The engine's interface: every operation the game calls.
//
// All operations are plain functions with 32-bit integer arguments and an
// integer result; 0 means success and -1 failure unless noted. None throws.
// Booleans are ints (0 false, non-zero true). Texts are NUL-terminated byte
// strings in code page 932.
//
// Settings operations (ChangeWindowMode, SelectScreenMode before start-up,
// SetMainWindowCaption, EnableLogFile, SetArchiveKey) may be called before
// StartupEngine and only store their values; start-up reads and keeps them.
// Operations that need the running engine refuse with -1 before it, unless
// noted otherwise.
//
// While the main window is inactive, PutGraph, PaintBox, ChooseBlendMode
// (when the mode or parameter changes), SelectDrawTarget (after start-up),
// ReadKeyboard, IsKeyDown and LoadGraphSheet do not return until the window
// is active again or the program must end. NowMilliseconds never waits, so
// the clock keeps running while the game is held.
#pragma once

#include <cstdint>

// A 32-bit value naming an engine object; negative values are never handles.
using Handle = int32_t;

// Draw targets that are not graph handles.
constexpr int TARGET_BACK = -2;
constexpr int TARGET_FRONT = -4;

// Blend modes of ChooseBlendMode.
constexpr int BLEND_NONE = 0;
constexpr int BLEND_ALPHA = 1;
constexpr int BLEND_ADD = 2;
constexpr int BLEND_SUB = 3;
constexpr int BLEND_MUL = 4;

// A rectangle of pixels; right and bottom are exclusive.
struct Rect {
  int left, top, right, bottom;
};

// 1 from the end of a successful StartupEngine until ShutdownEngine has run
// its tear-down; 0 otherwise.
extern int engineStarted;

// Life cycle.
// Starts every subsystem in order. 0 on success (also when already started),
// -1 on failure.
int StartupEngine();
// Takes every subsystem down in reverse order; 0 (also when not started).
int ShutdownEngine();
// Handles pending window messages and the housekeeping of input and the
// other services. 0: continue; -1: the program must end. Before start-up: 0.
int PumpMessages();

// Settings.
// 1 windowed, 0 full screen. Always 0.
int ChangeWindowMode(int windowed);
// Stores the mode before start-up; later switches the display. 0 when stored
// or in force, -1 for a zero size or a bit count other than 8, 16 or 32, -1 or
// -2 when the display refused the mode.
int SelectScreenMode(int width, int height, int colorBits, int refreshRate);
// Stores the caption (at most 511 bytes are kept); the window takes it when
// it is created. Always 0.
int SetMainWindowCaption(const char* text);
// Switches the log file and the debugger output on or off. Always 0.
int EnableLogFile(int enable);
// Stores the archive key string (null: no key); the engine keeps its first
// 12 characters. Always 0.
int SetArchiveKey(const char* keyText);

// Draw targets and presentation.
// TARGET_BACK, TARGET_FRONT or a graph handle. Refused (-1, nothing stored)
// before start-up.
int SelectDrawTarget(int target);
// Clears the rectangle, or the whole target when area is null.
int ClearDrawTarget(const Rect* area);
// Shows the frame, paced by the vertical blank. -1 when the engine is not
// started, the program must end, or presenting failed.
int PresentFrame();
// The colour of the pixel in the screen's format (0xRRGGBB on a 32-bit
// screen); -1 outside the target.
int ReadPixel(int x, int y);

// Graphs.
// The colour treated as transparent by graphs loaded from now on. Stored
// before start-up, but graphics start-up resets it to black.
int SetColorKey(int red, int green, int blue);
// Loads an image file and cuts it into cellCount cells of cellWidth x
// cellHeight, columns by rows, row by row; the handles go to handles.
int LoadGraphSheet(const char* fileName, int cellCount, int columns, int rows, int cellWidth,
                   int cellHeight, Handle* handles, int notUsed);
// The graph's size; -1 for an invalid handle (outputs untouched).
// TARGET_BACK and TARGET_FRONT give the screen size.
int QueryGraphSize(Handle graph, int* width, int* height);
// Releases a graph; -1 for an invalid handle. flag is ignored.
int ReleaseGraph(Handle graph, int flag);

// Drawing.
// Draws a graph with its top-left corner at (x, y).
int PutGraph(int x, int y, Handle graph, int transparent);
// Fills (filled = 1) or outlines (0) the box (x1, y1)-(x2, y2), right and
// bottom exclusive, in the screen's pixel format colour.
int PaintBox(int x1, int y1, int x2, int y2, uint32_t color, int filled);
// Selects the blend mode and its parameter (clamped to 0..255).
int ChooseBlendMode(int mode, int parameter);
// Sets the modulation colour (each component clamped to 0..255). Stored
// before start-up, but graphics start-up resets it to white.
int SetModulateColor(int red, int green, int blue);

// Input.
// Copies the 256-byte key state, in DirectInput key numbers: non-zero means
// held.
int ReadKeyboard(uint8_t keys[256]);
// 1 when the key (DirectInput number 0..255) is held, else 0.
int IsKeyDown(int key);

// Time.
// Milliseconds of a free-running clock, masked with 0x7FFFFFFF. The
// argument is ignored.
int NowMilliseconds(int unused);
