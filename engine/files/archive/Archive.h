// One opened archive: its header, its tables block (read once, un-keyed, and
// kept), and where its bytes come from: a DiskFile read asynchronously by
// its reader thread (file mode) or an image in memory (memory mode).
//
// Nothing read from the archive is trusted: every table offset, name
// offset, directory link, entry count and member range is checked against
// the tables block and the archive's size before it is used.
#pragma once

#include <cstdint>

#include "engine/files/DiskFile.h"
#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/ArchiveKey.h"
#include "engine/services/CharSet.h"

struct Archive {
  // Header fields.
  uint16_t magic;
  uint16_t version;
  uint32_t tablesSize;
  uint32_t dataStart;
  uint32_t tablesOffset;
  uint32_t fileTableOffset;
  uint32_t dirTableOffset;
  uint32_t codePage;
  CharSet charSet;

  DiskFile* source;      // file mode
  uint8_t* image;        // memory mode: the whole archive, un-keyed while open
  uint8_t* tables;       // the tables block (a pointer into the image in memory mode)
  const uint8_t* nameTable;
  const uint8_t* fileTable;
  const uint8_t* dirTable;
  // The directory-table entry (its offset) relative lookups start from: the
  // root except while an operation walks a path.
  uint32_t currentDir;
  uint8_t key[ARCHIVE_KEY_SIZE];
  int memoryMode;
  int callerImage;  // the image belongs to the caller: closing re-keys it
  int imageSize;
  uint32_t archiveSize;  // bytes of the archive file or image
  int isOpen;
};

// A directory-table entry, checked: its entries lie inside the tables block.
struct ArchiveDirectory {
  uint32_t offset;  // from the start of the directory table
  uint32_t parentOffset;
  uint32_t entryCount;
  uint32_t firstEntryOffset;  // from the start of the file table
};

// A file-table entry, checked: its name lies inside the tables block.
struct ArchiveEntry {
  uint32_t offset;  // from the start of the file table
  uint32_t nameOffset;
  uint32_t attributes;
  uint64_t creation;
  uint64_t lastWrite;
  uint32_t dataAddress;
  uint32_t size;
  uint32_t packedSize;  // ARCHIVE_STORED_PLAIN when stored plain
};

// A name-table entry.
struct ArchiveName {
  uint16_t wordCount;
  uint16_t parity;
  const uint8_t* searchForm;  // 4 x wordCount bytes, zero-terminated inside
  const char* written;        // the name as written, zero-terminated
};

// Opens an archive file: header (with the fallback key when the key string's
// key does not give the magic), checks, tables. 0 or -1.
int OpenArchiveFile(Archive* archive, const char* path, const char* keyString);
// Opens an archive image in memory, un-keying it in place; on failure the
// image is left as it was. 0 or -1.
int OpenArchiveImage(Archive* archive, void* image, uint32_t size, const char* keyString);
// Closes: file mode closes the DiskFile and frees the tables; memory mode
// re-keys a caller's image or frees the engine's own.
void CloseArchive(Archive* archive);

bool ReadArchiveDirectory(const Archive& archive, uint32_t offset, ArchiveDirectory* directory);
// The index-th entry of a directory.
bool ReadArchiveEntry(const Archive& archive, const ArchiveDirectory& directory, uint32_t index,
                      ArchiveEntry* entry);
bool ReadArchiveName(const Archive& archive, uint32_t nameOffset, ArchiveName* name);
inline bool IsArchiveDirectoryEntry(const ArchiveEntry& entry) {
  return (entry.attributes & ARCHIVE_ATTRIBUTE_DIRECTORY) != 0;
}
// Whether the member's stored bytes are a compressed block.
inline bool IsCompressedEntry(const Archive& archive, const ArchiveEntry& entry) {
  return ArchiveVersionCompresses(archive.version) && entry.packedSize != ARCHIVE_STORED_PLAIN;
}
// The stored bytes of a member: their offset in the archive and count, both
// checked against the archive's size.
bool StoredRange(const Archive& archive, const ArchiveEntry& entry, uint32_t* offset, uint32_t* count);

// Reads count bytes at the file offset through the archive's DiskFile and
// un-keys them: the read is posted and the file polled until idle. False
// when the bytes could not all be read.
bool ReadKeyed(Archive& archive, void* destination, uint32_t count, uint32_t offset);
