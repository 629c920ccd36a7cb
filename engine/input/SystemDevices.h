// The system mouse and keyboard devices of the DirectInput path.
#pragma once

// The DirectInput set-up of InitializeInput, once an object is held: the
// window to the top, one pump pass, the pads, then the mouse and the
// keyboard (data format, cooperative level, buffer, event, acquisition).
// 0, or -1 when the keyboard's event notification cannot be set up. A
// failure of the devices themselves is fatal: what was made is released
// and the engine ends through FatalError.
int SetUpSystemDevices();

// Unacquires and releases the keyboard (closing its event) and the mouse.
void ReleaseSystemDevices();
