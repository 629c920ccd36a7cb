// The game's icon: the player's head and shoulders, from the actor sheet's
// drawing, painted at each size it is shown in (never scaled down from
// another size) on a transparent background.
#pragma once

#include "Image.h"

// The sizes of the Windows icon file, and those of Linux's hicolor theme.
constexpr int WINDOWS_ICON_SIZES[] = {16, 32, 48, 256};
constexpr int THEME_ICON_SIZES[] = {16, 32, 48, 64, 128, 256};

Image DrawIcon(int size);
