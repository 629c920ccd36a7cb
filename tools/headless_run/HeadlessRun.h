// A program linked with the headless platform and this library runs without
// a display: the headless window, a virtual clock that moves one 60 Hz
// refresh per frame, and keys, pads and mouse as the environment sets them.
// The run keeps one frame and then closes the window, so that the
// program's next PumpMessages returns -1 and it ends as it would when the
// user closes it. The program itself is unchanged: the set-up runs before
// its main().
//
// The environment:
//   VEXLO_HEADLESS_FRAME=N       the frame kept, counted from 1 (default 1)
//   VEXLO_HEADLESS_OUTPUT=F.png  writes the kept frame as a PNG file
//   VEXLO_HEADLESS_GOLDEN=F.png  compares the kept frame with a PNG file,
//                                pixel for pixel; any difference, or a run
//                                that ends before the frame, exits with 1
//   VEXLO_HEADLESS_UPDATE=1      writes the kept frame over the golden file
//                                instead (after an intended change)
//   VEXLO_HEADLESS_KEYS=K,K...   keys held, by DirectInput key number (the
//                                numbers of IsKeyDown)
//   VEXLO_HEADLESS_MOUSE=X,Y     the mouse at (X, Y) of the window's client
//                                area, from the first frame shown on
//   VEXLO_HEADLESS_PADS=P/P...   pads with force feedback, one P each:
//                                x,y,z,rx,ry,rz,pov,buttons as ReadPad
//                                reports them, buttons a bit mask (bit 0 the
//                                first button; 0x prefix for hexadecimal)
#pragma once

// What a run set from the environment does; parsed once, before main().
struct HeadlessRunOptions {
  int frame = 1;
  const char* output = nullptr;
  const char* golden = nullptr;
  bool update = false;
};

// The options in force (for tests of the library itself).
const HeadlessRunOptions& HeadlessRun();
