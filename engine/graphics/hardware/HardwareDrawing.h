// PutGraph and PaintBox in hardware mode: quads appended to the vertex
// batch under the states the draw state and the texture call for.
#pragma once

#include <cstdint>

#include "engine/core/Engine.h"

struct GraphRecord;

// The whole graph with its top-left pixel at (x, y), clipped to the draw
// area.
void PutGraphOnDevice(int x, int y, GraphRecord* graph, int transparent);

// The box (corners in order, right and bottom exclusive), filled or as its
// one-pixel border, clipped to the draw area; the colour is a value in the
// screen's pixel format.
void PaintBoxOnDevice(const Rect& box, uint32_t color, int filled);
