/// @file
/// The engine's interface: every operation a program calls, and all a
/// program needs to include.
///
/// **Results.** Every operation is a plain function with integer arguments
/// and an integer result: 0 means success and -1 failure unless its
/// description says otherwise. None throws. Booleans are ints (0 false,
/// anything else true). Out-values go through pointers; where a pointer may
/// be null, the description says so. Texts are NUL-terminated byte strings
/// in code page 932 (ASCII is the same in it).
///
/// **Before start-up.** The settings operations (ChangeWindowMode,
/// SelectScreenMode, SetMainWindowCaption, EnableLogFile, SetArchiveKey) are
/// meant to be called before StartupEngine and only store their values,
/// which start-up reads. Every other operation needs the running engine:
/// each description tells what it does when called before StartupEngine
/// (most refuse with -1 and change nothing).
///
/// **While the window is inactive.** When the user switches to another
/// program (or minimises the full-screen window), the program is held:
/// PumpMessages, the drawing calls PutGraph, PaintBox, ChooseBlendMode (when
/// the mode or parameter changes) and SelectDrawTarget, the input calls
/// ReadKeyboard, IsKeyDown, ReadPad, StartPadVibration, StopPadVibration and
/// QueryMousePosition, and LoadGraphSheet do not return until the window is
/// active again or the program must end (the window was closed). The other
/// operations never wait. NowMilliseconds keeps counting meanwhile, so a
/// program that measures time sees the time spent away.
///
/// **A frame.** After start-up a program loops: PumpMessages (leave the loop
/// when it returns -1), ClearDrawTarget, its drawing calls, PresentFrame.
/// Then it releases its graphs and calls ShutdownEngine.
#pragma once

#include <cstdint>

/// A 32-bit value naming an engine object (a graph). Negative values are
/// never handles; -1 stands for "no handle".
using Handle = int32_t;

/// @name Draw targets
/// The two screen targets of SelectDrawTarget; neither is a handle.
/// @{

/// The back buffer: drawing is shown by the next PresentFrame. The target
/// for a program that draws whole frames.
constexpr int TARGET_BACK = -2;
/// The front target: drawing also becomes visible every 32 ms of message
/// pumping, without PresentFrame. Start-up selects it.
constexpr int TARGET_FRONT = -4;
/// @}

/// @name Blend modes
/// How ChooseBlendMode combines what is drawn (the source, after the
/// modulation colour) with what is already on the target; p is the blend
/// parameter, 0 ... 255.
/// @{

/// The source replaces the target; the parameter is not used.
constexpr int BLEND_NONE = 0;
/// Translucency: source × p/255 + target × (1 − p/255).
constexpr int BLEND_ALPHA = 1;
/// Adds light: target + source × p/255, saturating at white.
constexpr int BLEND_ADD = 2;
/// Takes light away: target − source × p/255, stopping at black.
constexpr int BLEND_SUB = 3;
/// Multiplies: target × source / 255 per channel; the parameter is not used.
constexpr int BLEND_MUL = 4;
/// @}

/// A rectangle of pixels; right and bottom are exclusive, so the rectangle
/// is (right − left) × (bottom − top) pixels.
struct Rect {
  int left;    ///< first column
  int top;     ///< first row
  int right;   ///< the column after the last
  int bottom;  ///< the row after the last
};

/// 1 from the end of a successful StartupEngine until ShutdownEngine has
/// taken the engine down; 0 otherwise. A program may read it; it must not
/// write it.
extern int engineStarted;

/// @name Life cycle
/// @{

/// Starts the engine: opens the main window with the settings stored
/// before, sets up the keyboard, the pads and the display (Direct3D 9 where
/// the system offers it, else the engine's software renderer).
///
/// Start-up fails when the desktop has 24-bit colour and the window mode is
/// on (or 24 bits were requested), when another program already runs with
/// the same window caption (the caption names the window's class, see
/// SetMainWindowCaption), or when the window, the input or the display
/// cannot be made. The log (see EnableLogFile) tells which step failed.
/// After a failure the program should end: nothing needs shutting down.
///
/// On success the draw target is TARGET_FRONT; a program that draws whole
/// frames selects TARGET_BACK next.
///
/// @return 0 when started, also when the engine was running already; -1
///         when start-up failed.
int StartupEngine();

