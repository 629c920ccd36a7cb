// Visits every entry of an opened archive, depth first, with its path inside
// the archive. Safe on malformed archives: a directory reached twice (a link
// back up the tree, or two entries sharing one directory) is not entered
// again, and unreadable entries are reported, not followed.
#pragma once

#include <functional>
#include <string>

#include "engine/files/archive/Archive.h"

namespace qpa {

struct WalkedEntry {
  std::string path;  // inside the archive, backslash-separated, as written
  ArchiveEntry entry;
  bool isDirectory;
};

// Paths longer than this are not followed: no engine path can name them.
constexpr size_t MAX_WALKED_PATH = 1024;

// What kept a walk from visiting the whole tree.
struct WalkResult {
  // The tables held something unreadable (a directory link, an entry or a
  // name out of range) or a directory was reached twice.
  bool damaged = false;
  // The first directory whose path is longer than MAX_WALKED_PATH, with its
  // entries not visited; empty when there was none.
  std::string pathTooLong;
  bool Complete() const { return !damaged && pathTooLong.empty(); }
};

// The visitor returns false to stop.
WalkResult WalkArchive(const Archive& archive, const std::function<bool(const WalkedEntry&)>& visit);

}  // namespace qpa
