// The table of open archives. An archive is opened by the first lookup that
// needs it and stays open while anything holds a reference (an open member,
// an enumeration) and after, until ReleaseUnreferencedArchives finds it
// unreferenced. An archive handle is the slot index.
#pragma once

#include "engine/files/archive/Archive.h"

constexpr int ARCHIVE_SLOT_COUNT = 512;
constexpr int ARCHIVE_PATH_SIZE = 256;

struct ArchiveSlot {
  int refCount;
  Archive archive;
  char path[ARCHIVE_PATH_SIZE];  // as LocateArchive built it (upper case)
};

extern ArchiveSlot* archiveSlots[ARCHIVE_SLOT_COUNT];
extern int archiveSlotCount;

// The archive at path, opened when it is not open yet, with one more
// reference; hint is a slot to try first (or -1). The index, or -1.
int AcquireArchive(const char* path, int hint);
// Gives one reference back; the archive stays open.
void ReleaseArchive(int index);
// The open archive of a slot, or null.
Archive* ArchiveOfSlot(int index);
// Closes every archive whose reference count is 0 or less. 0.
int ReleaseUnreferencedArchives();