/// Takes the engine down in the reverse order of start-up: releases every
/// graph still held, the display, input and the window, and writes the
/// allocator's list of blocks still in use to the log.
///
/// @return 0, also when the engine was not started (it then does nothing).
int ShutdownEngine();

/// Lets the engine run between frames: handles the window's pending
/// messages (closing, activation, painting) and refreshes the key state,
/// the pads' vibration and the other services. Call it once per frame.
///
/// While the window is inactive it does not return until the window is
/// active again or the program must end.
///
/// @return 0 to go on; -1 when the program must end (the window was
///         closed): leave the frame loop, and every later call returns -1
///         too. Before start-up: 0 (there is no window yet).
int PumpMessages();
/// @}

/// @name Settings
/// Called before StartupEngine; start-up reads and keeps the values.
/// @{

/// Chooses between a window and the full screen.
///
/// Full screen changes the display mode to the screen size of
/// SelectScreenMode where the system offers it (on Linux the window covers
/// the desktop and the picture is enlarged, its aspect kept); when the
/// display has no mode of that size, start-up falls back to a window.
/// After start-up the flag is only stored: the running window keeps its
/// mode.
///
/// @param windowed 1 for a window whose client area is the screen size, 0
///        for the full screen (the default).
/// @return 0.
int ChangeWindowMode(int windowed);

/// Chooses the size and colour depth of the picture the program draws (the
/// screen), and the display's refresh rate in full screen.
///
/// Without a call the screen is 640 × 480 with 16-bit colour. Colours of
/// PaintBox and ReadPixel are in the screen's pixel format: 0x00RRGGBB with
/// 32 bits, R5G6B5 with 16.
///
/// Before start-up the mode is stored. After start-up the display is made
/// again in the new mode: every graph handle is released (load the graphs
/// again) and the current draw target is selected again.
///
/// @param width screen width in pixels (not 0).
/// @param height screen height in pixels (not 0).
/// @param colorBits 8, 16 or 32 (24 is refused).
/// @param refreshRate refresh rate in Hz for the full screen; 0 takes the
///        display's.
/// @return 0 when stored (before start-up) or when the mode is in force;
///         -1 for a zero size or another bit count, or when the display
///         refused the mode; -2 when the display refused it and the engine
///         fell back to 640 × 480 with 16 bits.
int SelectScreenMode(int width, int height, int colorBits, int refreshRate);

/// Sets the main window's caption, shown in its title bar and task bar
/// button.
///
/// The caption also names the window's class, which keeps one copy of a
/// program running: while a window of the same caption exists, StartupEngine
/// of a second program fails. Without a caption the window is titled
/// "Vexlo" and all such programs share one class. After start-up the text
/// is only stored: the window keeps its caption.
///
/// @param text the caption; at most 511 bytes are kept (longer text is
///        cut); null is the empty caption.
/// @return 0.
int SetMainWindowCaption(const char* text);

/// Switches the engine's log on or off. The log, "Log.txt" in the directory
/// that is current at start-up, is made anew at every start-up and lists
/// each step of start-up and shut-down, every failure with its reason, and
/// the memory blocks still in use at shut-down; every line also goes to the
/// debugger. It is on by default.
///
/// @param enable 1 to write the log, 0 to write nothing at all (the file is
///        then neither made nor deleted).
/// @return 0.
int EnableLogFile(int enable);

/// Sets the key of the archives the engine reads from (see LoadGraphSheet).
/// An archive made with another key does not open; the file is then looked
/// for on the disk.
///
/// Archives opened already keep working; the key counts for those opened
/// from now on.
///
/// @param keyText the key string given to `qpa create --key`; the engine
///        keeps its first 12 characters. Null: no key (archives made without
///        `--key`).
/// @return 0.
int SetArchiveKey(const char* keyText);
/// @}

/// @name Draw targets and presentation
/// @{

/// Chooses where drawing goes: one of the screen targets.
///
/// While the window is inactive the call waits (see the file's
/// description).
///
/// @param target TARGET_BACK or TARGET_FRONT.
/// @return 0; -1 for a graph (graphs of LoadGraphSheet cannot be drawn
///         into) or another value that is no target, and before start-up
///         (nothing is stored then, and start-up selects TARGET_FRONT).
int SelectDrawTarget(int target);

