// Opening and closing archives, and the checked readers of their tables.
#include "engine/files/archive/Archive.h"

#include <cstring>

#include "engine/services/Memory.h"

namespace {

bool FitsIn(uint64_t offset, uint64_t count, uint64_t limit) { return offset <= limit && count <= limit - offset; }

// The header's own ranges: the tables block inside the archive, the root
// directory inside the tables block, the data area inside the archive.
bool HeaderIsSound(const ArchiveHeader& h, uint32_t archiveSize) {
  if (h.version > ARCHIVE_LATEST_VERSION) return false;
  if (archiveSize < ArchiveHeaderSize(h.version)) return false;
  if (!FitsIn(h.tablesOffset, h.tablesSize, archiveSize)) return false;
  if (h.fileTableOffset > h.tablesSize) return false;
  if (!FitsIn(h.dirTableOffset, ARCHIVE_DIR_ENTRY_SIZE, h.tablesSize)) return false;
  return h.dataStart <= archiveSize;
}

void TakeHeader(Archive* archive, const ArchiveHeader& h) {
  archive->magic = h.magic;
  archive->version = h.version;
  archive->tablesSize = h.tablesSize;
  archive->dataStart = h.dataStart;
  archive->tablesOffset = h.tablesOffset;
  archive->fileTableOffset = h.fileTableOffset;
  archive->dirTableOffset = h.dirTableOffset;
  archive->codePage = h.codePage;
  archive->charSet = CharSetOfCodePage(h.codePage, h.version);
}

void PointIntoTables(Archive* archive) {
  archive->nameTable = archive->tables;
  archive->fileTable = archive->tables + archive->fileTableOffset;
  archive->dirTable = archive->tables + archive->dirTableOffset;
  archive->currentDir = 0;
}

bool RootIsReadable(const Archive& archive) {
  ArchiveDirectory root;
  return ReadArchiveDirectory(archive, 0, &root);
}

int FailFileOpen(Archive* archive) {
  if (archive->source) DiskFileClose(archive->source);
  MemFree(archive->tables);
  std::memset(archive, 0, sizeof *archive);
  return -1;
}

// Reads the first 8 header bytes with the key of the key string, then with
// the fallback key; true when one of them gives the magic.
bool FindFileKey(Archive* archive, const char* keyString, uint8_t first[8]) {
  MakeArchiveKey(keyString, archive->key);
  if (!ReadKeyed(*archive, first, 8, 0)) return false;
  if (HasArchiveMagic(first)) return true;
  MakeFallbackArchiveKey(archive->key);
  if (!ReadKeyed(*archive, first, 8, 0)) return false;
  return HasArchiveMagic(first);
}

bool FindImageKey(Archive* archive, const uint8_t* image, uint32_t size, const char* keyString) {
  if (size < 8) return false;
  uint8_t first[8];
  MakeArchiveKey(keyString, archive->key);
  std::memcpy(first, image, 8);
  ApplyArchiveKey(8, first, 0, archive->key);
  if (HasArchiveMagic(first)) return true;
  MakeFallbackArchiveKey(archive->key);
  std::memcpy(first, image, 8);
  ApplyArchiveKey(8, first, 0, archive->key);
  return HasArchiveMagic(first);
}

}  // namespace

bool ReadKeyed(Archive& archive, void* destination, uint32_t count, uint32_t offset) {
  if (count == 0) return true;
  DiskFile* file = archive.source;
  if (!file || offset > 0x7FFFFFFFu) return false;
  if (DiskFileTell(file) != static_cast<int32_t>(offset) &&
      DiskFileSeek(file, static_cast<int32_t>(offset), 0) != 0)
    return false;
  if (DiskFileRead(destination, count, 1, file) != 1) return false;
  DiskFileWaitIdle(file);
  // The reader thread reports the bytes it actually read (a file cut short
  // since it was opened gives fewer).
  if (file->threaded && file->readCount != static_cast<int32_t>(count)) return false;
  ApplyArchiveKey(count, destination, offset, archive.key);
  return true;
}

int OpenArchiveFile(Archive* archive, const char* path, const char* keyString) {
  if (archive->isOpen) return -1;
  std::memset(archive, 0, sizeof *archive);
  archive->source = OpenDiskFile(path, 0, 1);
  if (!archive->source) return -1;
  archive->archiveSize = static_cast<uint32_t>(archive->source->size);

  uint8_t header[ARCHIVE_HEADER_SIZE_V4] = {};
  if (!FindFileKey(archive, keyString, header)) return FailFileOpen(archive);
  uint16_t version = LoadU16(header + 2);
  if (version > ARCHIVE_LATEST_VERSION) return FailFileOpen(archive);
  uint32_t headerSize = ArchiveHeaderSize(version);
  if (archive->archiveSize < headerSize || !ReadKeyed(*archive, header + 8, headerSize - 8, 8))
    return FailFileOpen(archive);
  ArchiveHeader h = DecodeArchiveHeader(header);
  if (!HeaderIsSound(h, archive->archiveSize)) return FailFileOpen(archive);
  TakeHeader(archive, h);

  archive->tables = static_cast<uint8_t*>(MemAlloc(h.tablesSize ? h.tablesSize : 1, "", 0));
  if (!archive->tables || !ReadKeyed(*archive, archive->tables, h.tablesSize, h.tablesOffset))
    return FailFileOpen(archive);
  PointIntoTables(archive);
  if (!RootIsReadable(*archive)) return FailFileOpen(archive);
  archive->memoryMode = 0;
  archive->callerImage = 0;
  archive->isOpen = 1;
  return 0;
}

