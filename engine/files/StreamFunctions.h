// The engine-wide table of twelve file operations. Every file the engine
// reads goes through the installed table; the default one is archive-aware
// (an archive named after a directory on the path stands in for it), and a
// caller may replace the whole table with its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/files/FoundFile.h"

// An open file of the installed table. The archive-aware set returns the
// slot index OR-ed with FILE_HANDLE_TAG; 0 means failure.
using FileHandle = uint32_t;
constexpr FileHandle FILE_HANDLE_TAG = 0xF0000000u;
constexpr FileHandle FILE_HANDLE_INDEX_MASK = 0x0FFFFFFFu;

// An enumeration of FindFirst; -1 means failure.
using FindHandle = intptr_t;

struct StreamFunctions {
  // path (cp932), useCache, a flag every implementation ignores (callers
  // pass 1), async → handle, 0 on failure.
  FileHandle (*Open)(const char* path, int useCache, int notUsed, int async);
  int (*Close)(FileHandle handle);
  int32_t (*Tell)(FileHandle handle);
  // origin 0 from the start, 1 from the position, 2 from the end → 0 / -1.
  int (*Seek)(FileHandle handle, int32_t offset, int origin);
  // The number of whole elements read.
  size_t (*Read)(void* destination, size_t elementSize, size_t count, FileHandle handle);
  // Non-zero when the end was hit.
  int (*Eof)(FileHandle handle);
  // 1 when no asynchronous transfer is pending, 0 while one is.
  int (*IsIdle)(FileHandle handle);
  int (*SetCurrentDir)(const char* path);
  // buffer of at least 260 bytes.
  int (*GetCurrentDir)(char* buffer);
  // pattern with * and ? in its last component; found may be null.
  FindHandle (*FindFirst)(const char* pattern, FoundFile* found);
  // 0, or -1 when no further entry exists.
  int (*FindNext)(FindHandle find, FoundFile* found);
  int (*FindClose)(FindHandle find);
};

// The installed table.
extern StreamFunctions streamFunctions;

// Copies the given table over the installed one; null installs the
// archive-aware set. 0.
int ChangeStreamFunctions(const StreamFunctions* table);

// The archive-aware set (FileTable.cpp, FindFiles.cpp).
extern const StreamFunctions archiveAwareStreamFunctions;
