// Looking names up inside an archive. Names are compared by their search
// form (ASCII letters upper-cased, double-byte characters unchanged, zero
// fill to a multiple of 4 bytes) as 32-bit words, after a 16-bit word count
// and parity pre-check.
#pragma once

#include <cstdint>

#include "engine/files/archive/Archive.h"

constexpr int NAME_KEY_SIZE = 1024;

struct NameKey {
  uint8_t words[NAME_KEY_SIZE];
  uint16_t parity;     // sum of the name's bytes, modulo 65536
  uint16_t wordCount;  // 0: the component is too long to be any name
};

// The search form of the component at text (up to a backslash, a slash or
// the end); returns the component's length in bytes.
uint32_t MakeNameKey(const char* text, CharSet charSet, NameKey* key);
// Whether a name-table entry has this search form.
bool NameKeyMatches(const NameKey& key, const ArchiveName& name);

// Makes the first directory of currentDir that matches the key the current
// directory. 0, or -1 when none matches.
int EnterSubdirectory(Archive& archive, const NameKey& key);

// The outcome of a walk along a path of directories.
struct ArchiveWalk {
  NameKey key;          // the component that failed, or the last one
  uint32_t restOffset;  // where the path goes on after the failed component
};

// Walks currentDir along the directories of path: "." stays, "\" or "/"
// goes to the root, ".." to the parent; otherwise each component is entered
// in turn (a leading separator starts at the root) and a single trailing
// separator is allowed. 0 when the whole path walked; -1 otherwise, with
// currentDir back where it began when restoreOnFailure is set.
int WalkArchivePath(Archive& archive, const char* path, int restoreOnFailure, ArchiveWalk* walk);

// The file (not a directory) the path names, or false. currentDir is the
// same afterwards. A path whose walk stops before its last component names
// nothing.
bool FindMember(Archive& archive, const char* path, ArchiveEntry* entry);
