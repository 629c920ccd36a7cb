#include "engine/core/Engine.h"
#include "engine/graphics/Screen.h"

int QueryGraphSize(Handle graph, int* width, int* height) {
  if (graph == TARGET_BACK || graph == TARGET_FRONT) {
    if (width) *width = ScreenWidth();
    if (height) *height = ScreenHeight();
    return 0;
  }
  // No graph exists yet: every handle is invalid.
  return -1;
}

int ReleaseGraph(Handle graph, int flag) {
  (void)graph;
  (void)flag;
  return -1;
}

int LoadGraphSheet(const char* fileName, int cellCount, int columns, int rows, int cellWidth,
                   int cellHeight, Handle* handles, int notUsed) {
  (void)fileName, (void)cellCount, (void)columns, (void)rows, (void)cellWidth, (void)cellHeight,
      (void)handles, (void)notUsed;
  return -1;
}

int PutGraph(int x, int y, Handle graph, int transparent) {
  (void)x, (void)y, (void)graph, (void)transparent;
  return -1;
}
