// The dimming laid over the frozen game by the pause and time-up screens.
#pragma once

// Darkens the whole picture to about 37 % of its brightness.
void DimScreen();
