// Writing an image into the textures of a hardware graph.
#pragma once

struct GraphRecord;
struct PixelImage;

// The part of a graph to fill, in graph pixels (right and bottom
// exclusive), and where the image pixel of graph pixel (0, 0) lies.
struct UploadArea {
  int left, top, right, bottom;
  int imageX, imageY;
};

// Converts the image (and the alpha image, may be null) over the area into
// every texture piece the graph shows: the piece's first level, its further
// mip levels (from the image's own levels, or by halving), the column and
// row past the image's edge repeated from it, the colour key turned into
// alpha; a DXT image of the texture's own kind is copied block for block.
// Through the system-memory twin and UpdateTexture where the set has one.
// 0, or -1 when any piece could not be written (logged; the others are).
int UploadImageToTextures(GraphRecord* record, const PixelImage& image,
                          const PixelImage* alphaImage, const UploadArea& area);