/// Clears the current target, or a rectangle of it, to the background
/// colour (black). Neither the blend mode nor the modulation colour nor the
/// draw area applies.
///
/// @param area the rectangle to clear; null, or a rectangle whose left or
///        top is negative, clears the whole target.
/// @return 0, also before start-up (nothing is cleared then).
int ClearDrawTarget(const Rect* area);

/// Shows the frame drawn so far in the window (or on the full screen),
/// paced by the display's vertical blank, so a loop that presents once per
/// frame runs at the display's refresh rate.
///
/// @return 0 when shown; -1 before start-up, when the program must end
///         (the window was closed), or when presenting failed (for
///         instance a lost Direct3D device, which the engine makes again
///         when the window is next activated).
int PresentFrame();

/// Reads back one pixel of the current target.
///
/// Costly in hardware mode (the pixel travels back from the graphics card):
/// meant for a few probes, not for every frame.
///
/// @param x column, 0 ... target width − 1.
/// @param y row, 0 ... target height − 1.
/// @return the pixel's colour in the screen's pixel format (0x00RRGGBB on a
///         32-bit screen, the unused top byte 0); -1 outside the target, and
///         before start-up (there is no target then).
int ReadPixel(int x, int y);
/// @}

/// @name Graphs
/// A graph is a rectangle of pixels the engine can draw, named by a Handle.
/// @{

/// Sets the colour that graphs loaded from now on treat as transparent
/// (see PutGraph). Each graph keeps the key it was loaded with.
///
/// Graphics start-up sets the key to black, so a key set before start-up
/// does not survive it. With an 8-bit screen the key is left as it is.
///
/// @param red 0 ... 255 (only the low 8 bits count).
/// @param green 0 ... 255 (only the low 8 bits count).
/// @param blue 0 ... 255 (only the low 8 bits count).
/// @return 0.
int SetColorKey(int red, int green, int blue);

/// Loads an image file and cuts it into cells, one graph each.
///
/// Formats: BMP, PNG, JPEG, TGA, DDS and the engine's raw "BGRA" format;
/// an alpha image named like the file with "_a" before the extension
/// (sheet_a.bmp for sheet.bmp), when it exists, gives the transparency.
/// Pixels of the colour key (SetColorKey) are transparent unless the image
/// has alpha of its own.
///
/// The path is relative to the working directory; "\" and "/" both
/// separate folders, and on Linux names match whatever their case. An
/// archive named after a folder of the path stands in for it: with
/// ASSETS.QPA in the working directory, "assets\\hero.png" is read from
/// inside the archive (see SetArchiveKey and the `qpa` tool).
///
/// Cells are taken row by row, top row first, left to right, each
/// cellWidth × cellHeight from the image's top-left corner; cells at the
/// image's right or bottom edge are clipped. They share the image's pixels.
/// The handles stay valid until ReleaseGraph, ShutdownEngine, or a
/// SelectScreenMode after start-up.
///
/// While the window is inactive the call waits (see the file's
/// description).
///
/// @param fileName the image file.
/// @param cellCount how many cells to make; when more than columns × rows,
///        only columns × rows are made and the other elements of handles
///        are left as they were.
/// @param columns cells per row.
/// @param rows rows of cells.
/// @param cellWidth width of a cell in pixels.
/// @param cellHeight height of a cell in pixels.
/// @param handles array of at least cellCount elements that receives the
///        cells' handles.
/// @param notUsed accepted and ignored (pass 0): transparency comes from
///        the colour key and the image.
/// @return 0 when every cell was made; -1 when the file could not be read
///         or decoded (logged with the file name), when a cell starts
///         outside the image (no cell is kept then), and before start-up
///         (the file is not read).
int LoadGraphSheet(const char* fileName, int cellCount, int columns, int rows, int cellWidth,
                   int cellHeight, Handle* handles, int notUsed);

/// Tells the size of a graph, or of the screen.
///
/// @param graph a graph handle, or TARGET_BACK or TARGET_FRONT for the
///        screen (before start-up: the size SelectScreenMode stored).
/// @param width receives the width in pixels; may be null.
/// @param height receives the height in pixels; may be null.
/// @return 0; -1 for anything else, the outputs then left untouched (also
///         for a graph before start-up: there are none).
int QueryGraphSize(Handle graph, int* width, int* height);

