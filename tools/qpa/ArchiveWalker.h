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

// The visitor returns false to stop. Returns false when the tables held
// something unreadable (a directory link, an entry or a name out of range)
// or a directory was reached twice.
bool WalkArchive(const Archive& archive, const std::function<bool(const WalkedEntry&)>& visit);

}  // namespace qpa
