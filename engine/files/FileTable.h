// The open-file slots of the archive-aware stream functions.
#pragma once

#include "engine/files/DiskFile.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveMember.h"

constexpr int FILE_SLOT_COUNT = 512;

struct FileSlot {
  int inArchive;     // 1: read from an archive; 0: from the disk
  DiskFile* disk;    // when inArchive is 0
  int archiveIndex;  // when inArchive is 1
  ArchiveMember member;
};

extern FileSlot* fileSlots[FILE_SLOT_COUNT];
extern int openFileCount;

// The archive-aware operations.
FileHandle ArchiveAwareOpen(const char* path, int useCache, int notUsed, int async);
int ArchiveAwareClose(FileHandle handle);
int32_t ArchiveAwareTell(FileHandle handle);
int ArchiveAwareSeek(FileHandle handle, int32_t offset, int origin);
size_t ArchiveAwareRead(void* destination, size_t elementSize, size_t count, FileHandle handle);
int ArchiveAwareEof(FileHandle handle);
int ArchiveAwareIsIdle(FileHandle handle);
int ArchiveAwareSetCurrentDir(const char* path);
int ArchiveAwareGetCurrentDir(char* buffer);
FindHandle ArchiveAwareFindFirst(const char* pattern, FoundFile* found);
int ArchiveAwareFindNext(FindHandle find, FoundFile* found);
int ArchiveAwareFindClose(FindHandle find);
