// Software mode's images: the screen, the current target, the blend image
// and the text renderer's two work images.
#pragma once

#include <cstdint>

#include "engine/graphics/software/MemImg.h"

// The screen, from SetupSoftwareScreen to ReleaseSoftwareScreen.
extern MEMIMG screenMemImg;
// Where drawing goes: the screen or a graph's view (chosen by the draw
// target selection); null before SetupSoftwareScreen.
extern MEMIMG* targetMemImg;
// The blend image of the current blend-image setting, or null.
extern const MEMIMG* blendMemImg;
// Screen-sized work images of the text renderer: without and with alpha.
extern MEMIMG textWorkMemImg;
extern MEMIMG textWorkAlphaMemImg;

// Creates the screen (32-bit unless colorBits is 16) and the work images,
// clears the screen to the background colour and makes it the target. A
// screen that cannot be created is fatal.
void SetupSoftwareScreen(int width, int height, int colorBits, int backgroundRed,
                         int backgroundGreen, int backgroundBlue);
// Releases all of them; the target and the blend image become null.
void ReleaseSoftwareScreen();
