// The default font state that start-up prepares: the face and size of the
// font that the engine's text drawing would create on first use. No font
// handle is created until then, and this program never draws engine text.
#pragma once

constexpr int DEFAULT_FONT_SIZE = 16;
constexpr int FONT_HANDLE_LIMIT = 40;

struct DefaultFontState {
  int prepared;
  int size;
  int handle;  // -1: no font created yet
  char face[64];
};
extern DefaultFontState defaultFontState;

// Start-up step 18: size 16, the default face, no font yet.
void PrepareDefaultFontState();
// Shut-down step 2: deletes the font if one was created; the state is gone.
void ReleaseDefaultFontState();
