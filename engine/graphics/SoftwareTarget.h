// Software mode's screen image and the image that drawing goes to.
#pragma once

#include "engine/graphics/software/MemImg.h"

// The screen MEMIMG (valid from the graphics start-up in software mode to
// its shut-down).
extern MEMIMG screenImage;
// The MEMIMG drawing goes to: the screen or a graph's view.
extern MEMIMG* drawTargetImage;

// Creates the screen image (32-bit unless the screen has 16 bits), clears it
// to the background colour and makes it the target. Fatal on failure.
void SetUpScreenImage(int width, int height, int colorBits);
// Releases the screen image; the target is none afterwards.
void ReleaseScreenImage();
