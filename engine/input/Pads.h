// The game pads and the mouse position.
#pragma once

// Starts or stops the pads' force-feedback effects after the main window's
// activation changed; 0. Nothing without DirectInput.
int RefreshPadEffects();
// Advances the timed vibrations; run by every message-pump pass; 0.
int UpdatePadVibration();
// Stops the vibration of pad n (counted from 1; bit 0x1000 ignored); 0.
int StopPadVibration(int padNumber);
// The cursor position, relative to the client area in window mode; 0.
int ReadMousePosition(int* x, int* y);
