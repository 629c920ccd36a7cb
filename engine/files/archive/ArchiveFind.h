// Listing a directory inside an archive with a wildcard pattern.
#pragma once

#include <cstdint>

#include "engine/files/FoundFile.h"
#include "engine/files/archive/Archive.h"

struct ArchiveFind {
  Archive* archive;
  int archiveIndex;    // the reference find-close gives back (-1: none)
  char pattern[256];   // upper-cased
  uint32_t directory;  // the directory-table entry being listed
  uint32_t index;      // the next position: 0 ".", 1 "..", then 2 + entry
};

// Splits the pattern at its last separator or colon, walks the directory
// part and reports the first match. The find, or null when the directory
// does not exist or nothing matches.
ArchiveFind* ArchiveFindFirst(Archive* archive, int archiveIndex, const char* pattern, FoundFile* found);
// 0, or -1 when no further entry matches.
int ArchiveFindNext(ArchiveFind* find, FoundFile* found);
// Frees the find and gives back its archive reference.
int ArchiveFindClose(ArchiveFind* find);

// Both upper-cased; '*' runs to the first occurrence of the pattern's next
// character, '?' takes one character, a double-byte character of the
// pattern must appear as it is. No backtracking: *.BMP matches ACTORS.BMP
// but not A.B.BMP, and ABC* does not match ABC.
bool MatchWildcard(const char* name, const char* pattern, CharSet charSet);
