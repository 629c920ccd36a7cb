#include "engine/fonts/DefaultFont.h"

#include <cstdio>

DefaultFontState defaultFontState;

void PrepareDefaultFontState() {
  defaultFontState.prepared = 1;
  defaultFontState.size = DEFAULT_FONT_SIZE;
  defaultFontState.handle = -1;
  std::snprintf(defaultFontState.face, sizeof defaultFontState.face, "%s", "ＭＳ ゴシック");
}

void ReleaseDefaultFontState() {
  if (!defaultFontState.prepared) return;
  // The handle table is empty while no text was drawn: there is nothing to
  // delete beyond forgetting the handle.
  defaultFontState.handle = -1;
  defaultFontState.prepared = 0;
}
