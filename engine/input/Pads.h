// The game pads and the mouse position.
#pragma once

// Finds the attached game controllers through DirectInput and sets up one
// pad record for each (at most 16): axis ranges, dead zones, the two
// force-feedback effects, the event, acquisition. 0, or -1 without a
// DirectInput object.
int SetupPads();
// Without DirectInput: counts the joysticks of the system's joystick calls
// and logs the count.
void CountSystemPads();
// Stops and releases the effects, devices and events of the pads; 0, or
// -1 without a DirectInput object.
int ReleasePads();

// Starts or stops the pads' force-feedback effects to match their wanted
// vibration and the main window's activation; 0. Nothing without
// DirectInput.
int RefreshPadEffects();
// Advances the timed vibrations; run by every message-pump pass; 0.
int UpdatePadVibration();
// Stops the vibration of pad n (counted from 1; bit 0x1000 ignored); 0.
int StopPadVibration(int padNumber);
// The cursor position, relative to the client area in window mode; 0.
int ReadMousePosition(int* x, int* y);
