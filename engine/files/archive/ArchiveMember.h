// One file opened inside an archive. Compressed members are expanded whole
// at open and served from memory; plain members are read from the archive
// (keyed by file offset) or straight from the image. With async, the
// transfer is posted and completed by the next idle test or operation.
#pragma once

#include <cstdint>

#include "engine/files/archive/Archive.h"

constexpr int MEMBER_IDLE = 0;
constexpr int MEMBER_PENDING_BLOCK = 1;  // the compressed block is being read
constexpr int MEMBER_PENDING_READ = 2;   // a plain read is being read

struct ArchiveMember {
  Archive* archive;
  ArchiveEntry entry;
  uint8_t* expanded;    // the whole expanded file of a compressed member
  uint8_t* packedTemp;  // the stored block during an asynchronous open
  int atEnd;
  int32_t position;
  int async;
  int pending;
  uint32_t pendingOffset;
  void* pendingDest;
  uint32_t pendingSize;
  // The block read asynchronously turned out malformed: the member reads as
  // empty.
  int broken;
};

// 0, or -1 when the path names no file of the archive or the member is
// malformed.
int OpenArchiveMember(ArchiveMember* member, Archive* archive, const char* innerPath, int async);
// Opens an entry already found (a file, not a directory).
int OpenArchiveMemberEntry(ArchiveMember* member, Archive* archive, const ArchiveEntry& entry, int async);
// Bytes copied.
uint32_t ReadArchiveMember(ArchiveMember* member, void* destination, uint32_t count);
// Clamped to 0..size. 0.
int SeekArchiveMember(ArchiveMember* member, int32_t offset, int origin);
int32_t TellArchiveMember(ArchiveMember* member);
// -1 at the end, else 0.
int ArchiveMemberAtEnd(ArchiveMember* member);
// Completes a pending transfer when the archive's file is idle; 1 when
// nothing is in flight, 0 while the transfer goes on.
int ArchiveMemberIsIdle(ArchiveMember* member);
void CloseArchiveMember(ArchiveMember* member);