/// Releases a graph. The pixels it shares with other cells of its sheet go
/// with the last of them.
///
/// @param graph the graph's handle; it is invalid afterwards.
/// @param flag accepted and ignored (pass 0).
/// @return 0; -1 for a handle that is not a live graph (also before
///         start-up).
int ReleaseGraph(Handle graph, int flag);
/// @}

/// @name Drawing
/// Drawing goes to the current target under the draw state: the blend mode
/// and its parameter (ChooseBlendMode) and the modulation colour
/// (SetModulateColor). Graphics start-up resets the draw state to
/// BLEND_NONE with parameter 0 and white modulation.
/// @{

/// Draws a whole graph with its top-left pixel at (x, y). Parts outside
/// the target are clipped.
///
/// Each pixel is multiplied by the modulation colour, then blended into the
/// target by the blend mode. While the window is inactive the call waits
/// (see the file's description).
///
/// @param x column of the graph's left edge; may be negative.
/// @param y row of the graph's top edge; may be negative.
/// @param graph the graph's handle.
/// @param transparent 1 leaves the graph's transparent pixels (those of its
///        colour key, or its alpha) out; 0 draws every pixel.
/// @return 0; -1 before start-up or for an invalid handle.
int PutGraph(int x, int y, Handle graph, int transparent);

/// Fills a box, or draws its one-pixel outline, with one colour.
///
/// The colour is multiplied by the modulation colour and blended by the
/// blend mode, as PutGraph's pixels are. Corners may come in any order; a
/// box of no width or height draws nothing. While the window is inactive
/// the call waits (see the file's description).
///
/// @param x1 one corner's column.
/// @param y1 one corner's row.
/// @param x2 the opposite corner's column (exclusive).
/// @param y2 the opposite corner's row (exclusive).
/// @param color the colour in the screen's pixel format: 0x00RRGGBB on a
///        32-bit screen.
/// @param filled 1 fills the box; 0 draws its outline.
/// @return 0, also when nothing was drawn; -1 before start-up.
int PaintBox(int x1, int y1, int x2, int y2, uint32_t color, int filled);

/// Chooses how the following drawing is combined with the target.
///
/// Nothing happens when both values are those in force; otherwise, while
/// the window is inactive, the call waits first (see the file's
/// description). Before start-up the values are stored, but graphics
/// start-up resets them to BLEND_NONE and 0.
///
/// @param mode BLEND_NONE, BLEND_ALPHA, BLEND_ADD, BLEND_SUB or BLEND_MUL.
/// @param parameter the mode's strength p, clamped to 0 ... 255.
/// @return 0.
int ChooseBlendMode(int mode, int parameter);

/// Sets the colour every drawn pixel is multiplied by, per channel
/// (component × value / 255): white draws graphs as they are, darker
/// colours tint them.
///
/// Before start-up the colour is stored, but graphics start-up resets it to
/// white.
///
/// @param red red factor, clamped to 0 ... 255.
/// @param green green factor, clamped to 0 ... 255.
/// @param blue blue factor, clamped to 0 ... 255.
/// @return 0.
int SetModulateColor(int red, int green, int blue);
/// @}

/// @name Keyboard
/// Keys are numbered by their DirectInput key numbers (the `DIK_` values of
/// the platform's dinput.h), whatever the system's layout: 1 Esc, 2 ... 11
/// the digits 1 ... 9 and 0, 16 Q, 17 W, 30 A, 31 S, 32 D, 44 Z, 45 X,
/// 28 Return, 57 Space, 42 and 54 the Shift keys, 200 up, 203 left,
/// 205 right, 208 down. The state is refreshed by PumpMessages.
/// @{

/// Copies the whole key state.
///
/// Called before start-up, it sets the input layer up early, without
/// DirectInput for the rest of the run, and writes nothing: call it after
/// StartupEngine. While the window is inactive the call waits (see the
/// file's description).
///
/// @param keys 256 bytes that receive, for each key number, 1 when the key
///        is held and 0 when not.
/// @return 0 (also before start-up); -1 when keys is null.
int ReadKeyboard(uint8_t keys[256]);

