// Directory enumeration of the archive-aware stream functions: inside the
// archive that LocateArchive finds for the pattern, else on the disk. When
// an archive stands for a directory, the disk directory of the same name is
// not listed.
#include <cstring>

#include "engine/files/FileTable.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/archive/ArchiveFind.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/platform/FilesPort.h"
#include "engine/services/Memory.h"

namespace {

struct FindRecord {
  int inArchive;
  int archiveIndex;
  ArchiveFind* archiveFind;
  port::HostHandle diskFind;
};

void ReportDiskEntry(const port::FindData& data, FoundFile* found) {
  if (!found) return;
  std::memset(found, 0, sizeof *found);
  std::memcpy(found->name, data.cFileName, sizeof found->name);
  found->name[sizeof found->name - 1] = 0;
  found->isDirectory = (data.dwFileAttributes & port::FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
  found->sizeLow = data.nFileSizeLow;
  found->sizeHigh = data.nFileSizeHigh;
  found->creation = DateStampOfFileTime(data.ftCreationTime);
  found->lastWrite = DateStampOfFileTime(data.ftLastWriteTime);
}

}  // namespace

FindHandle ArchiveAwareFindFirst(const char* pattern, FoundFile* found) {
  auto* record = static_cast<FindRecord*>(MemCalloc(sizeof(FindRecord), "", 0));
  if (!record || !pattern) {
    MemFree(record);
    return -1;
  }
  int archiveIndex = -1;
  char inner[256];
  if (LocateArchive(pattern, &archiveIndex, nullptr, inner) == 0) {
    record->inArchive = 1;
    record->archiveIndex = archiveIndex;
    record->archiveFind = ArchiveFindFirst(ArchiveOfSlot(archiveIndex), archiveIndex, inner, found);
    if (!record->archiveFind) {
      ReleaseArchive(archiveIndex);
      MemFree(record);
      return -1;
    }
  } else {
    port::FindData data;
    record->diskFind = port::FindFirstFileA(pattern, &data);
    if (record->diskFind == port::INVALID_HANDLE_VALUE) {
      MemFree(record);
      return -1;
    }
    ReportDiskEntry(data, found);
  }
  return reinterpret_cast<FindHandle>(record);
}

int ArchiveAwareFindNext(FindHandle find, FoundFile* found) {
  if (find == -1 || find == 0) return -1;
  auto* record = reinterpret_cast<FindRecord*>(find);
  if (record->inArchive) return ArchiveFindNext(record->archiveFind, found);
  port::FindData data;
  if (!port::FindNextFileA(record->diskFind, &data)) return -1;
  ReportDiskEntry(data, found);
  return 0;
}

int ArchiveAwareFindClose(FindHandle find) {
  if (find == -1 || find == 0) return -1;
  auto* record = reinterpret_cast<FindRecord*>(find);
  if (record->inArchive)
    ArchiveFindClose(record->archiveFind);  // gives back the archive reference
  else
    port::FindClose(record->diskFind);
  MemFree(record);
  return 0;
}
