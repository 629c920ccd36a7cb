#include "tools/qpa/QpaCommands.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/files/archive/Archive.h"
#include "engine/files/archive/ArchiveMember.h"
#include "engine/files/archive/ArchiveNames.h"
#include "tools/qpa/ArchiveWalker.h"
#include "tools/qpa/HostNames.h"

namespace fs = std::filesystem;

namespace qpa {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "qpa: %s\n", message.c_str());
  return 1;
}

uint64_t FileTimeOf(const fs::path& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return 0;
  int64_t ticks = (static_cast<int64_t>(info.st_mtim.tv_sec) + 11644473600LL) * 10000000LL + info.st_mtim.tv_nsec / 100;
  return ticks > 0 ? static_cast<uint64_t>(ticks) : 0;
}

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>* data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool ReadDirectory(const fs::path& host, SourceDirectory* directory, std::string* error) {
  std::vector<fs::directory_entry> entries;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(host, ec)) entries.push_back(e);
  if (ec) {
    *error = "cannot read directory " + host.string() + ": " + ec.message();
    return false;
  }
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path().filename() < b.path().filename(); });
  for (const fs::directory_entry& e : entries) {
    std::string hostName = e.path().filename().string();
    std::string name;
    if (!Utf8ToCp932(hostName, &name)) {
      *error = "name has no code page 932 form: " + e.path().string();
      return false;
    }
    FileTimes times;
    times.creation = times.lastAccess = times.lastWrite = FileTimeOf(e.path());
    if (e.is_directory()) {
      SourceDirectory sub;
      sub.name = name;
      sub.times = times;
      if (!ReadDirectory(e.path(), &sub, error)) return false;
      directory->directories.push_back(std::move(sub));
    } else if (e.is_regular_file()) {
      SourceFile file;
      file.name = name;
      file.times = times;
      if (!ReadWholeFile(e.path(), &file.data)) {
        *error = "cannot read " + e.path().string();
        return false;
      }
      directory->files.push_back(std::move(file));
    }
  }
  return true;
}

// An archive opened through the engine's reader.
class OpenedArchive {
 public:
  int Open(const std::string& hostPath, const char* keyString) {
    if (!fs::is_regular_file(hostPath)) return Fail("no such archive: " + hostPath);
    std::string enginePath;
    if (!EnginePathOf(hostPath, &enginePath)) return Fail("path has no code page 932 form: " + hostPath);
    if (OpenArchiveFile(&archive, enginePath.c_str(), keyString) != 0)
      return Fail(hostPath + ": not a QPA archive, a damaged one, or keyed with another key");
    return 0;
  }
  ~OpenedArchive() { CloseArchive(&archive); }
  Archive archive{};
};

bool ReadMember(Archive& archive, const ArchiveEntry& entry, std::vector<uint8_t>* data) {
  ArchiveMember member;
  if (OpenArchiveMemberEntry(&member, &archive, entry, 0) != 0) return false;
  data->resize(entry.size);
  uint32_t got = entry.size ? ReadArchiveMember(&member, data->data(), entry.size) : 0;
  CloseArchiveMember(&member);
  return got == entry.size;
}

// A name read from an archive that can be written on the disk: no path
// tricks ("..", separators, a drive) and a UTF-8 form.
bool SafeHostPath(const std::string& archivePath, std::string* hostPath) {
  std::string utf8;
  if (!Cp932ToUtf8(archivePath, &utf8)) return false;
  std::string result;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = utf8.find('\\', start);
    if (end == std::string::npos) end = utf8.size();
    std::string part = utf8.substr(start, end - start);
    if (part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos ||
        part.find(':') != std::string::npos)
      return false;
    result += (result.empty() ? "" : "/") + part;
    start = end + 1;
  }
  *hostPath = result;
  return true;
}

std::string Printable(const std::string& archivePath) {
  std::string utf8;
  return Cp932ToUtf8(archivePath, &utf8) ? utf8 : archivePath;
}

// Whether the engine's lookup can find the entry: the word count, parity and
// search form stored with its name are the ones the name itself makes. A
// writer that got them wrong leaves a member no path can open.
bool NameKeyIsSound(const Archive& archive, const ArchiveEntry& entry) {
  ArchiveName name;
  if (!ReadArchiveName(archive, entry.nameOffset, &name)) return false;
  NameKey key;
  MakeNameKey(name.written, archive.charSet, &key);
  return NameKeyMatches(key, name);
}

void ReportDamagedNameKey(const WalkedEntry& e) {
  std::fprintf(stderr, "qpa: name key does not match the name, the engine cannot find it: %s\n",
               Printable(e.path).c_str());
}

// The first bytes of a long archive path, cut between characters.
std::string StartOfPath(const std::string& path, CharSet charSet) {
  constexpr size_t SHOWN = 60;
  size_t end = 0;
  while (end < path.size() && end < SHOWN)
    end += IsLeadByte(static_cast<uint8_t>(path[end]), charSet) && end + 1 < path.size() ? 2 : 1;
  return path.substr(0, end) + (end < path.size() ? "..." : "");
}