int OpenArchiveImage(Archive* archive, void* image, uint32_t size, const char* keyString) {
  if (archive->isOpen || !image || size > 0x7FFFFFFFu) return -1;
  std::memset(archive, 0, sizeof *archive);
  auto* bytes = static_cast<uint8_t*>(image);
  if (!FindImageKey(archive, bytes, size, keyString)) return -1;
  ApplyArchiveKey(size, bytes, 0, archive->key);
  uint16_t version = LoadU16(bytes + 2);
  ArchiveHeader h{};
  bool sound = version <= ARCHIVE_LATEST_VERSION && size >= ArchiveHeaderSize(version);
  if (sound) {
    h = DecodeArchiveHeader(bytes);
    sound = HeaderIsSound(h, size);
  }
  if (sound) {
    TakeHeader(archive, h);
    archive->image = bytes;
    archive->archiveSize = size;
    archive->tables = bytes + h.tablesOffset;
    PointIntoTables(archive);
    sound = RootIsReadable(*archive);
  }
  if (!sound) {
    uint8_t key[ARCHIVE_KEY_SIZE];
    std::memcpy(key, archive->key, sizeof key);
    ApplyArchiveKey(size, bytes, 0, key);  // the caller gets its bytes back as they were
    std::memset(archive, 0, sizeof *archive);
    return -1;
  }
  archive->memoryMode = 1;
  archive->callerImage = 1;
  archive->imageSize = static_cast<int>(size);
  archive->isOpen = 1;
  return 0;
}

void CloseArchive(Archive* archive) {
  if (!archive->isOpen) return;
  if (archive->memoryMode) {
    if (archive->callerImage)
      ApplyArchiveKey(static_cast<uint32_t>(archive->imageSize), archive->image, 0, archive->key);
    else
      MemFree(archive->image);
  } else {
    DiskFileClose(archive->source);
    MemFree(archive->tables);
  }
  std::memset(archive, 0, sizeof *archive);
}

bool ReadArchiveDirectory(const Archive& archive, uint32_t offset, ArchiveDirectory* directory) {
  uint64_t at = static_cast<uint64_t>(archive.dirTableOffset) + offset;
  if (!FitsIn(at, ARCHIVE_DIR_ENTRY_SIZE, archive.tablesSize)) return false;
  const uint8_t* p = archive.tables + at;
  ArchiveDirectory d{offset, LoadU32(p + DIR_PARENT), LoadU32(p + DIR_ENTRY_COUNT), LoadU32(p + DIR_FIRST_ENTRY)};
  uint64_t first = static_cast<uint64_t>(archive.fileTableOffset) + d.firstEntryOffset;
  uint64_t span = static_cast<uint64_t>(d.entryCount) * ArchiveFileEntrySize(archive.version);
  if (!FitsIn(first, span, archive.tablesSize)) return false;
  *directory = d;
  return true;
}

bool ReadArchiveName(const Archive& archive, uint32_t nameOffset, ArchiveName* name) {
  uint64_t at = nameOffset;
  if (!FitsIn(at, 4, archive.tablesSize)) return false;
  const uint8_t* p = archive.tables + at;
  uint16_t wordCount = LoadU16(p);
  uint64_t formSize = static_cast<uint64_t>(wordCount) * 4;
  if (wordCount == 0 || !FitsIn(at + 4, formSize, archive.tablesSize)) return false;
  const uint8_t* form = p + 4;
  if (form[formSize - 1] != 0) return false;  // the search form ends in zero fill
  uint64_t writtenAt = at + 4 + formSize;
  if (writtenAt >= archive.tablesSize) return false;
  const void* end = std::memchr(archive.tables + writtenAt, 0, archive.tablesSize - writtenAt);
  if (!end) return false;
  name->wordCount = wordCount;
  name->parity = LoadU16(p + 2);
  name->searchForm = form;
  name->written = reinterpret_cast<const char*>(archive.tables + writtenAt);
  return true;
}

bool ReadArchiveEntry(const Archive& archive, const ArchiveDirectory& directory, uint32_t index,
                      ArchiveEntry* entry) {
  if (index >= directory.entryCount) return false;
  uint32_t entrySize = ArchiveFileEntrySize(archive.version);
  uint64_t offset = static_cast<uint64_t>(directory.firstEntryOffset) + static_cast<uint64_t>(index) * entrySize;
  uint64_t at = static_cast<uint64_t>(archive.fileTableOffset) + offset;
  if (!FitsIn(at, entrySize, archive.tablesSize)) return false;
  const uint8_t* p = archive.tables + at;
  ArchiveEntry e{};
  e.offset = static_cast<uint32_t>(offset);
  e.nameOffset = LoadU32(p + ENTRY_NAME_OFFSET);
  e.attributes = LoadU32(p + ENTRY_ATTRIBUTES);
  e.creation = LoadU64(p + ENTRY_CREATION);
  e.lastWrite = LoadU64(p + ENTRY_LAST_WRITE);
  e.dataAddress = LoadU32(p + ENTRY_DATA_ADDRESS);
  e.size = LoadU32(p + ENTRY_SIZE);
  e.packedSize = archive.version >= 2 ? LoadU32(p + ENTRY_PACKED_SIZE) : ARCHIVE_STORED_PLAIN;
  ArchiveName name;
  if (!ReadArchiveName(archive, e.nameOffset, &name)) return false;
  *entry = e;
  return true;
}

bool StoredRange(const Archive& archive, const ArchiveEntry& entry, uint32_t* offset, uint32_t* count) {
  uint64_t at = static_cast<uint64_t>(archive.dataStart) + entry.dataAddress;
  uint32_t stored = IsCompressedEntry(archive, entry) ? entry.packedSize : entry.size;
  if (!FitsIn(at, stored, archive.archiveSize) || entry.size > 0x7FFFFFFFu) return false;
  *offset = static_cast<uint32_t>(at);
  *count = stored;
  return true;
}
