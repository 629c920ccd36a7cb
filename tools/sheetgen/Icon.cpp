#include "Icon.h"

#include "ActorSheet.h"
#include "Painter.h"

namespace {

// The square of the actor cell's plane the icon shows: the standing
// player's head and shoulders, cut off at the waist.
constexpr float LEFT = 5, TOP = 1, SIDE = 38;
constexpr int STANDING = 1;

}  // namespace

Image DrawIcon(int size) {
  // More samples at the small sizes, whose pixels each cover much more of
  // the drawing.
  const int samples = size <= 48 ? 12 : 6;
  Painter p(size, size, samples, View{LEFT, TOP, SIDE / size});
  PaintPlayer(p, STANDING);
  Image icon(size, size);
  p.Resolve(icon, 0, 0);
  return icon;
}
