#include "engine/graphics/records/GraphCreationOptions.h"

GraphCreationOptions graphCreationOptions = {0, 1, 1, 0, 2048};

void ResetGraphCreationOptions() {
  graphCreationOptions.colorKey = 0;
  graphCreationOptions.alphaTestFormat = 1;
  graphCreationOptions.colorKeyInConversion = 1;
  graphCreationOptions.bitDepthOverride = 0;
}
