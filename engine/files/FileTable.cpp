// The archive-aware stream functions: a path goes into an archive when
// LocateArchive finds one for it, else to the disk exactly as written.
#include "engine/files/FileTable.h"

#include <cstring>

#include "engine/files/LocateArchive.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/platform/FilesPort.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"

FileSlot* fileSlots[FILE_SLOT_COUNT];
int openFileCount;

namespace {

// The slot of a handle; null for a handle that Open did not return (the
// tag is missing, the index is out of range or the slot is empty).
FileSlot* SlotOf(FileHandle handle) {
  if ((handle & FILE_HANDLE_TAG) != FILE_HANDLE_TAG) return nullptr;
  uint32_t index = handle & FILE_HANDLE_INDEX_MASK;
  if (index >= FILE_SLOT_COUNT) return nullptr;
  return fileSlots[index];
}

}  // namespace

FileHandle ArchiveAwareOpen(const char* path, int useCache, int /*notUsed*/, int async) {
  if (openFileCount >= FILE_SLOT_COUNT) {
    WriteLog("同時に開けるファイルの数が限界を超えました\n");
    return 0;
  }
  int index = 0;
  while (index < FILE_SLOT_COUNT && fileSlots[index]) ++index;
  if (index == FILE_SLOT_COUNT) return 0;
  auto* slot = static_cast<FileSlot*>(MemCalloc(sizeof(FileSlot), "", 0));
  if (!slot) {
    WriteLog("ファイルの情報を格納するメモリの確保に失敗しました\n");
    return 0;
  }
  int archiveIndex = -1;
  char inner[256];
  if (LocateArchive(path, &archiveIndex, nullptr, inner) == 0) {
    // The archive stands for the directory: a file missing from it is not
    // looked for on the disk.
    slot->inArchive = 1;
    slot->archiveIndex = archiveIndex;
    if (OpenArchiveMember(&slot->member, ArchiveOfSlot(archiveIndex), inner, async) != 0) {
      ReleaseArchive(archiveIndex);
      MemFree(slot);
      return 0;
    }
  } else {
    slot->disk = OpenDiskFile(path, useCache, async);
    if (!slot->disk) {
      MemFree(slot);
      return 0;
    }
  }
  fileSlots[index] = slot;
  ++openFileCount;
  return static_cast<FileHandle>(index) | FILE_HANDLE_TAG;
}

int ArchiveAwareClose(FileHandle handle) {
  FileSlot* slot = SlotOf(handle);
  if (!slot) return -1;
  if (slot->inArchive) {
    ReleaseArchive(slot->archiveIndex);
    CloseArchiveMember(&slot->member);
  } else {
    DiskFileClose(slot->disk);
  }
  MemFree(slot);
  fileSlots[handle & FILE_HANDLE_INDEX_MASK] = nullptr;
  --openFileCount;
  return 0;
}

int32_t ArchiveAwareTell(FileHandle handle) {
  FileSlot* slot = SlotOf(handle);
  if (!slot) return -1;
  return slot->inArchive ? TellArchiveMember(&slot->member) : DiskFileTell(slot->disk);
}

int ArchiveAwareSeek(FileHandle handle, int32_t offset, int origin) {
  FileSlot* slot = SlotOf(handle);
  if (!slot) return -1;
  return slot->inArchive ? SeekArchiveMember(&slot->member, offset, origin) : DiskFileSeek(slot->disk, offset, origin);
}

size_t ArchiveAwareRead(void* destination, size_t elementSize, size_t count, FileHandle handle) {
  FileSlot* slot = SlotOf(handle);
  if (!slot || elementSize == 0) return 0;
  if (!slot->inArchive) return DiskFileRead(destination, elementSize, count, slot->disk);
  uint64_t bytes = static_cast<uint64_t>(elementSize) * count;
  if (count != 0 && bytes / count != elementSize) return 0;
  if (bytes > 0x7FFFFFFFu) bytes = 0x7FFFFFFFu / elementSize * elementSize;
  return ReadArchiveMember(&slot->member, destination, static_cast<uint32_t>(bytes)) / elementSize;
}

int ArchiveAwareEof(FileHandle handle) {
  FileSlot* slot = SlotOf(handle);
  if (!slot) return -1;
  return slot->inArchive ? ArchiveMemberAtEnd(&slot->member) : DiskFileEof(slot->disk);
}

int ArchiveAwareIsIdle(FileHandle handle) {
  FileSlot* slot = SlotOf(handle);
  if (!slot) return -1;
  return slot->inArchive ? ArchiveMemberIsIdle(&slot->member) : DiskFileIsIdle(slot->disk);
}

int ArchiveAwareSetCurrentDir(const char* path) {
  port::SetCurrentDirectoryA(path);
  return 0;
}

int ArchiveAwareGetCurrentDir(char* buffer) {
  uint32_t length = port::GetCurrentDirectoryA(256, buffer);
  // A directory longer than the buffer leaves it empty rather than unset.
  if (length == 0 || length >= 256) {
    buffer[0] = 0;
    return -1;
  }
  return 0;
}

constexpr StreamFunctions archiveAwareStreamFunctions = {
    ArchiveAwareOpen,          ArchiveAwareClose,         ArchiveAwareTell,          ArchiveAwareSeek,
    ArchiveAwareRead,          ArchiveAwareEof,           ArchiveAwareIsIdle,        ArchiveAwareSetCurrentDir,
    ArchiveAwareGetCurrentDir, ArchiveAwareFindFirst,     ArchiveAwareFindNext,      ArchiveAwareFindClose,
};

StreamFunctions streamFunctions = archiveAwareStreamFunctions;

int ChangeStreamFunctions(const StreamFunctions* table) {
  streamFunctions = table ? *table : archiveAwareStreamFunctions;
  return 0;
}
