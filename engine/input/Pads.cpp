#include "engine/input/Pads.h"

// Without DirectInput there are no pad devices: no effects to start or
// stop and no vibration to time.
int RefreshPadEffects() { return 0; }
int UpdatePadVibration() { return 0; }
int StopPadVibration(int padNumber) {
  (void)padNumber;
  return 0;
}
int ReadMousePosition(int* x, int* y) {
  if (x) *x = 0;
  if (y) *y = 0;
  return 0;
}
