#include "engine/files/archive/ArchiveMember.h"

#include <cstring>

#include "engine/files/archive/ArchiveNames.h"
#include "engine/files/archive/Compression.h"
#include "engine/files/StreamSource.h"
#include "engine/services/Memory.h"

namespace {

// A compressed member whose size is more than its block could ever expand
// to is refused before its buffer is allocated.
bool PlausibleExpansion(const ArchiveEntry& entry) {
  if (entry.packedSize < COMPRESSED_HEADER_SIZE) return false;
  uint64_t tokens = entry.packedSize - COMPRESSED_HEADER_SIZE;
  return entry.size <= tokens * COMPRESSED_MAX_RATIO;
}

bool ExpandInto(ArchiveMember* member, const uint8_t* block, uint32_t blockSize) {
  return ExpandCompressed(block, blockSize, member->expanded, member->entry.size) ==
         static_cast<int64_t>(member->entry.size);
}

void FreeBuffers(ArchiveMember* member) {
  MemFree(member->expanded);
  MemFree(member->packedTemp);
  member->expanded = nullptr;
  member->packedTemp = nullptr;
}

int FailOpen(ArchiveMember* member) {
  FreeBuffers(member);
  std::memset(member, 0, sizeof *member);
  return -1;
}

// Completes a pending transfer: waits for the archive's file (a blocking
// wait rather than polling with 1 ms sleeps), then applies the key or
// expands the block.
void WaitUntilIdle(ArchiveMember* member) {
  if (member->async && member->pending != MEMBER_IDLE) DiskFileWaitIdle(member->archive->source);
  ArchiveMemberIsIdle(member);
}

int OpenCompressed(ArchiveMember* member, uint32_t offset, uint32_t count) {
  Archive* archive = member->archive;
  if (!PlausibleExpansion(member->entry)) return FailOpen(member);
  member->expanded = static_cast<uint8_t*>(MemAlloc(member->entry.size ? member->entry.size : 1, "", 0));
  if (!member->expanded) return FailOpen(member);
  if (archive->memoryMode) return ExpandInto(member, archive->image + offset, count) ? 0 : FailOpen(member);

  member->packedTemp = static_cast<uint8_t*>(MemAlloc(count, "", 0));
  if (!member->packedTemp) return FailOpen(member);
  member->pendingOffset = offset;
  DiskFile* file = archive->source;
  if (member->async) {
    if (DiskFileSeek(file, static_cast<int32_t>(offset), 0) != 0 ||
        DiskFileRead(member->packedTemp, count, 1, file) != 1)
      return FailOpen(member);
    member->pending = MEMBER_PENDING_BLOCK;
    return 0;
  }
  if (!ReadKeyed(*archive, member->packedTemp, count, offset) || !ExpandInto(member, member->packedTemp, count))
    return FailOpen(member);
  MemFree(member->packedTemp);
  member->packedTemp = nullptr;
  return 0;
}

void CompleteBlock(ArchiveMember* member) {
  Archive* archive = member->archive;
  uint32_t count = member->entry.packedSize;
  ApplyArchiveKey(count, member->packedTemp, member->pendingOffset, archive->key);
  if (!ExpandInto(member, member->packedTemp, count)) member->broken = 1;
  MemFree(member->packedTemp);
  member->packedTemp = nullptr;
}

}  // namespace

int OpenArchiveMember(ArchiveMember* member, Archive* archive, const char* innerPath, int async) {
  std::memset(member, 0, sizeof *member);
  ArchiveEntry entry;
  if (!archive || !innerPath || !FindMember(*archive, innerPath, &entry)) return -1;
  return OpenArchiveMemberEntry(member, archive, entry, async);
}

int OpenArchiveMemberEntry(ArchiveMember* member, Archive* archive, const ArchiveEntry& entry, int async) {
  std::memset(member, 0, sizeof *member);
  if (!archive || IsArchiveDirectoryEntry(entry)) return -1;
  member->archive = archive;
  member->entry = entry;
  member->async = async ? 1 : 0;
  uint32_t offset = 0, count = 0;
  if (!StoredRange(*archive, entry, &offset, &count)) return FailOpen(member);
  if (!IsCompressedEntry(*archive, entry)) return 0;
  return OpenCompressed(member, offset, count);
}

int ArchiveMemberIsIdle(ArchiveMember* member) {
  if (!member->async || member->pending == MEMBER_IDLE) return 1;
  DiskFile* file = member->archive->source;
  if (!DiskFileIsIdle(file)) return 0;
  if (member->pending == MEMBER_PENDING_BLOCK) {
    CompleteBlock(member);
  } else {
    ApplyArchiveKey(member->pendingSize, member->pendingDest, member->pendingOffset, member->archive->key);
  }
  member->pending = MEMBER_IDLE;
  return 1;
}

uint32_t ReadArchiveMember(ArchiveMember* member, void* destination, uint32_t count) {
  WaitUntilIdle(member);
  if (member->atEnd) return 0;
  uint32_t size = member->broken ? 0 : member->entry.size;
  uint32_t remaining = size - static_cast<uint32_t>(member->position);
  if (remaining == 0) {
    member->atEnd = 1;
    return 0;
  }
  uint32_t n = count < remaining ? count : remaining;
  Archive* archive = member->archive;
  uint32_t offset = archive->dataStart + member->entry.dataAddress + static_cast<uint32_t>(member->position);
  if (member->expanded) {
    std::memcpy(destination, member->expanded + member->position, n);
  } else if (archive->memoryMode) {
    std::memcpy(destination, archive->image + offset, n);
  } else if (member->async) {
    DiskFile* file = archive->source;
    if (DiskFileTell(file) != static_cast<int32_t>(offset) && DiskFileSeek(file, static_cast<int32_t>(offset), 0) != 0)
      return 0;
    if (DiskFileRead(destination, n, 1, file) != 1) return 0;
    member->pending = MEMBER_PENDING_READ;
    member->pendingOffset = offset;
    member->pendingDest = destination;
    member->pendingSize = n;
  } else if (!ReadKeyed(*archive, destination, n, offset)) {
    return 0;
  }
  member->position += static_cast<int32_t>(n);
  member->atEnd = 0;
  return n;
}

int SeekArchiveMember(ArchiveMember* member, int32_t offset, int origin) {
  WaitUntilIdle(member);
  int64_t size = member->broken ? 0 : member->entry.size;
  int64_t target = SeekTarget(offset, origin, member->position, size);
  if (target < 0) target = 0;
  if (target > size) target = size;
  member->position = static_cast<int32_t>(target);
  member->atEnd = 0;
  return 0;
}

int32_t TellArchiveMember(ArchiveMember* member) {
  WaitUntilIdle(member);
  return member->position;
}

int ArchiveMemberAtEnd(ArchiveMember* member) {
  WaitUntilIdle(member);
  return member->atEnd ? -1 : 0;
}

void CloseArchiveMember(ArchiveMember* member) {
  WaitUntilIdle(member);
  FreeBuffers(member);
  std::memset(member, 0, sizeof *member);
}
