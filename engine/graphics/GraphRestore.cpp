#include "engine/graphics/GraphRestore.h"

GraphRestoreRoutine graphRestoreRoutine = nullptr;

int RestoreGraphsFromFiles() { return 0; }

void InstallDefaultGraphRestore() { graphRestoreRoutine = RestoreGraphsFromFiles; }