// Why a walk did not reach every entry; the failing exit code.
int WalkFailed(const std::string& archivePath, const Archive& archive, const WalkResult& walk) {
  if (!walk.pathTooLong.empty())
    Fail(archivePath + ": a path is longer than " + std::to_string(MAX_WALKED_PATH) +
         " bytes and was not followed: " + Printable(StartOfPath(walk.pathTooLong, archive.charSet)));
  if (walk.damaged) Fail(archivePath + ": the tables are damaged");
  return 1;
}

}  // namespace

bool ReadSourceTree(const std::string& directory, SourceDirectory* root, std::string* error) {
  if (!fs::is_directory(directory)) {
    *error = "not a directory: " + directory;
    return false;
  }
  return ReadDirectory(directory, root, error);
}

int CreateCommand(const CreateRequest& request) {
  if (fs::exists(request.archivePath) && !request.force)
    return Fail(request.archivePath + " exists (use --force to overwrite it)");
  SourceDirectory root;
  std::string error;
  if (!ReadSourceTree(request.directory, &root, &error)) return Fail(error);
  std::vector<uint8_t> image = BuildArchive(root, request.options, &error);
  if (image.empty()) return Fail(error);
  std::string temporary = request.archivePath + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out) return Fail("cannot write " + temporary);
  }
  std::error_code ec;
  fs::rename(temporary, request.archivePath, ec);
  if (ec) return Fail("cannot write " + request.archivePath + ": " + ec.message());
  std::printf("%s: %zu bytes\n", request.archivePath.c_str(), image.size());
  return 0;
}

int ListCommand(const std::string& archivePath, const char* keyString) {
  OpenedArchive opened;
  if (int failed = opened.Open(archivePath, keyString)) return failed;
  Archive& archive = opened.archive;
  std::printf("version %u, code page %u\n", archive.version, archive.codePage);
  WalkResult walk = WalkArchive(archive, [&](const WalkedEntry& e) {
    if (e.isDirectory)
      std::printf("%10s %10s  %s\\\n", "<dir>", "", Printable(e.path).c_str());
    else if (IsCompressedEntry(archive, e.entry))
      std::printf("%10u %10u  %s\n", e.entry.size, e.entry.packedSize, Printable(e.path).c_str());
    else
      std::printf("%10u %10s  %s\n", e.entry.size, "plain", Printable(e.path).c_str());
    return true;
  });
  return walk.Complete() ? 0 : WalkFailed(archivePath, archive, walk);
}

// Every member the walk reaches is written, even one the engine could not
// find by its name; such members make the extraction fail at the end.
int ExtractCommand(const std::string& archivePath, const std::string& directory, const char* keyString) {
  OpenedArchive opened;
  if (int failed = opened.Open(archivePath, keyString)) return failed;
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (ec) return Fail("cannot create " + directory + ": " + ec.message());
  int result = 0;
  size_t damagedKeys = 0;
  WalkResult walk = WalkArchive(opened.archive, [&](const WalkedEntry& e) {
    if (!NameKeyIsSound(opened.archive, e.entry)) {
      ++damagedKeys;
      ReportDamagedNameKey(e);
    }
    std::string relative;
    if (!SafeHostPath(e.path, &relative)) {
      result = Fail("refusing unsafe name in archive: " + Printable(e.path));
      return false;
    }
    fs::path target = fs::path(directory) / relative;
    if (e.isDirectory) {
      fs::create_directories(target, ec);
      if (ec) result = Fail("cannot create " + target.string());
      return !ec;
    }
    std::vector<uint8_t> data;
    if (!ReadMember(opened.archive, e.entry, &data)) {
      result = Fail("damaged member: " + Printable(e.path));
      return false;
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) {
      result = Fail("cannot write " + target.string());
      return false;
    }
    return true;
  });
  if (result) return result;
  if (!walk.Complete()) return WalkFailed(archivePath, opened.archive, walk);
  if (damagedKeys)
    return Fail(archivePath + ": " + std::to_string(damagedKeys) + " member(s) with a damaged name key");
  return 0;
}

int VerifyCommand(const std::string& archivePath, const char* keyString) {
  OpenedArchive opened;
  if (int failed = opened.Open(archivePath, keyString)) return failed;
  size_t files = 0, directories = 0, damaged = 0, damagedKeys = 0;
  WalkResult walk = WalkArchive(opened.archive, [&](const WalkedEntry& e) {
    if (!NameKeyIsSound(opened.archive, e.entry)) {
      ++damagedKeys;
      ReportDamagedNameKey(e);
    }
    if (e.isDirectory) {
      ++directories;
      return true;
    }
    ++files;
    std::vector<uint8_t> data;
    if (!ReadMember(opened.archive, e.entry, &data)) {
      ++damaged;
      std::fprintf(stderr, "qpa: damaged member: %s\n", Printable(e.path).c_str());
    }
    return true;
  });
  if (!walk.Complete()) return WalkFailed(archivePath, opened.archive, walk);
  if (damaged) Fail(archivePath + ": " + std::to_string(damaged) + " damaged member(s)");
  if (damagedKeys)
    Fail(archivePath + ": " + std::to_string(damagedKeys) + " member(s) with a damaged name key");
  if (damaged || damagedKeys) return 1;
  std::printf("%s: OK, %zu files, %zu directories\n", archivePath.c_str(), files, directories);
  return 0;
}

}  // namespace qpa
