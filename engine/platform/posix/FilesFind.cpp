// Directory listing for the Linux files port: FindFirstFileA and friends
// over readdir, with Windows' wildcard rules (* and ?, case-insensitive) and
// names converted to code page 932. Entries come sorted by name, "." and
// ".." first (the root has neither), so listings are the same on every run.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/platform/FilesPort.h"
#include "engine/platform/posix/FilesPathView.h"

namespace port {
namespace {

struct PosixFind {
  std::vector<FindData> entries;
  size_t next;
};

bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned char FoldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

// Length in bytes of the character at text (1 or 2).
size_t CharLength(const char* text) {
  return IsCp932Lead(static_cast<unsigned char>(text[0])) && text[1] ? 2 : 1;
}

bool SameChar(const char* a, const char* b, size_t length) {
  for (size_t i = 0; i < length; ++i)
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Windows wildcard matching: '*' any run of characters, '?' one character,
// double-byte characters as units, ASCII letters without regard to case.
bool WildcardMatches(const char* name, const char* pattern) {
  const char* starPattern = nullptr;
  const char* starName = nullptr;
  while (*name) {
    if (*pattern == '*') {
      while (*pattern == '*') ++pattern;
      starPattern = pattern;
      starName = name;
      continue;
    }
    size_t nameChar = CharLength(name);
    if (*pattern == '?') {
      name += nameChar;
      ++pattern;
      continue;
    }
    size_t patternChar = *pattern ? CharLength(pattern) : 0;
    if (patternChar == nameChar && SameChar(name, pattern, nameChar)) {
      name += nameChar;
      pattern += patternChar;
      continue;
    }
    if (!starPattern) return false;
    starName += CharLength(starName);
    name = starName;
    pattern = starPattern;
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

// Splits a pattern after its last separator or drive colon.
void SplitPattern(const std::string& pattern, std::string* directory, std::string* name) {
  size_t cut = 0;
  for (size_t i = 0; i < pattern.size(); i += CharLength(pattern.c_str() + i)) {
    char c = pattern[i];
    if (c == '\\' || c == '/' || c == ':') cut = i + 1;
  }
  *directory = pattern.substr(0, cut);
  *name = pattern.substr(cut);
}

FileTime FileTimeOf(int64_t seconds, int64_t nanoseconds) {
  // 11644473600 seconds from 1601-01-01 to 1970-01-01.
  int64_t ticks = (seconds + 11644473600LL) * 10000000LL + nanoseconds / 100;
  if (ticks < 0) ticks = 0;
  return FileTime{static_cast<uint32_t>(ticks), static_cast<uint32_t>(static_cast<uint64_t>(ticks) >> 32)};
}

bool DescribeEntry(const std::string& hostPath, const std::string& cp932Name, FindData* data) {
  struct statx info;
  if (statx(AT_FDCWD, hostPath.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
  std::memset(data, 0, sizeof *data);
  bool directory = S_ISDIR(info.stx_mode);
  bool writable = (info.stx_mode & 0222) != 0;
  data->dwFileAttributes = directory ? FILE_ATTRIBUTE_DIRECTORY : 0;
  if (!writable) data->dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
  if (data->dwFileAttributes == 0) data->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
  data->ftLastWriteTime = FileTimeOf(info.stx_mtime.tv_sec, info.stx_mtime.tv_nsec);
  data->ftLastAccessTime = FileTimeOf(info.stx_atime.tv_sec, info.stx_atime.tv_nsec);
  data->ftCreationTime = (info.stx_mask & STATX_BTIME)
                             ? FileTimeOf(info.stx_btime.tv_sec, info.stx_btime.tv_nsec)
                             : data->ftLastWriteTime;
  if (!directory) {
    data->nFileSizeLow = static_cast<uint32_t>(info.stx_size);
    data->nFileSizeHigh = static_cast<uint32_t>(info.stx_size >> 32);
  }
  std::memcpy(data->cFileName, cp932Name.c_str(), cp932Name.size() + 1);
  return true;
}

std::string FoldedName(const char* name) {
  std::string folded = name;
  for (char& c : folded) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

bool ListingOrder(const FindData& a, const FindData& b) {
  auto rank = [](const FindData& d) {
    return std::strcmp(d.cFileName, ".") == 0 ? 0 : std::strcmp(d.cFileName, "..") == 0 ? 1 : 2;
  };
  if (rank(a) != rank(b)) return rank(a) < rank(b);
  return FoldedName(a.cFileName) < FoldedName(b.cFileName);
}

}  // namespace

HostHandle FindFirstFileA(const char* pattern, FindData* data) {
  if (!pattern) return INVALID_HANDLE_VALUE;
  std::string directory, namePattern;
  SplitPattern(pattern, &directory, &namePattern);
  if (namePattern.empty()) return INVALID_HANDLE_VALUE;
  if (namePattern == "*.*") namePattern = "*";  // Windows lists every name for *.*
  std::string hostDirectory;
  if (!filesview::HostPathOf(directory.empty() ? "." : directory.c_str(), false, &hostDirectory))
    return INVALID_HANDLE_VALUE;
  DIR* listing = opendir(hostDirectory.c_str());
  if (!listing) return INVALID_HANDLE_VALUE;

  auto* find = new PosixFind{{}, 0};
  bool atRoot = hostDirectory == "/";
  while (dirent* entry = readdir(listing)) {
    std::string hostName = entry->d_name;
    if (atRoot && (hostName == "." || hostName == "..")) continue;
    std::string name;
    if (!filesview::Utf8ToCp932(hostName, &name) || name.size() >= MAX_PATH) continue;
    if (!WildcardMatches(name.c_str(), namePattern.c_str())) continue;
    FindData found;
    std::string hostPath = (atRoot ? "/" : hostDirectory + "/") + hostName;
    if (DescribeEntry(hostPath, name, &found)) find->entries.push_back(found);
  }
  closedir(listing);
  if (find->entries.empty()) {
    delete find;
    return INVALID_HANDLE_VALUE;
  }
  std::sort(find->entries.begin(), find->entries.end(), ListingOrder);
  if (data) *data = find->entries[0];
  find->next = 1;
  return find;
}

int FindNextFileA(HostHandle find, FindData* data) {
  if (!find || find == INVALID_HANDLE_VALUE) return 0;
  auto* listing = static_cast<PosixFind*>(find);
  if (listing->next >= listing->entries.size()) return 0;
  if (data) *data = listing->entries[listing->next];
  ++listing->next;
  return 1;
}

int FindClose(HostHandle find) {
  if (!find || find == INVALID_HANDLE_VALUE) return 0;
  delete static_cast<PosixFind*>(find);
  return 1;
}

}  // namespace port
