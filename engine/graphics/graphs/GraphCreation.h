// Making graphs: from a decoded image, as a window onto another graph, and
// by cutting an image into cells; filling a graph from an image; releasing.
#pragma once

#include "engine/core/Engine.h"

struct PixelImage;
struct GraphRecord;

// A new graph holding the whole image (alpha: a separate alpha image of the
// same size, or null). The colour key and the creation options in force are
// read now. A new handle, or -1.
Handle CreateGraphFromImage(PixelImage* image, PixelImage* alphaImage);

// A new graph showing the rectangle (x, y, width, height) of source, clipped
// to it and sharing its pixels. -1 when the source is invalid or the
// rectangle starts outside it.
Handle DeriveGraph(Handle source, int x, int y, int width, int height);

// Copies the image rectangle at (sourceX, sourceY) of the graph's size into
// the graph, and records the file it came from (fileName null: none) and the
// load option for a later reload. 0 or -1.
int TransferImageToGraph(Handle graph, PixelImage* image, PixelImage* alphaImage, int sourceX,
                         int sourceY, const char* fileName, int loadOption);

// Cuts the image into cells of cellWidth x cellHeight, row by row, while
// fewer than cellCount were made: columns x rows at most. 0, or -1 with no
// handle left made.
int CreateDivGraphFromGraphImage(PixelImage* image, PixelImage* alphaImage, int cellCount,
                                 int columns, int rows, int cellWidth, int cellHeight,
                                 Handle* handles, int transparent);

// Graphics shut-down: ReleaseGraph on every live slot, in slot order.
void ReleaseAllGraphs();
