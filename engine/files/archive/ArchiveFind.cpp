#include "engine/files/archive/ArchiveFind.h"

#include <cstring>

#include "engine/files/archive/ArchiveNames.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/services/Memory.h"

namespace {

bool IsLead(char c, CharSet charSet) { return IsLeadByte(static_cast<uint8_t>(c), charSet); }

// Length of the character at text: 2 for a lead byte with a follower.
size_t Unit(const char* text, CharSet charSet) { return IsLead(text[0], charSet) && text[1] ? 2 : 1; }

void UpperCase(char* text, CharSet charSet) {
  for (char* p = text; *p; p += Unit(p, charSet))
    if (!IsLead(*p, charSet) && *p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 32);
}

void ReportDot(const char* name, FoundFile* found) {
  if (!found) return;
  std::memset(found, 0, sizeof *found);
  std::strcpy(found->name, name);
  found->isDirectory = 1;
}

void ReportEntry(const ArchiveEntry& entry, const ArchiveName& name, FoundFile* found) {
  if (!found) return;
  std::memset(found, 0, sizeof *found);
  size_t length = std::strlen(name.written);
  if (length >= sizeof found->name) length = sizeof found->name - 1;
  std::memcpy(found->name, name.written, length);
  found->name[length] = 0;
  found->isDirectory = IsArchiveDirectoryEntry(entry) ? 1 : 0;
  found->sizeLow = entry.size;
  found->sizeHigh = 0;
  found->creation = DateStampOfFileTime(entry.creation);
  found->lastWrite = DateStampOfFileTime(entry.lastWrite);
}

}  // namespace

bool MatchWildcard(const char* name, const char* pattern, CharSet charSet) {
  for (;;) {
    if (!*name && !*pattern) return true;
    if (IsLead(*pattern, charSet) && pattern[1]) {
      if (name[0] != pattern[0] || name[1] != pattern[1]) return false;
      name += 2;
      pattern += 2;
    } else if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      if (!*pattern) return true;
      if (!*name) return false;
      size_t wanted = Unit(pattern, charSet);
      while (*name && std::strncmp(name, pattern, wanted) != 0) name += Unit(name, charSet);
      if (!*name) return false;
      name += wanted;
      pattern += wanted;
    } else if (*pattern == '?') {
      if (!*name) return false;
      name += Unit(name, charSet);
      ++pattern;
    } else {
      if (*pattern != *name) return false;
      ++name;
      ++pattern;
    }
    if (!*pattern) return !*name;
    if (!*name) return false;
  }
}

ArchiveFind* ArchiveFindFirst(Archive* archive, int archiveIndex, const char* pattern, FoundFile* found) {
  if (!archive || !pattern || std::strlen(pattern) >= sizeof(ArchiveFind::pattern)) return nullptr;
  CharSet charSet = archive->charSet;
  size_t cut = 0;
  for (size_t i = 0; pattern[i]; i += Unit(pattern + i, charSet))
    if (!IsLead(pattern[i], charSet) && (pattern[i] == '\\' || pattern[i] == '/' || pattern[i] == ':')) cut = i + 1;
  char directory[256];
  std::memcpy(directory, pattern, cut);
  directory[cut] = 0;
  // The separator that ends the directory part is not part of its walk,
  // unless it is the whole of it (the root).
  if (cut > 1 && (directory[cut - 1] == '\\' || directory[cut - 1] == '/')) directory[cut - 1] = 0;
  UpperCase(directory, charSet);

  auto* find = static_cast<ArchiveFind*>(MemCalloc(sizeof(ArchiveFind), "", 0));
  if (!find) return nullptr;
  find->archive = archive;
  find->archiveIndex = archiveIndex;
  std::strcpy(find->pattern, pattern + cut);
  UpperCase(find->pattern, charSet);
  find->directory = archive->currentDir;
  if (directory[0]) {
    uint32_t saved = archive->currentDir;
    ArchiveWalk walk;
    int walked = WalkArchivePath(*archive, directory, 1, &walk);
    find->directory = archive->currentDir;
    archive->currentDir = saved;
    if (walked != 0) {
      MemFree(find);
      return nullptr;
    }
  }
  find->index = 0;
  if (ArchiveFindNext(find, found) != 0) {
    MemFree(find);
    return nullptr;
  }
  return find;
}

int ArchiveFindNext(ArchiveFind* find, FoundFile* found) {
  Archive& archive = *find->archive;
  CharSet charSet = archive.charSet;
  ArchiveDirectory directory;
  if (!ReadArchiveDirectory(archive, find->directory, &directory)) return -1;
  bool atRoot = directory.offset == 0;
  while (find->index < 2 + static_cast<uint64_t>(directory.entryCount)) {
    uint32_t position = find->index++;
    if (position == 0) {
      if (MatchWildcard(".", find->pattern, charSet)) {
        ReportDot(".", found);
        return 0;
      }
      continue;
    }
    if (position == 1) {
      if (!atRoot && MatchWildcard("..", find->pattern, charSet)) {
        ReportDot("..", found);
        return 0;
      }
      continue;
    }
    ArchiveEntry entry;
    ArchiveName name;
    if (!ReadArchiveEntry(archive, directory, position - 2, &entry) ||
        !ReadArchiveName(archive, entry.nameOffset, &name))
      return -1;
    if (MatchWildcard(reinterpret_cast<const char*>(name.searchForm), find->pattern, charSet)) {
      ReportEntry(entry, name, found);
      return 0;
    }
  }
  return -1;
}

int ArchiveFindClose(ArchiveFind* find) {
  if (!find) return -1;
  if (find->archiveIndex >= 0) ReleaseArchive(find->archiveIndex);
  MemFree(find);
  return 0;
}
