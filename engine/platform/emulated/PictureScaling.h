// A picture of a fixed size shown on a screen of another size: the largest
// rectangle of the picture's aspect that fits, centred, black elsewhere;
// and the way back, from a point on the screen to the picture's own
// coordinates. The sdl adapter shows a full-screen game this way on the
// desktop's own video mode, and maps the mouse back through it.
#pragma once

#include "engine/platform/WindowPort.h"

namespace emulated {

struct PictureSize {
  int width, height;
};

// Where the picture lies on the screen (empty when either size is not
// positive), and the largest whole factor by which the picture fits inside
// that rectangle (0 when the rectangle is smaller than the picture).
struct ScaledPicture {
  int x, y, width, height;
  int wholeFactor;
};

ScaledPicture FitPictureToScreen(PictureSize picture, PictureSize screen);

// The rectangle is exactly the whole factor times the picture: every
// picture pixel becomes a square of screen pixels, no smoothing is needed.
bool IsWholeMultiple(const ScaledPicture& shown, PictureSize picture);

// How the picture is enlarged and stays sharp: first by a whole factor
// with each pixel made a square of pixels (nearest neighbour), then, when
// the rectangle is not exactly that, smoothly (a linear filter) for the
// rest. A factor of 1 is no first step.
struct ScalingSteps {
  int wholeFactor;
  bool smooth;
};
ScalingSteps SharpScalingSteps(const ScaledPicture& shown, PictureSize picture);

// The picture pixel under the screen pixel `screen` (relative to the
// screen's top-left corner); a point on the bars is taken to the nearest
// edge of the picture, as a cursor stops at the edge of a real screen.
port::Point ScreenToPicture(port::Point screen, const ScaledPicture& shown, PictureSize picture);

// A rectangle of the picture's coordinates on the screen.
port::WindowRect PictureToScreen(const port::WindowRect& area, const ScaledPicture& shown,
                                 PictureSize picture);

}  // namespace emulated
