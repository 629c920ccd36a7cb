#include "tools/qpa/ArchiveWalker.h"

#include <set>
#include <utility>
#include <vector>

namespace qpa {

// Deeper paths than MAX_WALKED_PATH cannot be opened through the engine's
// 256-byte paths anyway; they are reported, not followed.
WalkResult WalkArchive(const Archive& archive, const std::function<bool(const WalkedEntry&)>& visit) {
  std::set<uint32_t> entered;
  // (directory offset, path prefix); an explicit stack, so that a deep or
  // malformed tree cannot exhaust the call stack.
  std::vector<std::pair<uint32_t, std::string>> pending{{0u, std::string()}};
  WalkResult result;
  while (!pending.empty()) {
    auto [offset, prefix] = std::move(pending.back());
    pending.pop_back();
    if (!entered.insert(offset).second) {
      result.damaged = true;
      continue;
    }
    if (prefix.size() > MAX_WALKED_PATH) {
      if (result.pathTooLong.empty()) result.pathTooLong = prefix;
      continue;
    }
    ArchiveDirectory directory;
    if (!ReadArchiveDirectory(archive, offset, &directory)) {
      result.damaged = true;
      continue;
    }
    std::vector<std::pair<uint32_t, std::string>> below;
    for (uint32_t i = 0; i < directory.entryCount; ++i) {
      WalkedEntry walked;
      ArchiveName name;
      if (!ReadArchiveEntry(archive, directory, i, &walked.entry) ||
          !ReadArchiveName(archive, walked.entry.nameOffset, &name)) {
        result.damaged = true;
        break;
      }
      walked.path = prefix + name.written;
      walked.isDirectory = IsArchiveDirectoryEntry(walked.entry);
      if (!visit(walked)) return result;
      if (walked.isDirectory) below.emplace_back(walked.entry.dataAddress, walked.path + "\\");
    }
    // Reversed, so that subdirectories are walked in table order.
    for (auto it = below.rbegin(); it != below.rend(); ++it) pending.push_back(std::move(*it));
  }
  return result;
}

}  // namespace qpa
