#include "engine/files/FileSystem.h"

#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveTable.h"

char startDirectory[260];

int StartupFileSystem() {
  ReleaseUnreferencedArchives();
  ChangeStreamFunctions(nullptr);
  return 0;
}

int SaveStartDirectory() {
  startDirectory[0] = 0;
  return streamFunctions.GetCurrentDir(startDirectory) == 0 && startDirectory[0] ? 0 : -1;
}

int ShutdownFileSystem() {
  if (startDirectory[0]) streamFunctions.SetCurrentDir(startDirectory);
  ReleaseUnreferencedArchives();
  return 0;
}
