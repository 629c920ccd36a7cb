#include "engine/files/archive/ArchiveNames.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

uint8_t UpperAscii(uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 32) : c; }

bool HasSeparator(const char* path, CharSet charSet) {
  for (const char* p = path; *p; ++p) {
    if (IsLeadByte(static_cast<uint8_t>(*p), charSet) && p[1]) {
      ++p;
      continue;
    }
    if (IsSeparator(*p)) return true;
  }
  return false;
}

// The first entry of the directory that matches the key and is (or is not)
// a directory.
bool FindInDirectory(const Archive& archive, uint32_t directoryOffset, const NameKey& key,
                     bool wantDirectory, ArchiveEntry* found) {
  ArchiveDirectory directory;
  if (!ReadArchiveDirectory(archive, directoryOffset, &directory)) return false;
  for (uint32_t i = 0; i < directory.entryCount; ++i) {
    ArchiveEntry entry;
    if (!ReadArchiveEntry(archive, directory, i, &entry)) return false;
    if (IsArchiveDirectoryEntry(entry) != wantDirectory) continue;
    ArchiveName name;
    if (ReadArchiveName(archive, entry.nameOffset, &name) && NameKeyMatches(key, name)) {
      *found = entry;
      return true;
    }
  }
  return false;
}

int MoveToParent(Archive& archive) {
  ArchiveDirectory current;
  if (!ReadArchiveDirectory(archive, archive.currentDir, &current)) return -1;
  ArchiveDirectory parent;
  if (current.parentOffset == ARCHIVE_NO_PARENT || !ReadArchiveDirectory(archive, current.parentOffset, &parent))
    return -1;
  archive.currentDir = parent.offset;
  return 0;
}

}  // namespace

uint32_t MakeNameKey(const char* text, CharSet charSet, NameKey* key) {
  std::memset(key, 0, sizeof *key);
  uint32_t length = 0;
  uint32_t parity = 0;
  bool fits = true;
  auto put = [&](uint8_t byte) {
    if (length + 4 > NAME_KEY_SIZE) fits = false;
    if (fits) key->words[length] = byte;
    parity += byte;
    ++length;
  };
  const char* p = text;
  while (*p && !IsSeparator(*p)) {
    auto byte = static_cast<uint8_t>(*p);
    if (IsLeadByte(byte, charSet) && p[1]) {
      put(byte);
      put(static_cast<uint8_t>(p[1]));
      p += 2;
      continue;
    }
    put(UpperAscii(byte));
    ++p;
  }
  key->parity = static_cast<uint16_t>(parity);
  key->wordCount = fits ? static_cast<uint16_t>((length + 4) / 4) : 0;
  return static_cast<uint32_t>(p - text);
}

bool NameKeyMatches(const NameKey& key, const ArchiveName& name) {
  return key.wordCount != 0 && key.wordCount == name.wordCount && key.parity == name.parity &&
         std::memcmp(key.words, name.searchForm, static_cast<size_t>(key.wordCount) * 4) == 0;
}

int EnterSubdirectory(Archive& archive, const NameKey& key) {
  ArchiveEntry entry;
  if (!FindInDirectory(archive, archive.currentDir, key, true, &entry)) return -1;
  ArchiveDirectory directory;
  if (!ReadArchiveDirectory(archive, entry.dataAddress, &directory)) return -1;
  archive.currentDir = directory.offset;
  return 0;
}

int WalkArchivePath(Archive& archive, const char* path, int restoreOnFailure, ArchiveWalk* walk) {
  uint32_t start = archive.currentDir;
  std::memset(&walk->key, 0, sizeof walk->key);
  walk->restOffset = 0;
  auto fail = [&]() {
    if (restoreOnFailure) archive.currentDir = start;
    return -1;
  };
  if (std::strcmp(path, ".") == 0) return 0;
  if ((path[0] == '\\' || path[0] == '/') && path[1] == 0) {
    archive.currentDir = 0;
    return 0;
  }
  if (std::strcmp(path, "..") == 0) return MoveToParent(archive) == 0 ? 0 : fail();

  uint32_t at = 0;
  size_t length = std::strlen(path);
  while (at < length) {
    if (IsSeparator(path[at])) {
      if (at != 0) return fail();  // a doubled separator inside the path
      archive.currentDir = 0;
      ++at;
      continue;
    }
    uint32_t consumed = MakeNameKey(path + at, archive.charSet, &walk->key);
    walk->restOffset = at + consumed;
    if (EnterSubdirectory(archive, walk->key) != 0) return fail();
    at += consumed;
    if (at < length) ++at;  // the separator after the component
  }
  return 0;
}

bool FindMember(Archive& archive, const char* path, ArchiveEntry* entry) {
  uint32_t saved = archive.currentDir;
  NameKey key;
  bool found = false;
  if (HasSeparator(path, archive.charSet)) {
    ArchiveWalk walk;
    // The walk stops at the first component that is not a directory; that
    // component must be the last one to name a file.
    if (WalkArchivePath(archive, path, 0, &walk) != 0 && path[walk.restOffset] == 0)
      found = FindInDirectory(archive, archive.currentDir, walk.key, false, entry);
  } else {
    MakeNameKey(path, archive.charSet, &key);
    found = FindInDirectory(archive, archive.currentDir, key, false, entry);
  }
  archive.currentDir = saved;
  return found;
}
