#include "engine/graphics/records/GraphicsMode.h"

int graphicsStarted = 0;
int hardwareMode = 0;
