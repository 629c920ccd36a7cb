#include "engine/files/archive/ArchiveTable.h"

#include <cstring>

#include "engine/services/Memory.h"

ArchiveSlot* archiveSlots[ARCHIVE_SLOT_COUNT];
int archiveSlotCount;

namespace {

bool ValidIndex(int index) { return index >= 0 && index < ARCHIVE_SLOT_COUNT; }

int TakeReference(int index) {
  ++archiveSlots[index]->refCount;
  return index;
}

}  // namespace

int AcquireArchive(const char* path, int hint) {
  if (!path || std::strlen(path) >= ARCHIVE_PATH_SIZE) return -1;
  if (ValidIndex(hint) && archiveSlots[hint] && std::strcmp(archiveSlots[hint]->path, path) == 0)
    return TakeReference(hint);
  int freeSlot = -1;
  for (int i = 0; i < ARCHIVE_SLOT_COUNT; ++i) {
    if (!archiveSlots[i]) {
      if (freeSlot < 0) freeSlot = i;
      continue;
    }
    if (std::strcmp(archiveSlots[i]->path, path) == 0) return TakeReference(i);
  }
  if (archiveSlotCount >= ARCHIVE_SLOT_COUNT) {
    ReleaseUnreferencedArchives();
    if (archiveSlotCount >= ARCHIVE_SLOT_COUNT) return -1;
  }
  if (freeSlot < 0 || archiveSlots[freeSlot]) {
    freeSlot = -1;
    for (int i = 0; i < ARCHIVE_SLOT_COUNT && freeSlot < 0; ++i)
      if (!archiveSlots[i]) freeSlot = i;
    if (freeSlot < 0) return -1;
  }
  Archive archive{};
  if (OpenArchiveFile(&archive, path, CurrentArchiveKeyString()) != 0) return -1;
  auto* slot = static_cast<ArchiveSlot*>(MemCalloc(sizeof(ArchiveSlot), "", 0));
  if (!slot) {
    CloseArchive(&archive);
    return -1;
  }
  slot->refCount = 1;
  slot->archive = archive;
  std::strcpy(slot->path, path);
  archiveSlots[freeSlot] = slot;
  ++archiveSlotCount;
  return freeSlot;
}

void ReleaseArchive(int index) {
  if (!ValidIndex(index) || !archiveSlots[index]) return;
  if (archiveSlots[index]->refCount > 0) --archiveSlots[index]->refCount;
}

Archive* ArchiveOfSlot(int index) {
  if (!ValidIndex(index) || !archiveSlots[index]) return nullptr;
  return &archiveSlots[index]->archive;
}

int ReleaseUnreferencedArchives() {
  for (int i = 0; i < ARCHIVE_SLOT_COUNT; ++i) {
    ArchiveSlot* slot = archiveSlots[i];
    if (!slot || slot->refCount > 0) continue;
    CloseArchive(&slot->archive);
    MemFree(slot);
    archiveSlots[i] = nullptr;
    --archiveSlotCount;
  }
  return 0;
}
