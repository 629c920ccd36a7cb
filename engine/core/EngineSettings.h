// The settings the game makes before StartupEngine: the settings calls only
// store into this record, start-up reads it and keeps it. Creating the main
// window clears the window state but never this record.
#pragma once

constexpr int CAPTION_BUFFER_SIZE = 512;       // at most 511 bytes plus the terminator
constexpr int WINDOW_CLASS_NAME_SIZE = 256;
constexpr int ARCHIVE_KEY_STRING_LENGTH = 12;  // the engine keeps the first 12 characters

struct EngineSettings {
  // 1 windowed, 0 full screen (ChangeWindowMode); 0 at process start.
  int windowModeFlag;

  // The requested screen mode (SelectScreenMode); 0 means not set: start-up
  // then uses 640 x 480, 16 bits, any refresh rate.
  int screenWidth;
  int screenHeight;
  int screenColorBits;
  int screenRefreshRate;
  // 320 x 240 shown as 640 x 480 with every presented pixel doubled; set by
  // start-up's display-mode check or a later mode change.
  int emulate320x240;

  // SetMainWindowCaption; cut to 511 bytes.
  char caption[CAPTION_BUFFER_SIZE];
  // Empty until the window is created, which takes the caption (or
  // "D123987X") when nothing set it before.
  char windowClassName[WINDOW_CLASS_NAME_SIZE];

  // EnableLogFile(0) sets it: no log file and no debugger output.
  int logDisabled;

  // SetArchiveKey: the key string (first 12 characters) and whether one is set.
  char archiveKey[ARCHIVE_KEY_STRING_LENGTH + 1];
  int archiveKeySet;
};

// The one settings record of the process; all zero at start.
extern EngineSettings engineSettings;

// The window-mode flag under the name the whole engine tests.
inline int& windowModeFlag = engineSettings.windowModeFlag;

// The requested screen size with the start-up defaults applied: 640 x 480
// while none was requested, 16 colour bits while none was requested.
inline int RequestedScreenWidth() {
  return engineSettings.screenWidth != 0 ? engineSettings.screenWidth : 640;
}
inline int RequestedScreenHeight() {
  return engineSettings.screenHeight != 0 ? engineSettings.screenHeight : 480;
}
inline int RequestedScreenColorBits() {
  return engineSettings.screenColorBits != 0 ? engineSettings.screenColorBits : 16;
}
