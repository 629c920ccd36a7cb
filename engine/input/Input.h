// The input layer's life cycle and refresh, as start-up, shut-down, the
// window procedure and the message pump call it. The key queries
// themselves (ReadKeyboard, IsKeyDown) are in engine/core/Engine.h.
#pragma once

// Brings up the keyboard (DirectInput when the system offers it, else the
// system key state) and the pads. 0 on success, also when already
// initialised or under way; -1 when the keyboard's event notification
// cannot be set up (start-up then fails).
int InitializeInput();
// Releases the devices; 0. Does nothing on a layer never initialised.
int TerminateInput();
// Copies the current key state into the engine's key array: true when it
// was refreshed, false when skipped (throttled, re-entered, wrong thread).
bool RefreshKeyState();
// Re-acquires the devices after the main window's activation changed; 0.
int ReacquireInputDevices();
