// Reloading graph contents after the display device was rebuilt.
#pragma once

// The routine the display rebuild calls to restore graph contents.
using GraphRestoreRoutine = int (*)();
extern GraphRestoreRoutine graphRestoreRoutine;

// Reloads every graph that remembers its source file into its textures.
int RestoreGraphsFromFiles();

// Start-up installs RestoreGraphsFromFiles as the restore routine.
void InstallDefaultGraphRestore();