/// Tells whether one key is held.
///
/// Called before start-up, it sets the input layer up early, without
/// DirectInput for the rest of the run, and answers 0: call it after
/// StartupEngine. While the window is inactive the call waits (see the
/// file's description).
///
/// @param key the key number, 0 ... 255.
/// @return 1 when the key is held; 0 when not, and for a number outside
///         0 ... 255.
int IsKeyDown(int key);
/// @}

/// @name Pads and mouse
/// Game pads come from DirectInput where the system offers it (Windows),
/// else from the system's joystick interface (SDL's game controllers on
/// Linux). Pads are numbered from 1 in the order the system lists them.
/// @{

/// The number of buttons a PadState holds.
constexpr int PAD_BUTTON_COUNT = 32;
/// The end of every pad axis's range: axes read −PAD_AXIS_LIMIT ...
/// PAD_AXIS_LIMIT.
constexpr int PAD_AXIS_LIMIT = 1000;

/// The controls of a pad, as ReadPad reports them. Axes read 0 while the
/// stick is within its dead zone (the inner 35% of its travel); beyond it
/// they run to ±PAD_AXIS_LIMIT. On a pad of the usual layout x and y are the
/// left stick (right and down positive), rx and ry the right stick, and z
/// the triggers.
struct PadState {
  int x;    ///< first axis
  int y;    ///< second axis
  int z;    ///< third axis
  int rx;   ///< first rotation axis
  int ry;   ///< second rotation axis
  int rz;   ///< third rotation axis
  int pov;  ///< the hat (directional pad): −1 centred, else the direction in hundredths of a degree clockwise from up (9000 is right)
  uint8_t buttons[PAD_BUTTON_COUNT];  ///< 1 while the button is held, else 0
};

/// Tells how many pads there are now.
///
/// @return the number of pads (0 ... 16); -1 before start-up.
int QueryPadCount();

/// Reads the controls of one pad.
///
/// While the window is inactive the call waits (see the file's
/// description).
///
/// @param pad the pad's number, 1 ... QueryPadCount().
/// @param state receives the pad's controls; left untouched on failure.
/// @return 0; -1 before start-up, for a null state, for a number that is no
///         pad, or when the pad could not be read (unplugged).
int ReadPad(int pad, PadState* state);

/// Makes a pad vibrate, through its force-feedback effects: a constant
/// force, joined by a slow sine (1.5 s period) when power is above 5000.
/// While the window is inactive the pad is still; the vibration goes on
/// when it is active again. Pads read through the system's joystick
/// interface (Linux, or Windows without DirectInput) cannot vibrate.
///
/// While the window is inactive the call waits (see the file's
/// description).
///
/// @param pad the pad's number, 1 ... QueryPadCount().
/// @param power 1 ... 10000 (more is 10000); 0 or less stops the vibration.
/// @param milliseconds how long it lasts, counted by PumpMessages; negative
///        lasts until StopPadVibration.
/// @return 0; -1 before start-up, for a number that is no pad, or for a pad
///         without force feedback.
int StartPadVibration(int pad, int power, int milliseconds);

/// Stops a pad's vibration.
///
/// While the window is inactive the call waits (see the file's
/// description).
///
/// @param pad the pad's number, 1 ... QueryPadCount(); another number does
///        nothing.
/// @return 0; -1 before start-up.
int StopPadVibration(int pad);

/// Reads the mouse position.
///
/// In a window the position is in the screen's pixels from the client
/// area's top-left corner, and may lie outside it (negative, or beyond the
/// screen size); in full screen it is the position on the screen (on Linux,
/// in the screen's pixels of the enlarged picture). While the window is
/// inactive the call waits (see the file's description).
///
/// @param x receives the column; may be null.
/// @param y receives the row; may be null.
/// @return 0; -1 before start-up.
int QueryMousePosition(int* x, int* y);
/// @}

/// @name Time
/// @{

/// Reads the engine's millisecond clock, which runs freely (also while the
/// window is inactive and the program is held). Subtract two readings as
/// ints to measure time; the clock wraps from 0x7FFFFFFF to 0 about every
/// 24.8 days. It can be read before start-up too.
///
/// @param unused accepted and ignored (pass 0).
/// @return milliseconds, 0 ... 0x7FFFFFFF.
int NowMilliseconds(int unused);
/// @}
