// Reading the pixels of the current draw target.
#pragma once

#include "engine/core/Engine.h"

struct PixelImage;

// A view of the rectangle (0 <= left < right <= target width, likewise for
// the rows) of the current target: size, pitch, colour format and the
// address of its first pixel. The view does not own the pixels. 0, or -1
// for a rectangle outside the target, when the target cannot be read, or
// while an earlier lock has not been ended.
int LockDrawScreen(const Rect& area, PixelImage* view);
// Ends the lock; nothing happens when nothing is locked.
void UnlockDrawScreen();

// 1 while a lock is held.
extern int drawScreenLocked;
