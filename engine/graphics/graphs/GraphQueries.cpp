#include "engine/core/Engine.h"
#include "engine/graphics/display/Screen.h"
#include "engine/graphics/records/GraphTable.h"

int QueryGraphSize(Handle graph, int* width, int* height) {
  int graphWidth, graphHeight;
  if (graph == TARGET_BACK || graph == TARGET_FRONT) {
    graphWidth = ScreenWidth();
    graphHeight = ScreenHeight();
  } else {
    const GraphRecord* record = FindGraphRecord(graph);
    if (record == nullptr) return -1;
    graphWidth = record->width;
    graphHeight = record->height;
  }
  if (width) *width = graphWidth;
  if (height) *height = graphHeight;
  return 0;
}
