// PutGraph and PaintBox: in hardware mode quads go to the vertex batch
// (HardwareDrawing.cpp); in software mode the MEMIMG renderer draws them
// into the current target under the draw state.
#include "engine/core/Engine.h"
#include "engine/core/MessagePump.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/hardware/HardwareDrawing.h"
#include "engine/graphics/records/DrawState.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/SoftwareScreen.h"

namespace {

MemImgDrawSettings CurrentSettings() {
  MemImgDrawSettings settings;
  settings.blendMode = drawState.blendMode;
  settings.blendParameter = drawState.blendParameter;
  settings.modulateRed = drawState.modulateRed;
  settings.modulateGreen = drawState.modulateGreen;
  settings.modulateBlue = drawState.modulateBlue;
  const DrawArea& area = drawState.area;
  settings.drawArea = {area.left, area.top, area.right, area.bottom};
  return settings;
}

bool SoftwareTargetReady() {
  return !hardwareMode && targetMemImg != nullptr && IsMemImgValid(targetMemImg);
}

}  // namespace

int PutGraph(int x, int y, Handle graph, int transparent) {
  if (!engineStarted) return -1;
  if (drawState.area.empty) return 0;
  GraphRecord* record = FindGraphRecord(graph);
  if (record == nullptr) return -1;
  WaitWhileInactive();
  if (hardwareMode)
    PutGraphOnDevice(x, y, record, transparent);
  else if (SoftwareTargetReady())
    BlitMemImg(targetMemImg, &record->memImg, x, y, transparent, blendMemImg,
               CurrentSettings());
  return 0;
}

int PaintBox(int x1, int y1, int x2, int y2, uint32_t color, int filled) {
  if (!graphicsStarted) return -1;
  if (drawState.area.empty) return 0;
  WaitWhileInactive();
  Rect box = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, x1 < x2 ? x2 : x1, y1 < y2 ? y2 : y1};
  if (box.left == box.right || box.top == box.bottom) return 0;
  if (hardwareMode) {
    PaintBoxOnDevice(box, color, filled);
    return 0;
  }
  if (!SoftwareTargetReady()) return 0;
  MemImgDrawSettings settings = CurrentSettings();
  if (filled) {
    FillMemImgRect(targetMemImg, &box, color, settings);
    return 0;
  }
  // The one-pixel border: rows top and bottom-1, columns left and right-1;
  // each line stops short of its end point.
  const MemImgLine border[4] = {
      {box.left, box.top, box.right, box.top, color},
      {box.left, box.bottom - 1, box.right, box.bottom - 1, color},
      {box.left, box.top, box.left, box.bottom, color},
      {box.right - 1, box.top, box.right - 1, box.bottom, color},
  };
  DrawMemImgLines(targetMemImg, border, 4, settings);
  return 0;
}
