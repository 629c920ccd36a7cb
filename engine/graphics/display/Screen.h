// The screen in force and the display's mode list.
//
// The requested mode lives in the settings record (EngineSettings.h); the
// display set-up turns it into the mode in force (in window mode the
// desktop's colour depth replaces the requested one). Before set-up the
// queries below answer with the request and its defaults.
#pragma once

int ScreenWidth();
int ScreenHeight();
int ScreenColorBits();

// One entry of the display's mode list.
struct DisplayMode {
  int width, height, bits, refresh;
};

// The mode list, built on first use from the display's own enumeration,
// keeping the modes of 16 or more bits; freed when the device is released.
int DisplayModeCount();
// The mode at index; all fields -1 when the index is out of range.
DisplayMode GetDisplayMode(int index);
// 1 when a mode of exactly this width, height and bit count exists.
int DisplayModeExists(int width, int height, int bits);
// 1 when a mode of exactly this width and height exists (any bit count).
int DisplayModeSizeExists(int width, int height);
// Frees the mode list (the next query builds it again).
void ReleaseDisplayModeList();
