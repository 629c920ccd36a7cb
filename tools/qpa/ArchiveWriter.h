// Builds QPA archive images: a tree of named files and directories laid out
// as header, data area and tables block, each member compressed when that
// saves space, and every byte keyed by its offset.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/qpa/Compressor.h"

namespace qpa {

// Times are FILETIMEs (100 ns since 1601, UTC).
struct FileTimes {
  uint64_t creation = 0;
  uint64_t lastAccess = 0;
  uint64_t lastWrite = 0;
};

struct SourceFile {
  std::string name;  // code page 932 (or the archive's code page)
  std::vector<uint8_t> data;
  FileTimes times;
};

struct SourceDirectory {
  std::string name;
  std::vector<SourceFile> files;
  std::vector<SourceDirectory> directories;
  FileTimes times;
};

enum class KeyChoice { NoKeyString, KeyString, Fallback };

struct WriteOptions {
  int version = 4;          // 0 to 4
  uint32_t codePage = 932;  // written from version 4
  bool compress = true;     // each member when it saves space (version 2 on)
  bool alwaysCompress = false;  // every member, even when that saves nothing
  KeyChoice key = KeyChoice::NoKeyString;
  std::string keyString;    // with KeyChoice::KeyString
  CompressOptions compressor;
};

// The archive's bytes, or an empty vector with the reason in error (a bad
// version, names that are empty, hold a separator or repeat within a
// directory without regard to case, or an archive over 2 GiB).
std::vector<uint8_t> BuildArchive(const SourceDirectory& root, const WriteOptions& options, std::string* error);

}  // namespace qpa
